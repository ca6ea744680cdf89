#pragma once
// The waits every protocol step is built from: one byte before a deadline, a wanted byte before a
// deadline, and `pause`.

#include <chrono>
#include <cstdint>

#include "core/link/link_clock.h"
#include "core/link/transport.h"

namespace tirna {

enum class Wait_result {
  byte,       // a byte came before the deadline
  timed_out,  // the deadline passed first
  link_lost,  // the port failed (the other side hung up, the device went away)
  stopped,    // the user stopped the transfer
};

// Takes the next byte that arrives before `deadline`. The deadline is tested before every take, so
// a byte that is only there once the deadline has passed does not count. On a port that is not
// open nothing can come: the wait blocks in the clock until the deadline and times out.
Wait_result wait_byte(Transport& port, Link_clock& clock, Link_time deadline, uint8_t& byte);

// Waits for `wanted`, dropping every other byte, until the deadline.
Wait_result wait_for_byte(Transport& port, Link_clock& clock, Link_time deadline, uint8_t wanted);

// Waits `duration` (the window keeps processing its events meanwhile).
void pause(Link_clock& clock, std::chrono::milliseconds duration);

}  // namespace tirna
