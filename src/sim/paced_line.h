#pragma once
// The serial line between the program and the simulated radio, at its true pace. A pseudo-terminal
// moves bytes at once; here every byte takes 10 bit times in each direction: a byte from the
// program counts as arrived when its last bit would have, and an answer leaves one byte after the
// other as a UART at that speed sends it.

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace tirna::sim {

using Sim_clock = std::chrono::steady_clock;

class Paced_line {
 public:
  explicit Paced_line(int baud) : byte_time_(std::chrono::nanoseconds(10'000'000'000LL / baud)) {}

  // Bytes read from the device at `now`.
  void received(const uint8_t* bytes, std::size_t count, Sim_clock::time_point now);
  // The next received byte, with the moment its last bit arrives (which may still be to come: the
  // radio decides at once, and its answer waits for that moment).
  std::optional<std::pair<uint8_t, Sim_clock::time_point>> next_received();
  // An answer that may start leaving at `start`.
  void send(const std::vector<uint8_t>& bytes, Sim_clock::time_point start);
  // The bytes due to be written by `now`, in order.
  std::vector<uint8_t> due(Sim_clock::time_point now);
  // When the next byte of an answer is due, if any is pending.
  std::optional<Sim_clock::time_point> next_event() const;

 private:
  struct Timed {
    Sim_clock::time_point at;
    uint8_t byte;
  };
  Sim_clock::duration byte_time_;
  std::deque<Timed> in_, out_;
  Sim_clock::time_point in_free_{}, out_free_{};
};

}  // namespace tirna::sim
