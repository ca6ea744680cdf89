#pragma once
// Which device a COMn of --port opens on the command line, and which file said so. The program
// folder is the one named by --program-folder, else the current folder; its config.ini is taken
// only when nobody but the user (or root) could have put it there: the folder the user's own and
// writable by nobody else, the file the user's or root's and writable by nobody else. Otherwise a
// config.ini that another user left in a shared folder could send the port to a device of theirs.

#include <string>

namespace tirna::cli {

struct Port_mapping {
  std::string device;
  std::string source;  // which file (or rule) gave the device, for the command's first line
};

// config_folder: the program folder; named: whether --program-folder named it (the user chose it,
// so it is trusted as it is).
Port_mapping map_com_port(int port_number, const std::string& config_folder, bool named);

}  // namespace tirna::cli
