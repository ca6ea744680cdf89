// list-ports: the serial ports of this machine and whether the programmer is among them; doctor
// (doctor_command.cpp) beside it.

#include <iostream>

#include "cli/commands.h"
#include "platform/serial_port_list.h"

namespace tirna::cli {

void add_port_commands(CLI::App& app) {
  auto* cmd = app.add_subcommand(
      "list-ports", "List the serial ports: device, description, USB id, programmer, access");
  cmd->footer(
      "The USB programmer is the port whose USB product string is \"USB-Programmer K-731M\". MAY "
      "OPEN tells\nwhether this user may read and write the port, and what to do when not "
      "(usually: join the\ngroup dialout). Pseudo-terminals are not listed.");
  cmd->callback([] { std::cout << port_table(serial_ports()); });
  add_doctor_command(app);
}

}  // namespace tirna::cli
