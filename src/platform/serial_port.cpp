#include "platform/serial_port.h"

#include <poll.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cerrno>
#include <cstring>
#include <thread>

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <termios.h>
#endif

#include "platform/device_lock.h"
#include "platform/event_loop_clock.h"

namespace tirna {

namespace {

using namespace std::chrono_literals;

constexpr auto drain_bound = 100ms;
constexpr auto serve_period = 16ms;  // a window's events wait at most this long during a transfer
constexpr auto byte_time = std::chrono::microseconds(10'000'000 / 9600);  // 10 bits per byte

std::string with_code(const char* what, int code, const QString& message) {
  return std::string(what) + " (" + std::to_string(code) + "), " + message.toStdString();
}

}  // namespace

SerialPort::SerialPort(Device_of device_of) : device_of_(std::move(device_of)) {
  QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                   [this](QSerialPort::SerialPortError e) { on_error(e); });
}

SerialPort::~SerialPort() {
  close();
}

// The error of the read that failed: errno is long gone by the time Qt reports the error (Qt's
// own calls after the read leave theirs there), so the device is read once more: a device whose
// other side hung up answers with the same error (EIO for a pseudo-terminal).
namespace {

int read_failure(int fd, int fallback) {
  char c = 0;
  const ssize_t n = ::read(fd, &c, 1);
  if (n < 0 && errno != EAGAIN && errno != EINTR) return errno;
  return n == 0 ? EIO : fallback;  // end of file: the other side is gone
}

}  // namespace

void SerialPort::on_error(QSerialPort::SerialPortError error) {
  if (opening_) return;  // open() reports its own failures; DTR and RTS on a pty are no failure
  const int code = errno;
  switch (error) {
    case QSerialPort::ReadError:
    case QSerialPort::ResourceError: {
      const int failure = read_failure(static_cast<int>(port_.handle()), code);
      fail(with_code("Read error", failure, QString::fromLocal8Bit(std::strerror(failure))));
      break;
    }
    case QSerialPort::WriteError:
      fail(with_code("Write error", code, port_.errorString()));
      break;
    default:
      break;  // NoError, TimeoutError of a zero wait, UnsupportedOperationError
  }
}

void SerialPort::fail(const std::string& text) {
  if (failed_) return;
  failed_ = true;
  last_error_ = text;
  // Closing here ends the error storm of a port whose other side went away.
  port_.close();
}

std::optional<Open_error> SerialPort::open(int port_number) {
  if (port_.isOpen()) {
    return Open_error{Open_error::Kind::other, device_,
                      "Can't perform this operation while port is open", ""};
  }
  device_ = fixed_device_ ? *fixed_device_ : device_of_(port_number);
  failed_ = false;
  stopped_ = false;
  last_error_.clear();
  // Every name of the device opens, and locks, the device itself.
  const std::string canonical = canonical_device(device_);
  port_.setPortName(QString::fromStdString(canonical));
  opening_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{opening_};

  if (!port_.open(QIODevice::ReadWrite)) {
    const int code = errno;
    const QSerialPort::SerialPortError error = port_.error();
    const QString message = port_.errorString();
    port_.clearError();
    if (error == QSerialPort::DeviceNotFoundError) {
      return Open_error{Open_error::Kind::not_found, device_,
                        "Specified device not found (" + device_ + ").", ""};
    }
    Open_error e{Open_error::Kind::other, device_, {}, {}};
    int shown_code = code;
    QString shown_message = message;
    if (error == QSerialPort::PermissionError) {
      // Busy and denied share the error: the file's permissions tell them apart.
      if (::access(device_.c_str(), R_OK | W_OK) != 0 && errno == EACCES) {
        e.kind = Open_error::Kind::permission_denied;
        shown_code = EACCES;
        shown_message = QString::fromLocal8Bit(std::strerror(EACCES));
      } else {
        e.kind = Open_error::Kind::busy;
        shown_code = EBUSY;
        shown_message = QString::fromLocal8Bit(std::strerror(EBUSY));
        e.holder = device_holder(canonical);
      }
    }
    e.text = "Can't open specified device " + device_ + " (Error " + std::to_string(shown_code) +
             ", " + shown_message.toStdString() + ")";
    return e;
  }

  if (!lock_device(static_cast<int>(port_.handle()))) {
    port_.close();
    port_.clearError();
    return Open_error{Open_error::Kind::busy, device_,
                      "Can't open specified device " + device_ + " (Error " +
                          std::to_string(EBUSY) + ", " + std::strerror(EBUSY) + ")",
                      device_holder(canonical)};
  }

  const bool settings_taken =
      port_.setBaudRate(QSerialPort::Baud9600) && port_.setDataBits(QSerialPort::Data8) &&
      port_.setParity(QSerialPort::NoParity) && port_.setStopBits(QSerialPort::OneStop) &&
      port_.setFlowControl(QSerialPort::NoFlowControl);
  if (!settings_taken) {
    const std::string text = with_code("Error writing dcb", errno, port_.errorString());
    port_.close();
    port_.clearError();
    return Open_error{Open_error::Kind::settings_refused, device_, text, ""};
  }
  // A pseudo-terminal refuses both; a real port raises them for as long as it is open.
  port_.setDataTerminalReady(true);
  port_.setRequestToSend(true);
  request_low_latency(static_cast<int>(port_.handle()), serial_info_call_);
  port_.clearError();
  return std::nullopt;
}

