#pragma once
// The exit statuses of the command line, one meaning each, and the one a transfer's ending gives:
// the command line ends with it, and the fleet journal records it for each radio.

#include "core/transfer/transfer_result.h"

namespace tirna {

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

constexpr Exit_status exit_status_of(Transfer_status status) {
  switch (status) {
    case Transfer_status::completed:
      return exit_ok;
    case Transfer_status::port_not_opened:
      return exit_port;
    case Transfer_status::corrupt_headers:
    case Transfer_status::refused_channels:
      return exit_refused;
    case Transfer_status::band_mismatch:
      return exit_band_mismatch;
    case Transfer_status::stopped:
      return exit_interrupted;
    case Transfer_status::usb_programmer:
    case Transfer_status::no_answer:
    case Transfer_status::timed_out:
    case Transfer_status::bad_reply:
    case Transfer_status::link_lost:
      break;
  }
  return exit_no_answer;
}

}  // namespace tirna
