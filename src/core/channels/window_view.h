#pragma once
// What the main window shows, as plain data: every cell, box, list selection and label of the
// three pages. print_wind_blok rewrites it from the image; the window draws it; the report and
// `tirna520-cli show` read it. Texts are UTF-8.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/image/channel_record.h"
#include "core/image/working_state.h"
#include "core/pages/settings.h"

namespace tirna {

inline constexpr int table_columns = 9;  // column 0 holds the row label

struct Channel_row_view {
  std::array<std::string, table_columns> cells;  // cells[0] is " 1" .. "16"
  bool off_ticked = false;                       // CheckBox n, "Канал выключен"
  bool tx_inhibit_ticked = false;                // CheckBox 20+n, "Запрет передачи"
  bool tx_box_enabled = true;
};

struct Settings_view {
  std::array<std::optional<int>, settings_count> selection{};
  Squelch_form squelch_form = Squelch_form::long_form;
  std::string text(int slot) const {
    return setting_text(slot, squelch_form_of(slot), selection[slot]);
  }
  Squelch_form squelch_form_of(int slot) const {
    return slot == squelch_key_slot ? squelch_form : Squelch_form::long_form;
  }
};

struct Extra_view {
  std::string model;
  std::string factory_number;
  std::string time;
  std::string free_text;
};

struct Window_view {
  Window_view();  // as a freshly started window has it, before the first refresh
  std::array<Channel_row_view, channel_count> rows;
  int band_selector = 0;  // the selected item of the band list
  Settings_view settings;
  Extra_view extra;
};

// A flag column of the table (columns 5 to 8): the bit it shows and its two cell texts, leading
// blanks included. Columns 5 and 8 belong to the transmitter.
struct Flag_column {
  int column;
  Channel_flag flag;
  std::string_view set_text;    // shown while the bit is 1
  std::string_view clear_text;  // shown while the bit is 0
  bool transmit;
};
const Flag_column& flag_column(int column);  // 5..8

// The row label of channel n: " 1" .. " 9", "10" .. "16".
std::string channel_label(int n);

// The one refresh: channels, then settings, then additional data. The transmit-inhibit box of a
// channel that is off keeps the tick it had.
void print_wind_blok(Window_view& view, const Param_image& image, const Working_state& state);

// The channel part alone, for one row (pr_kan_en / pr_tx_en and the cell texts).
void refresh_channel_row(Channel_row_view& row, const Param_image& image, int n,
                         uint8_t coding_version);

}  // namespace tirna
