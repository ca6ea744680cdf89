#pragma once
// com_open: opens the COM port of the programmer choice; when it does not open, asks whether to
// choose another one and tries again for as long as the user picks a different port.

#include <optional>

#include "core/link/link_view.h"
#include "core/link/programmer_choice.h"
#include "core/link/transport.h"

namespace tirna {

struct Port_opening {
  bool opened = false;
  bool given_up = false;                 // the view answered give_up
  std::optional<Open_error> last_error;  // the last failure to open, if any
};

// The question shown when port number n does not open.
Message port_busy_question(int port_number);

// Leaves the port open, or closed when the user declined (or confirmed the same port again).
Port_opening com_open(Transport& port, Programmer_choice& choice, Link_view& view);

}  // namespace tirna
