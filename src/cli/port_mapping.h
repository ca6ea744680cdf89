#pragma once
// Which device a COMn of --port opens on the command line, and which file said so. The program
// folder is the one named by --program-folder, else the current folder; its config.ini is taken
// only when nobody but the user (or root) could have put it there: the folder the user's own and
// writable by nobody else, the file the user's or root's and writable by nobody else. Otherwise a
// config.ini that another user left in a shared folder could send the port to a device of theirs.

#include <optional>
#include <string>

#include "platform/ini_file.h"

namespace tirna::cli {

struct Port_mapping {
  std::string device;
  std::string source;  // which file (or rule) gave the device, for the command's first line
};

// The program folder's config.ini, when it may be used and can be read; else why not, as the
// first line of a link command says it.
struct Program_config {
  std::string file;
  std::optional<Ini_file> ini;
  std::string not_used;
};
Program_config program_config(const std::string& config_folder, bool named);

// config_folder: the program folder; named: whether --program-folder named it (the user chose it,
// so it is trusted as it is).
Port_mapping map_com_port(int port_number, const std::string& config_folder, bool named);

}  // namespace tirna::cli
