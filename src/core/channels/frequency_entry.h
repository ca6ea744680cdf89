#pragma once
// The frequency entry dialog's rules (TForm3): the key filter of its field, turning the typed text
// into Hz, and in_frq's range check and store.

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/image/channel_record.h"
#include "core/image/working_state.h"

namespace tirna {

inline constexpr std::string_view frequency_title_rx = "Частота приема (МГц)";
inline constexpr std::string_view frequency_title_tx = "Частота передачи (МГц)";
inline constexpr std::string_view out_of_band_text = "Введенная частота вне диапазона!";
inline constexpr std::string_view input_error_caption = "Ошибка ввода";
inline constexpr std::string_view not_a_number_text = "Введенное значение не является числом!";
inline constexpr std::string_view too_many_decimals_text =
    "Введенная частота содержит более шести знаков после запятой!";
inline constexpr int frequency_decimals = 6;
inline constexpr int frequency_field_max_length = 10;

// The character a typed character becomes in the field ('.' becomes ','), or nullopt when it is
// discarded: anything but digits, one comma and backspace (0x08).
std::optional<char> frequency_key_filter(char typed, std::string_view current_text);

// Hz of the field's text: integer megahertz before the first '.' or ',', up to six decimals after
// it. Empty text gives 0. nullopt when the text is not a number (pasted letters, a second
// separator, seven or more decimals).
std::optional<int64_t> parse_frequency_text(std::string_view text);

// Why parse_frequency_text refuses a text, in the dialog's words: more than six decimals (a finer
// frequency than the field takes), or not a number at all.
std::string_view frequency_text_refusal(std::string_view text);

// What the logic needs of the dialog: show it for a side and return its result in Hz (0 when
// cancelled or empty), and show the out-of-band message.
class Frequency_dialog {
 public:
  virtual ~Frequency_dialog() = default;
  virtual int64_t ask_frequency(Side side) = 0;
  virtual void show_out_of_band() = 0;
};

// Asks for a frequency and stores it when it lies within the band limits (both inclusive);
// otherwise tells the user and changes nothing.
void in_frq(Param_image& image, const Working_state& state, int n, Side side,
            Frequency_dialog& dialog);

// The range check and store of in_frq for a known frequency; false when out of band.
bool store_entered_frequency(Param_image& image, const Working_state& state, int n, Side side,
                             int64_t hz);

}  // namespace tirna
