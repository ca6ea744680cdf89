#include "core/link/handshake.h"

#include <array>
#include <chrono>

#include "core/link/byte_wait.h"
#include "core/link/protocol_bytes.h"

namespace tirna {

namespace {

using std::chrono::milliseconds;

constexpr milliseconds settle_time{20};
constexpr milliseconds ack_timeout{200};
constexpr milliseconds identification_timeout{500};
constexpr milliseconds back_off{500};
constexpr int max_attempts = 4;

Link_status sent(Transport& port, std::span<const uint8_t> bytes) {
  return port.send(bytes) == Io_status::failed ? Link_status::link_lost : Link_status::ok;
}

// One attempt, from the programming request to the confirming acknowledgement: ok with the
// identification in the session, bad_reply for eight bytes of another layout (kept in `answer`),
// timed_out, link_lost or stopped.
Link_status attempt(Link_session& s, std::vector<uint8_t>& answer) {
  Transport& port = s.port;
  Link_clock& clock = s.clock;
  Link_status r = sent(port, programming_request);
  if (r == Link_status::ok) r = wait_for_byte(port, clock, clock.now() + ack_timeout, ack);
  if (r == Link_status::ok) r = sent(port, identification_request);
  if (r != Link_status::ok) return r;

  const Link_time deadline = clock.now() + identification_timeout;  // one for all eight bytes
  answer.clear();
  for (int i = 0; i < identification_size; ++i) {
    uint8_t b = 0;
    if (r = wait_byte(port, clock, deadline, b); r != Link_status::ok) return r;
    answer.push_back(b);
  }

  r = sent(port, std::array<uint8_t, 1>{ack});
  if (r == Link_status::ok) r = wait_for_byte(port, clock, clock.now() + ack_timeout, ack);
  if (r != Link_status::ok) return r;
  s.identification = Radio_identification::from_bytes(answer);
  return s.identification ? Link_status::ok : Link_status::bad_reply;
}

}  // namespace

Handshake_result set_rez_prog(Link_session& s, Link_view& view) {
  Handshake_result result;
  s.identification.reset();
  result.opening = com_open(s.port, s.programmer, view);
  if (result.opening.given_up) {
    result.status = Link_status::port_not_opened;
    return result;
  }
  pause(s.clock, settle_time);
  s.port.purge();

  // Late bytes of an earlier attempt are not purged: the waits for 0x06 drop them, or they start
  // the next identification.
  std::vector<uint8_t> answer;
  for (int attempts = 0; attempts < max_attempts; ++attempts) {
    switch (const Link_status a = attempt(s, answer)) {
      case Link_status::ok:
        result.status = Link_status::ok;
        return result;
      case Link_status::bad_reply:
        result.refused_identification = true;
        result.refused_answer = answer;
        break;  // the next attempt starts at once
      case Link_status::timed_out:
        pause(s.clock, back_off);
        break;
      default:  // link_lost, stopped
        result.status = a;
        return result;
    }
  }
  result.status = Link_status::no_answer;
  return result;
}

}  // namespace tirna
