#pragma once
// Exit statuses of tirna520-cli: one meaning each, for every command (core/transfer/exit_status.h).

#include "core/transfer/exit_status.h"

namespace tirna::cli {

using tirna::Exit_status;
using enum tirna::Exit_status;

inline constexpr const char* exit_status_help =
    "Exit status:\n"
    "  0  success\n"
    "  1  a difference was found (comparing commands)\n"
    "  2  usage error\n"
    "  3  file error (or the machine refused the work, e.g. out of memory)\n"
    "  4  the port cannot be opened\n"
    "  5  the radio did not answer, timed out or answered wrongly\n"
    "  6  the radio's band differs from the file's\n"
    "  7  a read-back differs from what was written\n"
    "  8  a value or file content was refused\n"
    "  130  stopped by Ctrl-C (SIGINT, SIGTERM, SIGHUP); a transfer sent \"END\" first\n";

}  // namespace tirna::cli
