#include "sim/paced_line.h"

#include <algorithm>

namespace tirna::sim {

void Paced_line::received(const uint8_t* bytes, std::size_t count, Sim_clock::time_point now) {
  for (std::size_t i = 0; i < count; ++i) {
    in_free_ = std::max(in_free_, now) + byte_time_;
    in_.push_back({in_free_, bytes[i]});
  }
}

std::optional<std::pair<uint8_t, Sim_clock::time_point>> Paced_line::next_received() {
  if (in_.empty()) return std::nullopt;
  const Timed t = in_.front();
  in_.pop_front();
  return std::pair{t.byte, t.at};
}

void Paced_line::send(const std::vector<uint8_t>& bytes, Sim_clock::time_point start) {
  for (uint8_t b : bytes) {
    out_free_ = std::max(out_free_, start) + byte_time_;
    out_.push_back({out_free_, b});
  }
}

std::vector<uint8_t> Paced_line::due(Sim_clock::time_point now) {
  std::vector<uint8_t> bytes;
  while (!out_.empty() && out_.front().at <= now) {
    bytes.push_back(out_.front().byte);
    out_.pop_front();
  }
  return bytes;
}

std::optional<Sim_clock::time_point> Paced_line::next_event() const {
  if (out_.empty()) return std::nullopt;
  return out_.front().at;
}

}  // namespace tirna::sim
