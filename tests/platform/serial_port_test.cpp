// SerialPort against a pseudo-terminal whose other side the test holds.

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <stdlib.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QTimer>
#include <array>
#include <string>
#include <thread>
#include <vector>

#include "platform/event_loop_clock.h"
#include "platform/serial_port.h"

namespace tirna {
namespace {

using namespace std::chrono_literals;

QCoreApplication& application() {
  static int argc = 1;
  static char name[] = "platform_tests";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

// The radio's end of a pseudo-terminal; the port under test opens `path`.
class Pty_peer {
 public:
  Pty_peer() {
    fd_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    EXPECT_GE(fd_, 0);
    grantpt(fd_);
    unlockpt(fd_);
    path = ptsname(fd_);
  }
  ~Pty_peer() { hang_up(); }
  void write_bytes(const std::vector<uint8_t>& bytes) {
    ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  // Whatever arrives within `wait`.
  std::vector<uint8_t> read_bytes(std::chrono::milliseconds wait = 200ms) {
    std::vector<uint8_t> out;
    pollfd p{fd_, POLLIN, 0};
    while (::poll(&p, 1, static_cast<int>(wait.count())) > 0 && (p.revents & POLLIN)) {
      uint8_t buffer[256];
      const ssize_t n = ::read(fd_, buffer, sizeof buffer);
      if (n <= 0) break;
      out.insert(out.end(), buffer, buffer + n);
      wait = 20ms;
    }
    return out;
  }
  void hang_up() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  std::string path;

 private:
  int fd_ = -1;
};

// Every case runs with both waits: the window's event loop and the command line's blocking wait.
class SerialPortTest : public ::testing::TestWithParam<SerialPort::Wait_mode> {
 protected:
  void SetUp() override {
    application();
    port.set_fixed_device(peer.path);
    port.set_wait_mode(GetParam());
  }
  Link_time in(std::chrono::milliseconds ms) { return std::chrono::steady_clock::now() + ms; }
  // As the protocol waits: receive may return timeout early, so ask again until the deadline.
  Io_status receive_until(uint8_t& b, Link_time deadline) {
    Io_status s = port.receive(b, deadline);
    while (s == Io_status::timeout && std::chrono::steady_clock::now() < deadline) {
      s = port.receive(b, deadline);
    }
    return s;
  }
  Pty_peer peer;
  SerialPort port{[](int n) { return "/dev/ttyUSB" + std::to_string(n - 1); }};
};

// The pty refuses DTR, RTS and the low-latency request (the system's ioctl answers ENOTTY or
// EINVAL); none of it is a failure.
TEST_P(SerialPortTest, OpensAPtyThoughItRefusesDtrRtsAndLowLatency) {
  EXPECT_EQ(port.open(1), std::nullopt);
  EXPECT_TRUE(port.is_open());
  EXPECT_EQ(port.device(), peer.path);
  peer.write_bytes({0x5A});
  uint8_t b = 0;
  EXPECT_EQ(receive_until(b, in(500ms)), Io_status::ok);
  EXPECT_EQ(b, 0x5A);
}

// On open the port asks the driver for low latency, keeping the port's other flags; an adapter
// that refuses leaves the port open and working.
TEST_P(SerialPortTest, OpeningRequestsLowLatencyAndIgnoresARefusal) {
  struct Call {
    unsigned long request;
    int fd;
    int flags;
  };
  std::vector<Call> calls;
  port.set_serial_info_call([&calls](int fd, unsigned long request, serial_struct* info) {
    if (request == TIOCGSERIAL) info->flags = ASYNC_SPD_HI;  // a flag the request must keep
    calls.push_back({request, fd, info->flags});
    return 0;
  });
  ASSERT_EQ(port.open(1), std::nullopt);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].request, static_cast<unsigned long>(TIOCGSERIAL));
  EXPECT_EQ(calls[1].request, static_cast<unsigned long>(TIOCSSERIAL));
  EXPECT_EQ(calls[1].flags, ASYNC_SPD_HI | ASYNC_LOW_LATENCY);
  EXPECT_GE(calls[0].fd, 0);
  EXPECT_EQ(calls[1].fd, calls[0].fd);
  port.close();

  // Already set: nothing more to ask.
  calls.clear();
  port.set_serial_info_call([&calls](int fd, unsigned long request, serial_struct* info) {
    info->flags = ASYNC_LOW_LATENCY;
    calls.push_back({request, fd, info->flags});
    return 0;
  });
  ASSERT_EQ(port.open(1), std::nullopt);
  EXPECT_EQ(calls.size(), 1u);
  port.close();

  // Refused (as an adapter that does not know the flag, or a driver that forbids it).
  int refusals = 0;
  port.set_serial_info_call([&refusals](int, unsigned long request, serial_struct*) {
    refusals += request == TIOCSSERIAL;
    errno = EPERM;
    return request == TIOCSSERIAL ? -1 : 0;
  });
  ASSERT_EQ(port.open(1), std::nullopt);
  EXPECT_EQ(refusals, 1);
  EXPECT_TRUE(port.is_open());
  EXPECT_EQ(port.send(std::array<uint8_t, 1>{0x42}), Io_status::ok);
  EXPECT_EQ(peer.read_bytes(), std::vector<uint8_t>{0x42});
}

TEST_P(SerialPortTest, ReceiveTakesWaitingBytesOneByOneThenTimesOut) {
  ASSERT_EQ(port.open(1), std::nullopt);
  uint8_t b = 0;
  EXPECT_EQ(port.receive(b, in(0ms)), Io_status::timeout);
  peer.write_bytes({0x11, 0x22, 0x33});
  std::vector<uint8_t> got;
  while (receive_until(b, in(200ms)) == Io_status::ok) {
    got.push_back(b);
    if (got.size() == 3) break;
  }
  EXPECT_EQ(got, (std::vector<uint8_t>{0x11, 0x22, 0x33}));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(receive_until(b, in(50ms)), Io_status::timeout);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 50ms);
}

TEST_P(SerialPortTest, ReceiveWakesWhenAByteArrivesBeforeTheDeadline) {
  ASSERT_EQ(port.open(1), std::nullopt);
  std::thread radio([&] {
    std::this_thread::sleep_for(30ms);
    peer.write_bytes({0x06});
  });
  uint8_t b = 0;
  const Link_time deadline = in(5000ms);
  EXPECT_EQ(receive_until(b, deadline), Io_status::ok);
  EXPECT_EQ(b, 0x06);
  EXPECT_LT(std::chrono::steady_clock::now(), deadline - 4000ms);  // woken by the byte
  radio.join();
}

TEST_P(SerialPortTest, SendsZeroBytesToo) {
  ASSERT_EQ(port.open(1), std::nullopt);
  const std::array<uint8_t, 5> bytes{0x52, 0x00, 0x00, 0x08, 0x00};
  EXPECT_EQ(port.send(bytes), Io_status::ok);
  EXPECT_EQ(peer.read_bytes(), std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

TEST_P(SerialPortTest, ClosedPortNeitherSendsNorReceives) {
  const std::array<uint8_t, 1> one{0x06};
  EXPECT_EQ(port.send(one), Io_status::closed);
  uint8_t b = 0;
  EXPECT_EQ(port.receive(b, in(10ms)), Io_status::closed);
  port.purge();
  port.close();
  EXPECT_TRUE(peer.read_bytes(50ms).empty());
}

TEST_P(SerialPortTest, OpeningAnOpenPortFails) {
  ASSERT_EQ(port.open(1), std::nullopt);
  const auto error = port.open(1);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->text, "Can't perform this operation while port is open");
  EXPECT_TRUE(port.is_open());
  port.close();
  EXPECT_EQ(port.open(1), std::nullopt);
}

TEST_P(SerialPortTest, PortHeldByAnotherIsBusyAndStaysClosed) {
  ASSERT_EQ(port.open(1), std::nullopt);
  SerialPort second{[](int) { return std::string(); }};
  second.set_fixed_device(peer.path);
  const auto error = second.open(1);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->kind, Open_error::Kind::busy);
  EXPECT_EQ(error->text.rfind("Can't open specified device " + peer.path + " (Error ", 0), 0u)
      << error->text;
  EXPECT_FALSE(second.is_open());
}

TEST_P(SerialPortTest, MissingDeviceIsNotFound) {
  // A name of this process's own: Qt locks the name while opening, and the other wait mode's case
  // may run at the same time in another process.
  const std::string name = "/dev/tirna-no-such-port-" + std::to_string(::getpid()) + "-";
  SerialPort missing{[&](int n) { return name + std::to_string(n); }};
  const auto error = missing.open(5);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->kind, Open_error::Kind::not_found);
  EXPECT_EQ(error->text, "Specified device not found (" + name + "5).");
  EXPECT_FALSE(missing.is_open());
}

