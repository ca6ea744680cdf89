#include "core/link/traced_transport.h"

#include "core/text/format.h"

#include <chrono>
#include <cstdio>

namespace tirna {

namespace {

const char* status_text(Io_status s) {
  switch (s) {
    case Io_status::ok:
      return "ok";
    case Io_status::timeout:
      return "timeout";
    case Io_status::closed:
      return "port closed";
    case Io_status::failed:
      return "failed";
    case Io_status::stopped:
      return "stopped";
  }
  return "?";
}

}  // namespace

Traced_transport::Traced_transport(Transport& inner, const Link_clock& clock, std::ostream& out)
    : inner_(inner), clock_(clock), out_(out), start_(clock.now()) {}

Traced_transport::~Traced_transport() {
  end_received();
  out_.flush();
}

void Traced_transport::line(const std::string& text, Link_time at) {
  const double ms = std::chrono::duration<double, std::milli>(at - start_).count();
  out_ << '+' << fixed_point_text(ms, 3, 10) << " ms  " << text << '\n';
}

void Traced_transport::end_received() {
  if (received_.empty()) return;
  line("< " + hex_bytes(received_), received_at_);
  received_.clear();
}

std::optional<Open_error> Traced_transport::open(int port_number) {
  end_received();
  auto error = inner_.open(port_number);
  line("open port " + std::to_string(port_number) + (error ? ": " + error->text : ": ok"),
       clock_.now());
  return error;
}

Io_status Traced_transport::send(std::span<const uint8_t> bytes) {
  end_received();
  const Link_time at = clock_.now();
  const Io_status s = inner_.send(bytes);
  line("> " + hex_bytes(bytes) +
           (s == Io_status::ok ? "" : std::string("  (") + status_text(s) + ")"),
       at);
  if (s == Io_status::failed) line("failure: " + inner_.last_error(), clock_.now());
  return s;
}

Io_status Traced_transport::receive(uint8_t& byte, Link_time deadline) {
  const Io_status s = inner_.receive(byte, deadline);
  if (s == Io_status::ok) {
    if (received_.empty()) received_at_ = clock_.now();
    received_.push_back(byte);
  } else if (s == Io_status::failed) {
    end_received();
    line("failure: " + inner_.last_error(), clock_.now());
  } else if (s == Io_status::stopped && !stop_traced_) {
    end_received();
    line("stopped by the user", clock_.now());
    stop_traced_ = true;
  }
  return s;
}

void Traced_transport::purge() {
  end_received();
  line("purge", clock_.now());
  inner_.purge();
}

void Traced_transport::close() {
  end_received();
  if (inner_.is_open()) line("close", clock_.now());
  inner_.close();
  out_.flush();
}

}  // namespace tirna
