#pragma once
// The exit statuses of the command line, one meaning each: the one table the command line's help
// and the README's table are made from, and the status a link ending gives (the command line ends
// with it, and the fleet journal records it for each radio).

#include <array>
#include <string_view>

#include "core/link/link_status.h"

namespace tirna {

enum Exit_status : int {
  exit_ok = 0,
  exit_differs = 1,
  exit_usage = 2,
  exit_file_error = 3,
  exit_port = 4,
  exit_no_answer = 5,
  exit_band_mismatch = 6,
  exit_readback = 7,
  exit_refused = 8,
  exit_journal_broken = 9,
  exit_journal_not_written = 10,
  // doctor: the first broken link of the programming link
  exit_no_device = 20,
  exit_no_access = 21,
  exit_port_held = 22,
  exit_radio_silent = 23,
  exit_cable_echoes = 24,
  exit_no_acknowledgement = 25,
  exit_radio_refused = 26,
  exit_foreign_identification = 27,
  exit_interrupted = 130,
};

struct Exit_status_meaning {
  Exit_status status;
  std::string_view meaning;
};

inline constexpr std::array<Exit_status_meaning, 20> exit_status_table = {{
    {exit_ok, "success"},
    {exit_differs, "a difference was found (comparing commands)"},
    {exit_usage, "usage error"},
    {exit_file_error,
     "file error (the error text, followed by \".\", on stderr), or the machine refused the work "
     "(out of memory, a fault of the program)"},
    {exit_port, "the port cannot be opened"},
    {exit_no_answer, "the radio did not answer, timed out or answered wrongly"},
    {exit_band_mismatch, "the radio's band differs from the file's"},
    {exit_readback, "a read-back differs from what was written"},
    {exit_refused, "a value or file content was refused"},
    {exit_journal_broken,
     "journal verify: the journal's chain is broken (a row changed, removed, moved or cut short)"},
    {exit_journal_not_written,
     "the transfer completed, but its row could not be added to the programming journal"},
    {exit_no_device,
     "doctor: no such port, a USB adapter without its port, or a chip whose identity was erased"},
    {exit_no_access, "doctor: this user may not open the port"},
    {exit_port_held, "doctor: another program holds the port"},
    {exit_radio_silent, "doctor: nothing came back from the radio"},
    {exit_cable_echoes, "doctor: the cable echoes the bytes sent"},
    {exit_no_acknowledgement, "doctor: bytes came back, but no acknowledgement"},
    {exit_radio_refused, "doctor: the radio answered with a negative acknowledgement"},
    {exit_foreign_identification, "doctor: an identification of another layout"},
    {exit_interrupted,
     "Ctrl-C (SIGINT, SIGTERM, SIGHUP) or a closed output (SIGPIPE) stopped the command; a "
     "transfer sent \"END\" first"},
}};

constexpr Exit_status exit_status_of(Link_status status) {
  switch (status) {
    case Link_status::ok:
      return exit_ok;
    case Link_status::port_not_opened:
      return exit_port;
    case Link_status::corrupt_headers:
    case Link_status::refused_channels:
      return exit_refused;
    case Link_status::band_mismatch:
      return exit_band_mismatch;
    case Link_status::stopped:
      return exit_interrupted;
    case Link_status::usb_programmer:
    case Link_status::no_answer:
    case Link_status::timed_out:
    case Link_status::bad_reply:
    case Link_status::link_lost:
      break;
  }
  return exit_no_answer;
}

}  // namespace tirna
