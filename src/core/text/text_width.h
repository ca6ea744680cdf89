#pragma once
// Widths of UTF-8 texts in the columns that the command line prints.

#include <cstddef>
#include <string>
#include <string_view>

namespace tirna {

// Characters (code points) of a UTF-8 text: its width on a terminal for the scripts we print.
std::size_t display_width(std::string_view text);

// The text padded with blanks to a display width (never cut).
std::string padded(std::string_view text, std::size_t width);

}  // namespace tirna
