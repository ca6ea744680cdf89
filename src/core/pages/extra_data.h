#pragma once
// The additional data: model text, factory number, time of the last programming and the free
// text, as the page shows them, and the two operations that fill the image before a write.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/image/param_image.h"

namespace tirna {

// "Тирна-" and the model text without its 0x00 and 0xFF bytes (UTF-8).
std::string model_label(const Param_image& image);
// The 7 factory-number characters up to the first 0x00 (UTF-8).
std::string factory_number_label(const Param_image& image);
// "DD-MM-YYYY   hh:mm:ss" from the stored characters, as they are, up to the first 0x00 (UTF-8).
std::string time_label(const Param_image& image);
// The free text as the box shows it (UTF-8, line breaks as "\n"). 0x00 bytes are skipped. Only the
// run of 0xFF bytes that reaches the end of the area is erased memory; any other 0xFF is the
// letter "я".
std::string free_text(const Param_image& image);

struct Local_time {
  int year, month, day, hour, minute, second;
};
using Clock = std::function<Local_time()>;
Local_time system_local_time();

// Stamps the date and time into 0x3C0..0x3CD as ASCII digits.
void set_time(Param_image& image, const Clock& clock = system_local_time);

// Copies the box text, given as code-page-1251 bytes with CR LF line breaks, into 0x300..0x3BF:
// the first 192 bytes, the rest filled with 0x00.
void set_dop_dat(Param_image& image, std::string_view cp1251_text);

// Every line break as "\n": CR LF, a lone CR and a lone LF each are one line break, as a text box
// takes them.
std::string with_line_feeds(std::string_view text);

// The box text (UTF-8; line breaks as with_line_feeds takes them) as set_dop_dat takes it, each
// line break CR LF; nullopt when a character has no code-page-1251 byte.
std::optional<std::string> free_text_bytes(std::string_view utf8_text);

}  // namespace tirna
