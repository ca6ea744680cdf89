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

// One attempt, from the programming request to the confirming acknowledgement.
enum class Attempt { accepted, refused, timed_out, link_lost, stopped };

Attempt attempt(Link_session& s, std::vector<uint8_t>& answer) {
  Transport& port = s.port;
  Link_clock& clock = s.clock;
  const auto send = [&](std::span<const uint8_t> bytes) {
    return port.send(bytes) == Io_status::failed ? Attempt::link_lost : Attempt::accepted;
  };
  const auto failed = [](Wait_result r) {
    if (r == Wait_result::stopped) return Attempt::stopped;
    return r == Wait_result::link_lost ? Attempt::link_lost : Attempt::timed_out;
  };

  if (send(programming_request) == Attempt::link_lost) return Attempt::link_lost;
  if (auto r = wait_for_byte(port, clock, clock.now() + ack_timeout, ack); r != Wait_result::byte) {
    return failed(r);
  }

  if (send(identification_request) == Attempt::link_lost) return Attempt::link_lost;
  const Link_time deadline = clock.now() + identification_timeout;  // one for all eight bytes
  answer.clear();
  for (int i = 0; i < identification_size; ++i) {
    uint8_t b = 0;
    if (auto r = wait_byte(port, clock, deadline, b); r != Wait_result::byte) return failed(r);
    answer.push_back(b);
  }

  if (send(std::array<uint8_t, 1>{ack}) == Attempt::link_lost) return Attempt::link_lost;
  if (auto r = wait_for_byte(port, clock, clock.now() + ack_timeout, ack); r != Wait_result::byte) {
    return failed(r);
  }
  s.identification = Radio_identification::from_bytes(answer);
  return s.identification ? Attempt::accepted : Attempt::refused;
}

}  // namespace

Handshake_result set_rez_prog(Link_session& s, Link_view& view) {
  Handshake_result result;
  s.identification.reset();
  result.opening = com_open(s.port, s.programmer, view);
  if (result.opening.given_up) {
    result.status = Handshake_result::Status::port_not_opened;
    return result;
  }
  pause(s.clock, settle_time);
  s.port.purge();

  // Late bytes of an earlier attempt are not purged: the waits for 0x06 drop them, or they start
  // the next identification.
  std::vector<uint8_t> answer;
  for (int attempts = 0; attempts < max_attempts;) {
    const Attempt a = attempt(s, answer);
    switch (a) {
      case Attempt::accepted:
        result.status = Handshake_result::Status::entered;
        return result;
      case Attempt::refused:
        result.refused_identification = true;
        result.refused_answer = answer;
        ++attempts;  // the next attempt starts at once
        break;
      case Attempt::timed_out:
        pause(s.clock, back_off);
        ++attempts;
        break;
      case Attempt::link_lost:
        result.status = Handshake_result::Status::link_lost;
        return result;
      case Attempt::stopped:
        result.status = Handshake_result::Status::stopped;
        return result;
    }
  }
  result.status = Handshake_result::Status::no_answer;
  return result;
}

}  // namespace tirna
