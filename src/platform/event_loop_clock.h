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

// Whole milliseconds from now to t, rounded up; 0 when t has passed.
int remaining_ms(Link_time t);

}  // namespace tirna
