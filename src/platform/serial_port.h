#pragma once
// SerialPort: the transport to the programmer on QSerialPort.
//
// - Opening: exclusive (Qt's lock file and TIOCEXCL), 9600 8N1, no flow control, DTR and RTS
//   raised, and low latency requested of a USB-serial adapter (see low_latency.h). A
//   pseudo-terminal refuses DTR, RTS and low latency; that is not a failure.
// - Sending hands the bytes to the device without waiting for the line.
// - Receiving waits for a byte without spinning: it blocks in poll() on the device
//   (QSerialPort::waitForReadyRead) until a byte comes or the deadline passes. In the mode for a
//   window (serve_events, the default) each block lasts at most 16 ms, and the application's
//   pending events are processed before a block once 16 ms have passed since they last were, so
//   the window repaints, its timers tick and the progress shows while the transfer runs. The mode
//   for the command line (blocking) blocks for the whole remaining time. A QCoreApplication (or
//   QApplication) must exist. (A local QEventLoop per byte, woken by readyRead, kept a window just
//   as responsive but cost twice the CPU time: a byte arrives about every millisecond.)
// - The first read, resource or write error closes the port at once (left open, QSerialPort
//   reports the error hundreds of thousands of times a second) and every later operation returns
//   `failed` until close() or open().
// - Closing lets the bytes already sent ("END") leave the port for at most 100 ms.

#include <QSerialPort>
#include <functional>
#include <optional>
#include <string>

#include "core/link/transport.h"
#include "platform/low_latency.h"

namespace tirna {

class SerialPort : public Transport {
 public:
  // Maps a port number to its device (see port_device()).
  using Device_of = std::function<std::string(int port_number)>;
  explicit SerialPort(Device_of device_of);
  ~SerialPort() override;

  enum class Wait_mode { serve_events, blocking };
  void set_wait_mode(Wait_mode mode) { wait_mode_ = mode; }
  // In the blocking mode, waits also end when this descriptor becomes readable (Stop_signals):
  // from then on receive returns `stopped`.
  void set_stop_fd(int fd) { stop_fd_ = fd; }

  // A device used whatever the port number: the command line's --port /dev/ttyUSB0.
  void set_fixed_device(std::optional<std::string> device) { fixed_device_ = std::move(device); }

  // The calls that request low latency on open; the system's by default.
  void set_serial_info_call(Serial_info_call call) { serial_info_call_ = std::move(call); }

  std::optional<Open_error> open(int port_number) override;
  bool is_open() const override { return port_.isOpen(); }
  Io_status send(std::span<const uint8_t> bytes) override;
  Io_status receive(uint8_t& byte, Link_time deadline) override;
  void purge() override;
  void close() override;
  std::string last_error() const override { return last_error_; }

  // The device of the last open().
  const std::string& device() const { return device_; }

 private:
  void on_error(QSerialPort::SerialPortError error);
  void wait_for_bytes(Link_time deadline);
  void fail(const std::string& text);
  Io_status refused() const { return failed_ ? Io_status::failed : Io_status::closed; }

  Device_of device_of_;
  std::optional<std::string> fixed_device_;
  std::string device_;
  QSerialPort port_;
  Wait_mode wait_mode_ = Wait_mode::serve_events;
  int stop_fd_ = -1;
  Serial_info_call serial_info_call_ = system_serial_info_call();
  bool stopped_ = false;
  Link_time events_served_{};
  bool opening_ = false;
  bool failed_ = false;
  std::string last_error_;
};

}  // namespace tirna
