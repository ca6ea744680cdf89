#pragma once
// The byte transport to the programmer: a serial port in the program, a scripted fake in the tests.
//
// Timeout rules (every operation returns at once unless it says otherwise):
//  - send never waits for the line: it hands the bytes to the port and returns.
//  - receive takes one byte. A byte already waiting is returned at once. Otherwise it waits until a
//    byte arrives or `deadline` passes, whichever is first; a deadline that has already passed
//    therefore only takes a waiting byte. It may return timeout before the deadline (a window's
//    event loop woke it), so callers loop until their own deadline has passed.
//  - a port that is not open neither sends nor receives: both return `closed` at once.
//  - an I/O failure (device removed, other side hung up) closes the port at once; the operation
//    that met it and every later one return `failed` until close() or the next open().
//  - once the user stopped the transfer (Ctrl-C of the command line), receive returns `stopped`
//    at once, every time; the port stays open for the transfer's ending.

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tirna {

using Link_time = std::chrono::steady_clock::time_point;

enum class Io_status {
  ok,
  timeout,  // no byte before the deadline
  closed,   // the port is not open
  failed,   // the port failed and was closed; see last_error()
  stopped,  // the user stopped the transfer
};

// Why a port did not open, with the text the port reports for it.
struct Open_error {
  enum class Kind {
    not_found,          // no such device
    busy,               // held by another program
    permission_denied,  // the user may not open it
    settings_refused,   // opened, but the line settings were refused
    other,
  };
  Kind kind = Kind::other;
  std::string device;  // the device the port number or name gave
  std::string text;    // e.g. "Specified device not found (COM5)."
  std::string holder;  // for a busy port, what holds it when that is known (its lock file)
};

class Transport {
 public:
  virtual ~Transport() = default;

  // Opens port number n (COM n) exclusively at 9600 8N1, DTR and RTS raised, no flow control.
  // On failure the port stays closed.
  virtual std::optional<Open_error> open(int port_number) = 0;
  virtual bool is_open() const = 0;
  virtual Io_status send(std::span<const uint8_t> bytes) = 0;
  virtual Io_status receive(uint8_t& byte, Link_time deadline) = 0;
  // Drops everything not yet sent and everything received and not yet taken.
  virtual void purge() = 0;
  // Lets the bytes already sent leave the port for at most 100 ms, then closes. No effect when
  // closed.
  virtual void close() = 0;
  // The text of the last I/O failure ("Read error (5), Input/output error"), empty when none.
  virtual std::string last_error() const = 0;
};

}  // namespace tirna
