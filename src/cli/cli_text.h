#pragma once
// Small text helpers of the command line's messages and tables. Texts are UTF-8.

#include <cstddef>
#include <string>
#include <string_view>

#include "core/text/text_width.h"

namespace tirna::cli {

// The text in double quotes, with quotes, backslashes and control characters escaped as in JSON,
// so that leading blanks, empty texts and line breaks stay visible.
std::string in_quotes(std::string_view text);

// A frequency in Hz as megahertz with six decimals: "146,000000" as the window writes it, or with
// another decimal mark ("146.000000" as CSV tables write it).
std::string megahertz(long long hz, char decimal_mark = ',');

}  // namespace tirna::cli
