#pragma once
// set_rez_prog: opens the port and puts the radio into programming mode, in at most four attempts.

#include "core/link/link_clock.h"
#include "core/link/link_view.h"
#include "core/link/port_opening.h"
#include "core/link/programmer_choice.h"
#include "core/link/radio_identification.h"
#include "core/link/transport.h"

namespace tirna {

// What a transfer needs of the link: the port, the clock, the programmer choice and the place where
// the identification of the last handshake is kept. All owned by the main window (or the command).
struct Link_session {
  Transport& port;
  Link_clock& clock;
  Programmer_choice& programmer;
  Radio_identification& identification;
};

struct Handshake_result {
  enum class Status {
    entered,          // programming mode: the port is open, the identification complete
    no_answer,        // four attempts failed (silence, time-outs, no "P1600")
    port_not_opened,  // the port did not open and the view gave up at once
    link_lost,        // the port failed during the handshake
    stopped,          // the user stopped it
  };
  Status status = Status::no_answer;
  Port_opening opening;
  bool refused_identification = false;  // some attempt got 8 bytes without "P1600"
  bool entered() const { return status == Status::entered; }
};

// On `entered` the port is open and session.identification holds the radio's answer. On any other
// result the port may still be open; the caller closes it. Reports nothing itself.
Handshake_result set_rez_prog(Link_session& session, Link_view& view);

}  // namespace tirna
