#pragma once
// A transport that writes every operation on another one, with its time, to a stream: the trace of
// a failing radio that a technician can keep and send in.
//
//   +   20.113 ms  > 02 50 52 4F 47 52 41 4D
//   +   21.190 ms  < 06
//
// Received bytes that follow each other are gathered on one line, stamped with the first one's
// time; the line ends at the next send, purge, close or failure.

#include <ostream>
#include <vector>

#include "core/link/link_clock.h"
#include "core/link/transport.h"

namespace tirna {

class Traced_transport : public Transport {
 public:
  Traced_transport(Transport& inner, const Link_clock& clock, std::ostream& out);
  ~Traced_transport() override;

  std::optional<Open_error> open(int port_number) override;
  bool is_open() const override { return inner_.is_open(); }
  Io_status send(std::span<const uint8_t> bytes) override;
  Io_status receive(uint8_t& byte, Link_time deadline) override;
  void purge() override;
  void close() override;
  std::string last_error() const override { return inner_.last_error(); }

 private:
  void line(const std::string& text, Link_time at);
  void end_received();

  Transport& inner_;
  const Link_clock& clock_;
  std::ostream& out_;
  Link_time start_;
  std::vector<uint8_t> received_;
  Link_time received_at_{};
  bool stop_traced_ = false;
};

}  // namespace tirna
