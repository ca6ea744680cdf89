#include "core/link/byte_wait.h"

namespace tirna {

Wait_result wait_byte(Transport& port, Link_clock& clock, Link_time deadline, uint8_t& byte) {
  for (;;) {
    if (clock.now() >= deadline) return Wait_result::timed_out;
    switch (port.receive(byte, deadline)) {
      case Io_status::ok:
        return Wait_result::byte;
      case Io_status::timeout:
        break;  // woken early or the deadline passed: the test at the top decides
      case Io_status::closed:
        clock.wait_until(deadline);
        return Wait_result::timed_out;
      case Io_status::failed:
        return Wait_result::link_lost;
      case Io_status::stopped:
        return Wait_result::stopped;
    }
  }
}

Wait_result wait_for_byte(Transport& port, Link_clock& clock, Link_time deadline, uint8_t wanted) {
  for (;;) {
    uint8_t b = 0;
    const Wait_result r = wait_byte(port, clock, deadline, b);
    if (r != Wait_result::byte || b == wanted) return r;
  }
}

void pause(Link_clock& clock, std::chrono::milliseconds duration) {
  clock.wait_until(clock.now() + duration);
}

}  // namespace tirna