Io_status SerialPort::send(std::span<const uint8_t> bytes) {
  if (!port_.isOpen()) return refused();
  const auto size = static_cast<qint64>(bytes.size());
  if (port_.write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
    fail(with_code("Write error", errno, port_.errorString()));
    return Io_status::failed;
  }
  port_.flush();  // hands the bytes to the device at once, without waiting for the line
  return port_.isOpen() ? Io_status::ok : refused();
}

Io_status SerialPort::receive(uint8_t& byte, Link_time deadline) {
  if (!port_.isOpen()) return refused();
  if (stopped_) return Io_status::stopped;
  if (port_.bytesAvailable() == 0) {
    if (remaining_ms(deadline) > 0) {
      wait_for_bytes(deadline);
    } else {
      port_.waitForReadyRead(0);  // only what the device already holds
    }
    if (!port_.isOpen()) return refused();
    if (stopped_) return Io_status::stopped;
    if (port_.bytesAvailable() == 0) return Io_status::timeout;
  }
  char c = 0;
  if (!port_.getChar(&c)) return port_.isOpen() ? Io_status::timeout : refused();
  byte = static_cast<uint8_t>(c);
  return Io_status::ok;
}

void SerialPort::wait_for_bytes(Link_time deadline) {
  int ms = remaining_ms(deadline);
  if (wait_mode_ == Wait_mode::blocking && stop_fd_ >= 0) {
    // The port and the stop pipe together, for the remaining time.
    for (;;) {
      pollfd fds[2] = {{port_.handle(), POLLIN, 0}, {stop_fd_, POLLIN, 0}};
      const int r = ::poll(fds, 2, remaining_ms(deadline));
      if (r < 0 && errno == EINTR) continue;
      if ((fds[1].revents & POLLIN) != 0) {
        stopped_ = true;
        return;
      }
      if (r > 0) port_.waitForReadyRead(0);  // Qt takes what came, or meets the error
      return;
    }
  }
  if (wait_mode_ == Wait_mode::serve_events) {
    const auto now = std::chrono::steady_clock::now();
    if (now - events_served_ >= serve_period) {
      QCoreApplication::processEvents();
      events_served_ = now;
      if (!port_.isOpen() || port_.bytesAvailable() > 0) return;
      ms = remaining_ms(deadline);
    }
    ms = std::min(ms, static_cast<int>(serve_period.count()));
  }
  if (ms > 0) port_.waitForReadyRead(ms);
}

void SerialPort::purge() {
  if (!port_.isOpen()) return;
  if (!port_.clear(QSerialPort::AllDirections)) {
    fail(with_code("Error clearing buffers", errno, port_.errorString()));
  }
}

void SerialPort::close() {
  if (!port_.isOpen()) {
    failed_ = false;
    return;
  }
  // "END" is sent right before closing: let it leave, for at most 100 ms.
  const Link_time deadline = std::chrono::steady_clock::now() + drain_bound;
  while (port_.isOpen() && port_.bytesToWrite() > 0) {
    const int ms = remaining_ms(deadline);
    if (ms == 0 || !port_.waitForBytesWritten(ms)) break;
  }
#ifdef Q_OS_UNIX
  // Then the device's own output queue, at the line's pace.
  while (port_.isOpen()) {
    int queued = 0;
    if (::ioctl(port_.handle(), TIOCOUTQ, &queued) != 0 || queued <= 0) break;
    const auto left = deadline - std::chrono::steady_clock::now();
    if (left <= left.zero()) break;
    std::this_thread::sleep_for(
        std::min<std::chrono::steady_clock::duration>(left, byte_time * queued + 1ms));
  }
#endif
  port_.close();
  port_.clearError();
  failed_ = false;
}

}  // namespace tirna
