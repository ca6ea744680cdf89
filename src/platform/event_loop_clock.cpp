#include "platform/event_loop_clock.h"

#include <poll.h>

#include <QEventLoop>
#include <QTimer>

namespace tirna {

int remaining_ms(Link_time t) {
  const auto left = t - std::chrono::steady_clock::now();
  if (left <= std::chrono::steady_clock::duration::zero()) return 0;
  const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
  return ms > 1'000'000'000 ? 1'000'000'000 : static_cast<int>(ms);
}

Link_time Event_loop_clock::now() const {
  return std::chrono::steady_clock::now();
}

void Event_loop_clock::wait_until(Link_time t) {
  // A timer may fire a little early on a busy machine; wait again for what is left.
  while (const int ms = remaining_ms(t)) {
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
  }
}

Link_time Blocking_clock::now() const {
  return std::chrono::steady_clock::now();
}

void Blocking_clock::wait_until(Link_time t) {
  while (const int ms = remaining_ms(t)) {
    pollfd p{stop_fd_, POLLIN, 0};
    if (::poll(&p, stop_fd_ >= 0 ? 1 : 0, ms) > 0) return;  // stopped: the next wait says so
  }
}

}  // namespace tirna
