#include "platform/stop_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <iterator>

namespace tirna {
namespace {

constexpr int stop_signal_numbers[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

std::atomic<int> write_end{-1};
std::atomic<int> caught{0};
struct sigaction previous[std::size(stop_signal_numbers)];

void on_signal(int s) {
  int expected = 0;
  caught.compare_exchange_strong(expected, s);
  const int fd = write_end.load();
  if (fd >= 0) {
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(fd, &byte, 1);  // async-signal-safe
  }
}

}  // namespace

Stop_signals::Stop_signals() {
  if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) return;
  caught = 0;
  write_end = pipe_[1];
  struct sigaction action {};
  action.sa_handler = on_signal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < std::size(stop_signal_numbers); ++i) {
    ::sigaction(stop_signal_numbers[i], nullptr, &previous[i]);
    // A signal the caller ignores stays ignored (a background job of a script ignores SIGINT).
    if (previous[i].sa_handler == SIG_IGN) continue;
    ::sigaction(stop_signal_numbers[i], &action, nullptr);
  }
}

Stop_signals::~Stop_signals() {
  if (pipe_[0] < 0) return;
  for (std::size_t i = 0; i < std::size(stop_signal_numbers); ++i) {
    ::sigaction(stop_signal_numbers[i], &previous[i], nullptr);
  }
  write_end = -1;
  ::close(pipe_[0]);
  ::close(pipe_[1]);
}

int Stop_signals::signal() const {
  return caught.load();
}

void Stop_signals::stop(int signal_number) {
  on_signal(signal_number);
}

}  // namespace tirna
