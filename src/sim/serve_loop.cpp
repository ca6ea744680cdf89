#include "sim/serve_loop.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "platform/files/safe_file.h"

namespace tirna::sim {
namespace {

volatile sig_atomic_t stop_signal = 0;
void on_signal(int s) {
  stop_signal = s;
}

void make_raw(int fd, speed_t speed) {
  termios t{};
  if (tcgetattr(fd, &t) != 0) return;
  cfmakeraw(&t);
  cfsetispeed(&t, speed);
  cfsetospeed(&t, speed);
  t.c_cflag |= CLOCAL | CREAD;
  tcsetattr(fd, TCSANOW, &t);
}

Device open_pty() {
  Device d;
  d.fd = Descriptor(posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK));
  if (!d.fd || grantpt(d.fd.get()) != 0 || unlockpt(d.fd.get()) != 0) return {};
  d.path = ptsname(d.fd.get());
  // Holding the terminal side open keeps the pty alive between two programs that open it; without
  // it the master would report a hang-up each time the program closes its port.
  d.held_peer = Descriptor(::open(d.path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK));
  if (!d.held_peer) return {};
  make_raw(d.held_peer.get(), B9600);
  return d;
}

}  // namespace

std::variant<Device, std::string> open_device(const std::string& device_path) {
  Device device;
  if (device_path.empty()) {
    device = open_pty();
  } else {
    device.path = device_path;
    device.fd = Descriptor(::open(device_path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK));
    if (device.fd) make_raw(device.fd.get(), B9600);
  }
  if (!device.fd) {
    return "cannot open " + (device_path.empty() ? std::string("a pty") : device_path) + ": " +
           std::strerror(errno);
  }
  return device;
}

std::variant<Log, std::string> open_log(const std::string& path) {
  if (path.empty()) return Log(Descriptor{});
  auto opened = open_growing_file(path);
  if (const auto* error = std::get_if<Io_error>(&opened)) return path + ": " + error->text();
  return Log(std::move(std::get<Descriptor>(opened)));
}

void Log::line(const std::string& text) {
  if (!file_) return;
  const double ms = std::chrono::duration<double, std::milli>(Sim_clock::now() - start_).count();
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "+%11.3f ms  ", ms);
  const std::string out = stamp + text + "\n";
  std::size_t done = 0;
  while (done < out.size()) {
    const ssize_t n = ::write(file_.get(), out.data() + done, out.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

std::string serve(const Device& device, Radio_queue& radio, Paced_line& line,
                  long exit_after_ends) {
  // Signals are blocked except inside ppoll, so that none is lost between two waits.
  sigset_t blocked, waiting;
  sigemptyset(&blocked);
  for (int s : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&blocked, s);
  sigprocmask(SIG_BLOCK, &blocked, &waiting);
  struct sigaction action {};
  action.sa_handler = on_signal;
  for (int s : {SIGTERM, SIGINT, SIGHUP}) sigaction(s, &action, nullptr);
  ::signal(SIGPIPE, SIG_IGN);

  // Wake-ups as precise as the kernel allows: every byte of an answer leaves at its own time.
  prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);

  std::cout << device.path << std::endl;  // the first line: where to connect

  const int fd = device.fd.get();
  while (stop_signal == 0) {
    const auto now = Sim_clock::now();
    radio.advance(now);
    while (auto byte = line.next_received()) {
      for (const Answer& a : radio.feed(byte->first, byte->second)) {
        line.send(a.bytes, byte->second + a.delay);
      }
    }
    const std::vector<uint8_t> out = line.due(now);
    if (!out.empty() && ::write(fd, out.data(), out.size()) < 0 && errno != EAGAIN) {
      return std::string("write failed: ") + std::strerror(errno);
    }
    auto next = line.next_event();
    if (const auto plug = radio.next_event(); plug && (!next || *plug < *next)) next = plug;
    if (radio.hung_up() && !next) return "hung up";
    if (exit_after_ends >= 0 && radio.ends() >= exit_after_ends && !next) {
      return "END count reached";
    }

    pollfd pfd{fd, POLLIN, 0};
    timespec timeout{};
    if (next) {
      const auto wait = std::max(Sim_clock::duration::zero(), *next - Sim_clock::now());
      const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
      timeout.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
      timeout.tv_nsec = static_cast<long>(ns % 1'000'000'000);
    }
    const int r = ppoll(&pfd, 1, next ? &timeout : nullptr, &waiting);
    if (r < 0) {
      if (errno == EINTR) continue;
      return std::string("poll failed: ") + std::strerror(errno);
    }
    if (r > 0 && (pfd.revents & POLLIN)) {
      uint8_t buffer[512];
      const ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n > 0) {
        line.received(buffer, static_cast<std::size_t>(n), Sim_clock::now());
      } else if (n < 0 && errno != EAGAIN) {
        return std::string("read failed: ") + std::strerror(errno);
      }
    } else if (r > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL))) {
      return "the device hung up";
    }
  }
  return "signal";
}

}  // namespace tirna::sim
