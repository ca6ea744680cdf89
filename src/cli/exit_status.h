#pragma once
// Exit statuses of tirna520-cli: one meaning each, for every command.

namespace tirna::cli {

enum Exit_status : int {
  exit_ok = 0,
  exit_differs = 1,        // a comparing command found a difference
  exit_usage = 2,          // the command line is wrong
  exit_file_error = 3,     // a file could not be read or written
  exit_port = 4,           // the port cannot be opened
  exit_no_answer = 5,      // the radio did not answer, timed out or answered wrongly
  exit_band_mismatch = 6,  // the radio's band differs from the file's
  exit_readback = 7,       // a read-back differs from what was written
  exit_refused = 8,        // a value or file content was refused
  exit_interrupted = 130,  // Ctrl-C (SIGINT, SIGTERM, SIGHUP) stopped a transfer
};

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
