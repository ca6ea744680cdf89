#pragma once
// How a transfer ended, as a value: the window has already shown its message by then; the command
// line reads its exit status from it.

#include "core/link/handshake.h"
#include "core/link/link_status.h"

namespace tirna {

struct Transfer_result {
  Link_status status = Link_status::ok;
  Handshake_result handshake;  // as set_rez_prog left it (default when it did not run)
  int packets = 0;             // packets completed in the packet phase
  bool ok() const { return status == Link_status::ok; }
};

}  // namespace tirna
