#pragma once
// set_rez_prog: opens the port and puts the radio into programming mode, in at most four attempts.

#include "core/link/link_clock.h"
#include "core/link/link_status.h"
#include "core/link/link_view.h"
#include "core/link/port_opening.h"
#include "core/link/programmer_choice.h"
#include "core/link/radio_identification.h"
#include "core/link/transport.h"

#include <optional>
#include <vector>

namespace tirna {

// What a transfer needs of the link: the port, the clock, the programmer choice and the place where
// the identification of the last handshake is kept (nothing unless that handshake entered
// programming mode). All owned by the main window (or the command).
struct Link_session {
  Transport& port;
  Link_clock& clock;
  Programmer_choice& programmer;
  std::optional<Radio_identification>& identification;
};

struct Handshake_result {
  // ok: programming mode, the port open, the identification complete; no_answer: four attempts
  // failed (silence, time-outs, answers of another layout); port_not_opened: the view gave up at
  // once; link_lost: the port failed; stopped: the user stopped it.
  Link_status status = Link_status::no_answer;
  Port_opening opening;
  bool refused_identification = false;  // some attempt got 8 bytes not in the layout
  std::vector<uint8_t> refused_answer;   // the 8 bytes of the last such attempt
  bool entered() const { return status == Link_status::ok; }
};

// On ok the port is open and session.identification holds the radio's answer; on any other
// result it holds nothing, and the port may still be open: the caller closes it. An attempt whose
// eight bytes are not an identification in its layout (a stray byte on the line shifts them) is a
// failed attempt, followed at once by the next. Reports nothing itself.
Handshake_result set_rez_prog(Link_session& session, Link_view& view);

}  // namespace tirna
