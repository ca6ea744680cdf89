#pragma once
// Small text helpers of the command line's messages and tables. Texts are UTF-8.

#include <cstddef>
#include <string>
#include <string_view>

#include "core/text/format.h"

namespace tirna::cli {

// The text in double quotes, with quotes, backslashes and control characters escaped as in JSON,
// so that leading blanks, empty texts and line breaks stay visible.
std::string in_quotes(std::string_view text);


}  // namespace tirna::cli
