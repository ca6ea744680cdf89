#pragma once
// The radio as the simulator and the protocol tests play it: its side of the protocol on a memory,
// byte by byte, without any notion of time or of the line. The simulator feeds it the bytes the
// program sends, each when its last bit has arrived, and plays its answers at the line's pace; the
// tests' fake port hands its answers over at simulated times and adds the faults only it plays.

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/image/param_image.h"

namespace tirna::sim {

struct Radio_options {
  std::vector<uint8_t> identification;        // the 8 bytes sent on the identification request
  bool silent = false;                        // never answers
  std::vector<uint8_t> noise;                 // before the first acknowledgement
  std::vector<uint8_t> noise_between;         // before every later acknowledgement
  std::vector<uint8_t> reply_noise;           // before every read reply (a byte added on the line)
  uint8_t frame_answer = 0x06;                // the answer to a write frame (0x15: refused)
  std::chrono::microseconds reaction{0};      // before every answer
  std::chrono::microseconds packet_delay{0};  // besides, before every reply and frame answer
  long silent_after = -1;  // answer this many packets (read requests and frames), then no more
  long hangup_after = -1;  // hang up once this many packets are answered
  std::vector<int> stuck;  // memory addresses whose byte a write frame does not change
  // Every byte received goes back at once, before any answer: a cable that echoes.
  bool echo = false;
  // Sent instead of the acknowledgement of a programming request, after which the radio stays where
  // it was: 15 is a radio that refuses, other bytes a line that garbles the acknowledgement.
  std::vector<uint8_t> request_answer;
};

struct Answer {
  enum Kind { programming_ack, identification, confirm_ack, read_reply, frame_answer, echo };
  Kind kind = programming_ack;
  std::vector<uint8_t> bytes;          // noise included
  std::chrono::microseconds delay{0};  // from the moment the request was complete
};

class Radio_model {
 public:
  // Plays the radio on memory with options, both kept by the caller for the model's life (the
  // options may change between transfers).
  Radio_model(Param_image& memory, const Radio_options& options);

  // One byte from the program. Returns what the radio answers, if anything.
  std::vector<Answer> feed(uint8_t byte);

  const Param_image& memory() const { return memory_; }
  long packets() const { return packets_; }
  long ends() const { return ends_; }
  long programming_requests() const { return programming_requests_; }
  bool hung_up() const { return hung_up_; }

  // Every request and frame, in words: "read 0x2E0", "write 0x300: 41 42 ...", "END", ...
  std::function<void(const std::string&)> log;
  // Every command of programming mode as it came (a read request, a write frame, "END"), before it
  // is answered or not.
  std::function<void(std::span<const uint8_t>)> on_command;

 private:
  enum class Mode { idle, acknowledged, identified, programming };
  void step(uint8_t byte, std::vector<Answer>& out);
  void command(std::vector<Answer>& out);
  void answer(Answer::Kind kind, std::vector<uint8_t> bytes, std::vector<Answer>& out);
  void note(const std::string& text) {
    if (log) log(text);
  }

  Param_image& memory_;
  const Radio_options& options_;
  Mode mode_ = Mode::idle;
  std::size_t matched_ = 0;       // bytes of the programming request matched so far
  std::vector<uint8_t> command_;  // the command being received in programming mode
  bool first_ack_ = true;
  long packets_ = 0;
  long ends_ = 0;
  long programming_requests_ = 0;
  bool hung_up_ = false;
};

}  // namespace tirna::sim
