#pragma once
// The waits every protocol step is built from: one byte before a deadline, a wanted byte before a
// deadline, and `pause`.

#include <chrono>
#include <cstdint>

#include "core/link/link_clock.h"
#include "core/link/link_status.h"
#include "core/link/transport.h"

namespace tirna {

// Takes the next byte that arrives before `deadline`: ok with the byte, or timed_out, link_lost,
// stopped. The deadline is tested before every take, so a byte that is only there once the
// deadline has passed does not count. On a port that is not open nothing can come: the wait
// blocks in the clock until the deadline and times out.
Link_status wait_byte(Transport& port, Link_clock& clock, Link_time deadline, uint8_t& byte);

// Waits for `wanted`, dropping every other byte, until the deadline.
Link_status wait_for_byte(Transport& port, Link_clock& clock, Link_time deadline, uint8_t wanted);

// Waits `duration` (the window keeps processing its events meanwhile).
void pause(Link_clock& clock, std::chrono::milliseconds duration);

}  // namespace tirna
