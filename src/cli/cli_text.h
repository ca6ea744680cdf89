#pragma once
// Small text helpers of the command line's messages and tables. Texts are UTF-8.

#include <cstddef>
#include <string>
#include <string_view>

#include "core/channels/channel_check.h"
#include "core/text/format.h"

namespace tirna::cli {

// The text in double quotes, with quotes, backslashes and control characters escaped as in JSON,
// so that leading blanks, empty texts and line breaks stay visible.
std::string in_quotes(std::string_view text);

// What the check of every channel found: "channel 3: the receive frequency 500.000000 MHz is
// outside the band 146.000000 to 175.000000 MHz".
std::string channel_fault_text(const Channel_fault& fault);

}  // namespace tirna::cli
