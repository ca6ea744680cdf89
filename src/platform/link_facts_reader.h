#pragma once
// Reads the facts of the programming link (core/doctor/link_facts.h) from the machine: sysfs for
// the ttys, their drivers and USB adapters and the latency timer, /dev for the nodes and the
// /dev/serial/by-id names, /proc for the process's identity and groups and the processes that hold
// a port, /etc for the user and group database, udev's database and rules, the lock files.
//
// All of it is read below one root folder: "/" on a machine. The environment variable
// TIRNA520_FACTS_ROOT names another, a fake tree, and is meant for tests only.

#include <string>
#include <vector>

#include "core/doctor/link_facts.h"

namespace tirna {

// "" for the machine's own root, else the folder TIRNA520_FACTS_ROOT names.
std::string facts_root();

struct Port_request {
  std::string device;
  std::string origin;  // why it is looked at: "--port", "COM1 (...)"
};

// The facts for the ports asked for and, with add_found, for every serial port the system has
// (USB adapters, modems, built-in ports with a UART); a device is listed once, by its first name.
// root: as facts_root() gives it. On the machine's own root the latency of a USB adapter is asked
// for low latency, as every transfer asks (opening the port for a moment), so that the line's
// check says what the transfers get.
Machine_facts read_link_facts(const std::string& root, const std::vector<Port_request>& ports,
                              bool add_found);

}  // namespace tirna
