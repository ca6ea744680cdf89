#pragma once
// The checks of the programming link, each a verdict and one sentence: the device, the access to
// it, who holds it and the line's latency, decided from the machine's facts alone; the radio's
// check is in radio_probe.h.

#include <string>

#include "core/doctor/link_facts.h"

namespace tirna {

enum class Check_step { device, access, holders, line, radio };
enum class Check_mark { ok, warning, broken, not_run };

// What is broken (or, for a warning, what may break): each has its own exit status.
enum class Link_fault {
  none,
  no_device,               // no such port, an adapter without its tty, an erased chip
  no_access,               // this user may not open the device
  held,                    // another program holds it
  port_not_opened,         // it did not open for another reason
  silent,                  // nothing came back
  echo,                    // our own bytes came back
  no_acknowledgement,      // bytes came back, but no radio's answer
  refused,                 // a negative acknowledgement
  foreign_identification,  // an identification of another layout
  other_band,              // a radio of the other band than the file's, or of neither
  no_reads,                // programming mode entered, then the radio or the port failed
  stopped,                 // the user stopped the check
};

struct Link_check {
  Check_step step = Check_step::device;
  Check_mark mark = Check_mark::ok;
  std::string line;  // what was found, one sentence
  std::string fix;   // for a warning or a fault: what it means and what to do, one sentence
  Link_fault fault = Link_fault::none;
};

// "Устройство", "Доступ", ...
std::string step_name(Check_step step);

// The port's device: which it is, its driver and USB identity; a missing one, an adapter without
// its tty (no driver bound, brltty took it, a chip whose product id was erased).
Link_check check_device(const Port_facts& port, const Machine_facts& machine);
// Whether this process may open the device, by the kernel's rules (owner, ACL, groups, others),
// and else which group to join or whether a new login is all it takes.
Link_check check_access(const Port_facts& port, const Machine_facts& machine);
// Another process with the device open or its lock file; ModemManager and brltty in wait for it.
Link_check check_holders(const Port_facts& port, const Machine_facts& machine);
// The adapter's latency timer and what a read and a write cost with it.
Link_check check_line(const Port_facts& port);

// "crw-rw----+" as ls shows a node.
std::string mode_text(const Device_node& node);

}  // namespace tirna
