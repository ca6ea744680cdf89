#pragma once
// The programmer type and COM port index the main window keeps for the whole run (config.ini at
// start and exit, the programmer dialog in between).

#include <cstdint>

namespace tirna {

struct Programmer_choice {
  int32_t type = 1;        // 0: USB programmer; any other value: COM programmer
  int32_t port_index = 0;  // the COM port number minus 1
  bool usb() const { return type == 0; }
  int port_number() const { return port_index + 1; }
};

}  // namespace tirna
