#pragma once
// How anything on the link ends, from the wait for one byte to a whole transfer: one status at
// every level, from which the command line's exit status and the fleet journal's are read
// (exit_status_of) and each transfer chooses its ending.

namespace tirna {

enum class Link_status {
  ok,                // the byte came, programming mode was entered, the transfer completed
  timed_out,         // a deadline passed first
  bad_reply,         // an answer of another form: a read reply without the header of its
                     // address, an identification of another layout
  link_lost,         // the port failed (the radio's side hung up, the device went away)
  stopped,           // the user stopped it (Ctrl-C, a closed output); a transfer sent "END"
  no_answer,         // the handshake's four attempts failed
  port_not_opened,   // the port did not open and the view gave up at once
  band_mismatch,     // the radio is of the other band, or of neither
  usb_programmer,    // programmer type USB: no exchange took place
  corrupt_headers,   // a packet to be written has the header of another address; port not opened
  refused_channels,  // a channel to be written fails the check of every channel; port not opened
};

}  // namespace tirna
