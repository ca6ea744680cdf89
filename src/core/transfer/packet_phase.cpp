#include "core/transfer/packet_phase.h"

#include "core/link/byte_wait.h"
#include "core/link/protocol_bytes.h"

namespace tirna {

Transfer_status status_of(Step step) {
  switch (step) {
    case Step::ok:
      return Transfer_status::completed;
    case Step::timed_out:
      return Transfer_status::timed_out;
    case Step::bad_reply:
      return Transfer_status::bad_reply;
    case Step::link_lost:
      return Transfer_status::link_lost;
    case Step::stopped:
      return Transfer_status::stopped;
  }
  return Transfer_status::link_lost;
}

Transfer_status status_of(const Handshake_result& handshake) {
  switch (handshake.status) {
    case Handshake_result::Status::entered:
      return Transfer_status::completed;
    case Handshake_result::Status::port_not_opened:
      return Transfer_status::port_not_opened;
    case Handshake_result::Status::link_lost:
      return Transfer_status::link_lost;
    case Handshake_result::Status::stopped:
      return Transfer_status::stopped;
    case Handshake_result::Status::no_answer:
      break;
  }
  return Transfer_status::no_answer;
}

namespace {

Step step_of(Wait_result r) {
  if (r == Wait_result::stopped) return Step::stopped;
  return r == Wait_result::link_lost ? Step::link_lost : Step::timed_out;
}

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

}  // namespace

Packet_phase::Packet_phase(Link_session& session, Transfer_view& view,
                           std::chrono::milliseconds timeout, int packets)
    : port_(session.port),
      clock_(session.clock),
      view_(view),
      deadline_(session.clock.now() + timeout),
      progress_{0, packets} {}

Step Packet_phase::read_packet(int k, Packet& reply) {
  if (port_.send(read_request(k)) == Io_status::failed) return Step::link_lost;
  const Packet header = expected_header(k);
  for (int i = 0; i < packet_size; ++i) {
    uint8_t b = 0;
    if (auto r = wait_byte(port_, clock_, deadline_, b); r != Wait_result::byte) return step_of(r);
    if (i < 4 && b != header[i]) return Step::bad_reply;
    reply[i] = b;
  }
  ++done_;
  progress_.step();
  view_.update_progress(progress_);
  return Step::ok;
}

Step Packet_phase::write_packet(const Packet& frame) {
  if (port_.send(frame) == Io_status::failed) return Step::link_lost;
  progress_.step();
  view_.update_progress(progress_);
  if (auto r = wait_for_byte(port_, clock_, deadline_, ack); r != Wait_result::byte) {
    return step_of(r);
  }
  ++done_;
  return Step::ok;
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

Transfer_result failure_ending(Transfer_result result, Transfer_status status,
                               const Message& message, Link_session& s, Transfer_view& view,
                               bool send_end) {
  result.status = status;
  view.show_message(message);
  if (send_end || status == Transfer_status::stopped) send_closing_string(s.port);
  s.port.close();
  view.close_progress();
  view.razblok_btn();
  return result;
}

}  // namespace tirna
