#include "core/link/byte_wait.h"

namespace tirna {

Link_status wait_byte(Transport& port, Link_clock& clock, Link_time deadline, uint8_t& byte) {
  for (;;) {
    if (clock.now() >= deadline) return Link_status::timed_out;
    switch (port.receive(byte, deadline)) {
      case Io_status::ok:
        return Link_status::ok;
      case Io_status::timeout:
        break;  // woken early or the deadline passed: the test at the top decides
      case Io_status::closed:
        clock.wait_until(deadline);
        return Link_status::timed_out;
      case Io_status::failed:
        return Link_status::link_lost;
      case Io_status::stopped:
        return Link_status::stopped;
    }
  }
}

Link_status wait_for_byte(Transport& port, Link_clock& clock, Link_time deadline, uint8_t wanted) {
  for (;;) {
    uint8_t b = 0;
    const Link_status r = wait_byte(port, clock, deadline, b);
    if (r != Link_status::ok || b == wanted) return r;
  }
}

void pause(Link_clock& clock, std::chrono::milliseconds duration) {
  clock.wait_until(clock.now() + duration);
}

}  // namespace tirna
