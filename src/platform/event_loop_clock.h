#pragma once
// The protocol's clock for the window and the command line: steady time, and waits that run the
// Qt event loop until the time has come (timers tick, windows repaint), never spinning. A
// QCoreApplication (or QApplication) must exist.

#include "core/link/link_clock.h"

namespace tirna {

class Event_loop_clock : public Link_clock {
 public:
  Link_time now() const override;
  void wait_until(Link_time t) override;
};

// The command line's clock: waits block in poll() until the time has come or, with a stop pipe
// (Stop_signals), until the user stopped the transfer. Needs no event loop.
class Blocking_clock : public Link_clock {
 public:
  explicit Blocking_clock(int stop_fd = -1) : stop_fd_(stop_fd) {}
  Link_time now() const override;
  void wait_until(Link_time t) override;

 private:
  int stop_fd_;
};

// Whole milliseconds from now to t, rounded up; 0 when t has passed.
int remaining_ms(Link_time t);

}  // namespace tirna
