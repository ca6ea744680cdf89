#include "core/transfer/transfer_runner.h"

#include "core/link/byte_wait.h"
#include "core/link/protocol_bytes.h"

namespace tirna {
namespace {

// The header a packet of address A carries: 'W', A high, A low, 8.
Packet expected_header(int k) {
  Packet header{};
  const int a = packet_address(k);
  header[0] = packet_header_w;
  header[1] = static_cast<uint8_t>(a >> 8);
  header[2] = static_cast<uint8_t>(a & 0xFF);
  header[3] = packet_data_size;
  return header;
}

// The packet phase: one deadline for all packets, and the progress after each.
class Packet_phase {
 public:
  Packet_phase(Link_session& session, Transfer_view& view, std::chrono::milliseconds timeout,
               int packets)
      : port_(session.port),
        clock_(session.clock),
        view_(view),
        deadline_(session.clock.now() + timeout),
        progress_{0, packets} {}

  // Sends the read request for packet k and takes the 12-byte reply, then steps the progress. A
  // reply that does not begin with the header of packet k ends at its first wrong byte: a byte
  // lost or added on the line would shift every later packet.
  Link_status read_packet(int k, Packet& reply) {
    if (port_.send(read_request(k)) == Io_status::failed) return Link_status::link_lost;
    const Packet header = expected_header(k);
    for (int i = 0; i < packet_size; ++i) {
      uint8_t b = 0;
      if (const Link_status r = wait_byte(port_, clock_, deadline_, b); r != Link_status::ok) {
        return r;
      }
      if (i < 4 && b != header[i]) return Link_status::bad_reply;
      reply[i] = b;
    }
    ++done_;
    progress_.step();
    view_.update_progress(progress_);
    return Link_status::ok;
  }

  // Sends the frame, steps the progress at once, then waits for 0x06 (other bytes are dropped).
  Link_status write_packet(const Packet& frame) {
    if (port_.send(frame) == Io_status::failed) return Link_status::link_lost;
    progress_.step();
    view_.update_progress(progress_);
    const Link_status r = wait_for_byte(port_, clock_, deadline_, ack);
    if (r == Link_status::ok) ++done_;
    return r;
  }

  int packets_done() const { return done_; }

 private:
  Transport& port_;
  Link_clock& clock_;
  Transfer_view& view_;
  Link_time deadline_;
  Progress progress_;
  int done_ = 0;
};

// The failure ending, in its order: the message, "END" when asked for or when the user stopped
// the transfer (the radio must leave programming mode), the port closed, the progress window
// closed, the main window enabled again.
Transfer_result failure_ending(Transfer_result result, Link_status status, const Message& message,
                               Link_session& s, Transfer_view& view, bool send_end = false) {
  result.status = status;
  view.show_message(message);
  if (send_end || status == Link_status::stopped) send_closing_string(s.port);
  s.port.close();
  view.close_progress();
  view.razblok_btn();
  return result;
}

}  // namespace

Transfer_result run_transfer(const Transfer_plan& plan, Workspace& ws, Link_session& s,
                             Transfer_view& view) {
  Transfer_result result;
  view.blok_btn();
  if (plan.first) plan.first(ws);
  if (s.programmer.usb()) {
    view.stop_usb_polling();
    if (plan.refresh_on_usb) view.print_wind_blok();
    view.razblok_btn();
    result.status = Link_status::usb_programmer;
    return result;
  }
  if (plan.refusal) {
    if (const auto refusal = plan.refusal(ws)) {
      result.status = refusal->status;
      view.show_message(refusal->message);
      view.razblok_btn();
      return result;
    }
  }

  result.handshake = set_rez_prog(s, view);
  if (!result.handshake.entered()) {
    return failure_ending(result, result.handshake.status, plan.failed, s, view,
                          plan.end_after_failed_handshake);
  }
  if (plan.radio) {
    if (const auto refusal = plan.radio(ws, *s.identification)) {
      return failure_ending(result, refusal->status, refusal->message, s, view);
    }
  }

  const int count = static_cast<int>(plan.packets.size());
  view.show_progress(plan.progress.caption, plan.progress.label, count);
  Packet_phase phase(s, view, plan.timeout, count);
  if (plan.armed) plan.armed(ws);
  Param_image scratch = plan.direction == Transfer_plan::reading ? ws.image : Param_image{};
  for (const int k : plan.packets) {
    Link_status step = Link_status::ok;
    if (plan.direction == Transfer_plan::writing) {
      if (plan.before_frame) plan.before_frame(ws, k);
      step = phase.write_packet(ws.image.packet(k));
    } else {
      Packet reply{};
      step = phase.read_packet(k, reply);
      if (step == Link_status::ok) scratch.set_packet(k, reply);
    }
    result.packets = phase.packets_done();
    if (step != Link_status::ok) return failure_ending(result, step, plan.failed, s, view);
  }
  send_closing_string(s.port);
  view.close_progress();
  s.port.close();

  if (plan.taken) plan.taken(ws, scratch, *s.identification);
  if (plan.refresh_when_done) view.print_wind_blok();
  if (plan.done && !plan.done_after_enabling) view.show_message(*plan.done);
  view.razblok_btn();
  if (plan.done && plan.done_after_enabling) view.show_message(*plan.done);
  return result;
}

bool headers_intact(const Param_image& image, std::span<const int> packets) {
  for (int k : packets) {
    if (!packet_header_matches(image.packet(k), k)) return false;
  }
  return true;
}

void send_closing_string(Transport& port) {
  port.send(closing_string);
}

}  // namespace tirna