TEST_P(SerialPortTest, PurgeDropsWhatArrivedBefore) {
  ASSERT_EQ(port.open(1), std::nullopt);
  peer.write_bytes({0x01, 0x02});
  Event_loop_clock clock;
  clock.wait_until(in(30ms));
  port.purge();
  peer.write_bytes({0x03});
  uint8_t b = 0;
  EXPECT_EQ(receive_until(b, in(500ms)), Io_status::ok);
  EXPECT_EQ(b, 0x03);
}

TEST_P(SerialPortTest, HangUpClosesThePortAtTheFirstError) {
  ASSERT_EQ(port.open(1), std::nullopt);
  peer.hang_up();
  uint8_t b = 0;
  EXPECT_EQ(receive_until(b, in(2000ms)), Io_status::failed);
  EXPECT_FALSE(port.is_open());
  EXPECT_NE(port.last_error().rfind("Read error (", 0), std::string::npos) << port.last_error();
  const std::array<uint8_t, 1> one{0x06};
  EXPECT_EQ(port.send(one), Io_status::failed);
  port.close();
  EXPECT_EQ(port.receive(b, in(0ms)), Io_status::closed);
}

TEST_P(SerialPortTest, EndSentJustBeforeCloseStillLeaves) {
  ASSERT_EQ(port.open(1), std::nullopt);
  const std::array<uint8_t, 3> end{'E', 'N', 'D'};
  port.send(end);
  port.close();
  EXPECT_EQ(peer.read_bytes(), (std::vector<uint8_t>{'E', 'N', 'D'}));
}

