#pragma once
// The packet phase shared by the transfers: one deadline for all packets, read requests and their
// replies, write frames and their acknowledgements, and the progress after each packet.

#include <chrono>
#include <span>

#include "core/image/param_image.h"
#include "core/link/handshake.h"
#include "core/transfer/transfer_result.h"
#include "core/transfer/transfer_view.h"

namespace tirna {

enum class Step { ok, timed_out, bad_reply, link_lost, stopped };
Transfer_status status_of(Step step);
// How a transfer ends when the handshake did not enter programming mode.
Transfer_status status_of(const Handshake_result& handshake);

class Packet_phase {
 public:
  // Arms the deadline: every packet of the phase must be done within `timeout` from now.
  Packet_phase(Link_session& session, Transfer_view& view, std::chrono::milliseconds timeout,
               int packets);

  // Sends the read request for packet k and takes the 12-byte reply into `reply`, then steps the
  // progress. A reply that does not begin with the header of packet k ends at its first wrong byte:
  // a byte lost or added on the line would shift every later packet.
  Step read_packet(int k, Packet& reply);

  // Sends the frame, steps the progress at once, then waits for 0x06 (other bytes are dropped).
  Step write_packet(const Packet& frame);

  int packets_done() const { return done_; }

 private:
  Transport& port_;
  Link_clock& clock_;
  Transfer_view& view_;
  Link_time deadline_;
  Progress progress_;
  int done_ = 0;
};

// True when each of the packets carries the header of its own address.
bool headers_intact(const Param_image& image, std::span<const int> packets);

// "END": the radio leaves programming mode.
void send_closing_string(Transport& port);

// A transfer's failure ending, in its order: the message, "END" when asked for or when the user
// stopped the transfer (the radio must leave programming mode), the port closed, the progress
// window closed, the main window enabled again.
Transfer_result failure_ending(Transfer_result result, Transfer_status status,
                               const Message& message, Link_session& s, Transfer_view& view,
                               bool send_end = false);

}  // namespace tirna
