#include "sim/radio_model.h"

#include <cstdio>

#include "core/link/protocol_bytes.h"
#include "core/text/format.h"

namespace tirna::sim {

namespace {

std::string address_text(int a) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%03X", a);
  return text;
}

constexpr uint8_t write_command = 'W';

}  // namespace

Radio_model::Radio_model(Param_image& memory, const Radio_options& options)
    : memory_(memory), options_(options) {}

std::vector<Answer> Radio_model::feed(uint8_t byte) {
  std::vector<Answer> out;
  if (hung_up_) return out;
  if (options_.echo) out.push_back({Answer::echo, {byte}, {}});
  step(byte, out);
  return out;
}

void Radio_model::answer(Answer::Kind kind, std::vector<uint8_t> bytes, std::vector<Answer>& out) {
  const bool packet = kind == Answer::read_reply || kind == Answer::frame_answer;
  const bool acknowledgement = kind != Answer::identification && kind != Answer::read_reply;
  if (packet) {
    ++packets_;
    if (options_.silent_after >= 0 && packets_ > options_.silent_after) return;
  }
  if (options_.silent) return;
  std::vector<uint8_t> noise;
  if (acknowledgement) {
    noise = first_ack_ ? options_.noise : options_.noise_between;
    first_ack_ = false;
  }
  bytes.insert(bytes.begin(), noise.begin(), noise.end());
  out.push_back({kind, std::move(bytes),
                 options_.reaction + (packet ? options_.packet_delay : std::chrono::microseconds{0})});
  if (packet && options_.hangup_after >= 0 && packets_ >= options_.hangup_after) hung_up_ = true;
}

void Radio_model::step(uint8_t b, std::vector<Answer>& out) {
  switch (mode_) {
    case Mode::idle:
      if (b == programming_request[matched_]) {
        if (++matched_ == programming_request.size()) {
          matched_ = 0;
          ++programming_requests_;
          note("programming request");
          if (options_.silent) return;  // a radio that is off stays where it is
          if (!options_.request_answer.empty()) {
            out.push_back({Answer::programming_ack, options_.request_answer, options_.reaction});
            return;
          }
          mode_ = Mode::acknowledged;
          answer(Answer::programming_ack, {ack}, out);
        }
      } else {
        matched_ = b == programming_request[0] ? 1 : 0;
        if (matched_ == 0) note("dropped " + hex_byte(b));
      }
      return;
    case Mode::acknowledged:
      if (b == identification_request[0]) {
        note("identification request");
        mode_ = Mode::identified;
        answer(Answer::identification, options_.identification, out);
        return;
      }
      mode_ = Mode::idle;
      return step(b, out);
    case Mode::identified:
      if (b == ack) {
        note("acknowledgement: programming mode");
        mode_ = Mode::programming;
        answer(Answer::confirm_ack, {ack}, out);
        return;
      }
      mode_ = Mode::idle;
      return step(b, out);
    case Mode::programming:
      if (command_.empty() && b == programming_request[0]) {
        mode_ = Mode::idle;  // a new handshake
        return step(b, out);
      }
      command_.push_back(b);
      command(out);
      return;
  }
}

void Radio_model::command(std::vector<Answer>& out) {
  const uint8_t lead = command_[0];
  const std::size_t size = lead == read_command    ? 4
                           : lead == write_command ? 12
                           : lead == 'E'           ? 3
                                                   : 1;
  if (command_.size() < size) return;
  if (on_command) on_command(command_);
  const int address = size >= 3 ? (command_[1] << 8 | command_[2]) : 0;
  if (lead == read_command) {
    note("read " + address_text(address));
    const int k = packet_of_address(address & 0x3FF);
    const Packet& p = memory_.packet(k);
    std::vector<uint8_t> reply = options_.reply_noise;
    reply.insert(reply.end(), p.begin(), p.end());
    answer(Answer::read_reply, reply, out);
  } else if (lead == write_command) {
    note("write " + address_text(address) + ": " + hex_bytes(std::span<const uint8_t>(command_).subspan(4, 8)));
    Packet frame{};
    std::copy(command_.begin(), command_.end(), frame.begin());
    const int k = packet_of_address(address & 0x3FF);
    for (int stuck : options_.stuck) {
      if (packet_of_address(stuck) == k) frame[4 + (stuck & 7)] = memory_.byte(stuck);
    }
    memory_.set_packet(k, frame);
    answer(Answer::frame_answer, {options_.frame_answer}, out);
  } else if (lead == 'E' && command_[1] == 'N' && command_[2] == 'D') {
    note("END");
    ++ends_;
    mode_ = Mode::idle;
  } else {
    note("dropped " + hex_bytes(command_));
  }
  command_.clear();
}

}  // namespace tirna::sim