TEST_P(SerialPortTest, WindowEventsAreServedWhileWaitingForBytes) {
  ASSERT_EQ(port.open(1), std::nullopt);
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(10);
  uint8_t b = 0;
  EXPECT_EQ(receive_until(b, in(200ms)), Io_status::timeout);
  if (GetParam() == SerialPort::Wait_mode::serve_events) {
    EXPECT_GE(ticks, 5);  // every 16 ms at the latest
  } else {
    EXPECT_EQ(ticks, 0);  // the command line has no events to serve
  }
}

INSTANTIATE_TEST_SUITE_P(Waits, SerialPortTest,
                         ::testing::Values(SerialPort::Wait_mode::serve_events,
                                           SerialPort::Wait_mode::blocking),
                         [](const auto& param_info) {
                           return param_info.param == SerialPort::Wait_mode::serve_events
                                      ? "ServeEvents"
                                      : "Blocking";
                         });

TEST(EventLoopClock, WaitsAtLeastTheTimeAndKeepsTimersRunning) {
  application();
  Event_loop_clock clock;
  bool ticked = false;
  QTimer::singleShot(10, [&] { ticked = true; });
  const Link_time start = clock.now();
  clock.wait_until(start + 40ms);
  EXPECT_GE(clock.now() - start, 40ms);
  EXPECT_TRUE(ticked);
}

}  // namespace
}  // namespace tirna
