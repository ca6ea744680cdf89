#pragma once
// The formatting helpers of the whole program, once each: frequencies in megahertz, bytes in hex,
// the characters of UTF-8 texts and their widths in printed columns.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tirna {

// A frequency in Hz as megahertz with six decimals: "160,012500" as the window writes it, or with
// another decimal mark ("160.012500" as CSV tables and messages write it). A negative value keeps
// its sign ("-0.600000").
std::string megahertz_text(long long hz, char decimal_mark = ',');

// A number with a point and a fixed count of decimals, padded with blanks on the left to `width`:
// "   14.965". Whatever the locale, since programs read these (traces, logs, CSV cells).
std::string fixed_point_text(double value, int decimals, std::size_t width = 0);

// "0C"; and bytes as "00 64 0C".
std::string hex_byte(uint8_t b);
std::string hex_bytes(std::span<const uint8_t> bytes);

// The characters (code points) of a UTF-8 text, each as its bytes.
std::vector<std::string_view> utf8_characters(std::string_view text);

// The number of characters of a UTF-8 text: its width on a terminal for the scripts we print.
std::size_t display_width(std::string_view text);

// The text padded with blanks to a display width (never cut).
std::string padded(std::string_view text, std::size_t width);

// The text without the blanks and tabs around it.
std::string trimmed(std::string_view text);

}  // namespace tirna
