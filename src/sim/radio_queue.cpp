#include "sim/radio_queue.h"

#include "core/link/protocol_bytes.h"
#include "core/link/radio_identification.h"

namespace tirna::sim {

Radio_queue::Radio_queue(std::vector<Queued_radio> radios,
                         std::optional<std::chrono::microseconds> gap)
    : radios_(std::move(radios)), gap_(gap) {
  if (!radios_.empty()) plug(0);
}

void Radio_queue::plug(std::size_t index) {
  current_ = index;
  plug_at_.reset();
  reads_ = writes_ = 0;
  seen_before_ = false;
  Queued_radio& radio = radios_[index];
  model_.emplace(radio.memory, radio.options);
  model_->log = [this](const std::string& text) {
    if (log) log(text);
  };
  model_->on_command = [this](std::span<const uint8_t> command) {
    if (!command.empty() && command[0] == read_command) ++reads_;
    if (!command.empty() && command[0] == 'W') ++writes_;
  };
  if (log && gap_) log("radio " + radio.name + " plugged in");
}

std::vector<Answer> Radio_queue::feed(uint8_t byte, Sim_clock::time_point now) {
  if (!model_) return {};
  const long ends_before = model_->ends();
  std::vector<Answer> answers = model_->feed(byte);
  if (gap_ && model_->ends() > ends_before) {
    const bool looked_only = seen_before_ && writes_ == 0 && reads_ < packet_count;
    seen_before_ = true;
    reads_ = writes_ = 0;
    if (looked_only) {
      ends_ += model_->ends();
      model_.reset();
      if (log) log("radio " + radios_[current_].name + " unplugged");
      if (unplugged) unplugged(radios_[current_]);
      if (current_ + 1 < radios_.size()) plug_at_ = now + *gap_;
    }
  }
  return answers;
}

void Radio_queue::advance(Sim_clock::time_point now) {
  if (plug_at_ && now >= *plug_at_) plug(current_ + 1);
}

std::optional<Sim_clock::time_point> Radio_queue::next_event() const {
  return plug_at_;
}

std::vector<uint8_t> identification_of(const Param_image& memory, std::vector<uint8_t> fallback) {
  std::vector<uint8_t> bytes;
  for (int addr = mem::ident_block + 7; addr >= mem::ident_block; --addr) {
    bytes.push_back(memory.byte(addr));
  }
  return Radio_identification::from_bytes(bytes) ? bytes : fallback;
}

}  // namespace tirna::sim
