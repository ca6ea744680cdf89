#pragma once
// How a transfer ended, as a value: the window has already shown its message by then; the command
// line turns it into its exit status.

#include "core/link/handshake.h"

namespace tirna {

enum class Transfer_status {
  completed,
  usb_programmer,   // programmer type USB: no exchange took place
  corrupt_headers,  // a packet to be written has the header of another address; port not opened
  refused_channels,  // a channel to be written fails the check of every channel; port not opened
  port_not_opened,  // the port did not open and the view gave up at once
  no_answer,        // the handshake failed
  band_mismatch,    // the radio is of the other band
  timed_out,        // the deadline of the packet phase passed
  bad_reply,        // a read reply did not carry the header of the requested address
  link_lost,        // the port failed (the radio's side hung up, the device went away)
  stopped,          // the user stopped the transfer (Ctrl-C): "END" was sent, the port closed
};

struct Transfer_result {
  Transfer_status status = Transfer_status::completed;
  Handshake_result handshake;  // as set_rez_prog left it (default when it did not run)
  int packets = 0;             // packets completed in the packet phase
  bool ok() const { return status == Transfer_status::completed; }
};

}  // namespace tirna
