#pragma once
// The diagnosis of the whole programming link, port by port: the device, the access to it, who
// holds it, the line and the radio, in this order, each with its verdict and sentence; after the
// first broken one the rest are not run. The verdict names the first broken link of the port that
// came furthest (or the working link) and its fix in one sentence, and gives the exit status.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/doctor/link_checks.h"
#include "core/doctor/radio_probe.h"
#include "core/transfer/exit_status.h"

namespace tirna {

struct Port_diagnosis {
  std::string device;  // empty: no port at all
  std::string origin;
  std::vector<Link_check> checks;  // the five steps in order
  std::string trace;               // the handshake's trace, when the radio was tried
  bool works() const;
};

struct Link_diagnosis {
  std::vector<Port_diagnosis> ports;
  std::string verdict;  // one sentence
  Link_fault fault = Link_fault::none;
  Check_mark mark = Check_mark::ok;  // ok, warning (the link works) or broken
  Exit_status status() const;
};

// Tries the radio on a port whose first four checks found nothing broken, until one port works.
using Radio_prober = std::function<Radio_probe(const Port_facts&)>;
// Called after each port's checks, with the diagnosis so far (the window shows it growing).
using Diagnosis_progress = std::function<void(const Link_diagnosis&)>;

Link_diagnosis diagnose_link(const Machine_facts& machine, const Radio_prober& prober,
                             std::optional<int> file_band_index,
                             const Diagnosis_progress& progress = {});

Exit_status exit_status_of(Link_fault fault);

// "норма", "внимание", "сбой", "не проверялось".
std::string mark_name(Check_mark mark);

// The checks as the command line prints them and the bundle keeps them:
//   Порт /dev/ttyUSB0 (--port)
//     [норма]          Устройство: /dev/ttyUSB0: драйвер ftdi_sio, ...
//   Итог: ...
std::string diagnosis_text(const Link_diagnosis& diagnosis);
// Its parts: one port's lines, and the verdict's.
std::string port_text(const Port_diagnosis& port);
std::string verdict_text(const Link_diagnosis& diagnosis);

}  // namespace tirna
