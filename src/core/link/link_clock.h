#pragma once
// The time of the protocol: deadlines and pauses. Injected so that the tests run the protocol on a
// simulated clock and a window can wait in its event loop.

#include "core/link/transport.h"

namespace tirna {

class Link_clock {
 public:
  virtual ~Link_clock() = default;
  virtual Link_time now() const = 0;
  // Returns when `t` has passed (at once when it already has). Never spins: a window implements
  // it with an event loop and a timer, a command-line tool by sleeping.
  virtual void wait_until(Link_time t) = 0;
};

}  // namespace tirna
