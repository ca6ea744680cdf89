#pragma once
// SerialPort: the transport to the programmer on QSerialPort.
//
// - Opening: exclusive (Qt's lock file and TIOCEXCL), 9600 8N1, no flow control, DTR and RTS
//   raised. A pseudo-terminal refuses DTR and RTS; that is not a failure.
// - Sending hands the bytes to the device without waiting for the line.
// - Receiving waits for a byte without spinning, in one of two ways:
//   event_loop (the default, for a window): a local Qt event loop, woken by readyRead, by a port
//   error or by a precise single-shot timer at the deadline; the window keeps repainting, ticking
//   its timers and showing modal boxes meanwhile.
//   blocking (for the command line): QSerialPort::waitForReadyRead with the remaining time, which
//   blocks in poll() on the device and serves no other events; it costs about half the CPU time.
//   Either way a QCoreApplication (or QApplication) must exist.
// - The first read, resource or write error closes the port at once (left open, QSerialPort
//   reports the error hundreds of thousands of times a second) and every later operation returns
//   `failed` until close() or open().
// - Closing lets the bytes already sent ("END") leave the port for at most 100 ms.

#include <QEventLoop>
#include <QSerialPort>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/link/transport.h"

namespace tirna {

class SerialPort : public Transport {
 public:
  // Maps a port number to its device (see port_device()).
  using Device_of = std::function<std::string(int port_number)>;
  explicit SerialPort(Device_of device_of);
  ~SerialPort() override;

  enum class Wait_mode { event_loop, blocking };
  void set_wait_mode(Wait_mode mode) { wait_mode_ = mode; }

  // A device used whatever the port number: the command line's --port /dev/ttyUSB0.
  void set_fixed_device(std::optional<std::string> device) { fixed_device_ = std::move(device); }

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
  void wait_for_bytes(int ms);
  void fail(const std::string& text);
  Io_status refused() const { return failed_ ? Io_status::failed : Io_status::closed; }

  Device_of device_of_;
  std::optional<std::string> fixed_device_;
  std::string device_;
  QSerialPort port_;
  // The wait of receive(), made once: a byte arrives about every millisecond during a transfer.
  std::unique_ptr<QEventLoop> wait_loop_;
  std::unique_ptr<QTimer> wait_timer_;
  Wait_mode wait_mode_ = Wait_mode::event_loop;
  bool opening_ = false;
  bool failed_ = false;
  std::string last_error_;
};

}  // namespace tirna
