#pragma once
// A simulated link for the protocol tests: a clock that only moves when the code waits, a port
// whose incoming bytes arrive at set times, a radio answering the protocol on that port, and a
// view that records what a window would show. Port and view write into one journal, so tests can
// check the order of everything the user and the radio see.

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/image/param_image.h"
#include "core/image/workspace.h"
#include "core/link/handshake.h"
#include "core/link/link_clock.h"
#include "core/link/transport.h"
#include "core/pages/extra_data.h"
#include "core/transfer/transfer_view.h"
#include "sim/radio_model.h"

namespace tirna::test {

using namespace std::chrono_literals;
using Journal = std::vector<std::string>;

class Fake_clock : public Link_clock {
 public:
  Link_time now() const override { return now_; }
  void wait_until(Link_time t) override;
  void advance_to(Link_time t) {
    if (t > now_) now_ = t;
  }
  // Milliseconds since the start of the test.
  double ms() const { return std::chrono::duration<double, std::milli>(now_ - start_).count(); }
  Link_time start() const { return start_; }
  std::vector<std::chrono::milliseconds> waits;  // every wait_until, as a duration

 private:
  Link_time start_ = Link_time{} + std::chrono::hours(1);
  Link_time now_ = start_;
};

class Fake_port : public Transport {
 public:
  Fake_port(Fake_clock& clock, Journal& journal) : clock_(clock), journal_(journal) {}

  std::optional<Open_error> open(int port_number) override;
  bool is_open() const override { return open_; }
  Io_status send(std::span<const uint8_t> bytes) override;
  Io_status receive(uint8_t& byte, Link_time deadline) override;
  void purge() override;
  void close() override;
  std::string last_error() const override {
    return failed_ ? "Read error (5), Input/output error" : "";
  }

  // The bytes arrive one after the other, `gap` apart, the first at now + after.
  void arrive(const std::vector<uint8_t>& bytes, std::chrono::microseconds after = 0us,
              std::chrono::microseconds gap = 0us);
  // The port fails (the other side hangs up) at time t.
  void fail_at(Link_time t) { fail_at_ = t; }

  std::function<void(const std::vector<uint8_t>&)> on_send;  // the radio's side of the line
  std::map<int, Open_error> refused;                         // port numbers that do not open
  std::vector<std::vector<uint8_t>> sends;                   // every send while open
  std::vector<double> send_times_ms;
  std::vector<int> opened_ports;  // every port number tried
  std::vector<uint8_t> sent_bytes() const;

 private:
  struct Arrival {
    Link_time at;
    uint8_t byte;
  };
  bool check_failure();

  Fake_clock& clock_;
  Journal& journal_;
  bool open_ = false;
  bool failed_ = false;
  std::optional<Link_time> fail_at_;
  std::deque<Arrival> incoming_;
};

// The radio behind the fake port: the simulator's own radio model (its options are this object's
// fields, its memory `memory`), and besides the faults that only the tests script.
class Fake_radio : public sim::Radio_options {
 public:
  explicit Fake_radio(Fake_port& port);

  Param_image memory;
  bool confirm = true;                                      // acknowledge the confirmation
  std::vector<uint8_t> confirm_noise;                       // before that acknowledgement
  std::vector<uint8_t> ack_noise;                           // before every frame's answer
  std::chrono::microseconds byte_time = 0us;                // between the bytes of an answer
  std::function<void(int k, Packet& reply)> corrupt_reply;  // changes a read reply

  std::vector<std::vector<uint8_t>> requests;  // read requests, in order
  std::vector<Packet> frames;                  // write frames, in order
  long programming_requests() const { return model_.programming_requests(); }
  long ends() const { return model_.ends(); }

 private:
  void on_send(const std::vector<uint8_t>& bytes);
  Fake_port& port_;
  sim::Radio_model model_{memory, *this};
};

class Recording_view : public Transfer_view {
 public:
  explicit Recording_view(Journal& journal) : journal_(journal) {}

  Port_answer ask_other_port(const Message& question, const Open_error& error) override;
  void choose_programmer(Programmer_choice& choice) override;
  void blok_btn() override { journal_.push_back("view: blok_btn"); }
  void razblok_btn() override { journal_.push_back("view: razblok_btn"); }
  void show_progress(std::string_view caption, std::string_view label, int maximum) override;
  void update_progress(const Progress& progress) override;
  void close_progress() override { journal_.push_back("view: close progress"); }
  void show_message(const Message& message) override;
  void print_wind_blok() override { journal_.push_back("view: print_wind_blok"); }
  void stop_usb_polling() override { journal_.push_back("view: stop usb polling"); }

  std::vector<Port_answer> answers;               // given in turn; then `no`
  std::vector<Programmer_choice> dialog_choices;  // what the dialog stores, in turn
  std::vector<Message> questions;
  std::vector<Message> messages;
  std::vector<std::string> labels;  // the percentage after every update
  std::vector<double> progress_times_ms;
  const Fake_clock* clock = nullptr;

 private:
  Journal& journal_;
};

// Everything a protocol test needs, wired together: programmer COM1, the start-up workspace.
struct Link_rig {
  Journal journal;
  Fake_clock clock;
  Fake_port port{clock, journal};
  Fake_radio radio{port};
  Programmer_choice programmer{1, 0};
  std::optional<Radio_identification> identification;
  Link_session session{port, clock, programmer, identification};
  Recording_view view{journal};
  Workspace ws = start_up_workspace();
  Link_rig() { view.clock = &clock; }
};

// The journal lines that start with `prefix`.
Journal lines(const Journal& journal, const std::string& prefix);
// The journal's last n lines.
Journal tail(const Journal& journal, std::size_t n);
// The time every write of a test stamps: 2026-12-08 09:05:07.
inline constexpr Local_time stamp{2026, 12, 8, 9, 5, 7};
inline const Clock fixed_clock = [] { return stamp; };
std::string hex_text(const std::vector<uint8_t>& bytes);

}  // namespace tirna::test
