#pragma once
// The radio as the simulator plays it: its memory and its side of the protocol, byte by byte,
// without any notion of time or of the line. The simulator feeds it the bytes the program sends,
// each when its last bit has arrived, and plays its answers at the line's pace.

#include <chrono>
#include <cstdint>
#include <functional>
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
  bool nak_frames = false;                    // answer write frames with 0x15 instead of 0x06
  std::chrono::microseconds reaction{0};      // before every answer
  std::chrono::microseconds packet_delay{0};  // besides, before every reply and frame answer
  long silent_after = -1;  // answer this many packets (read requests and frames), then no more
  long hangup_after = -1;  // hang up once this many packets are answered
  std::vector<int> stuck;  // memory addresses whose byte a write frame does not change
};

struct Answer {
  std::vector<uint8_t> bytes;
  std::chrono::microseconds delay{0};  // from the moment the request was complete
};

class Radio_model {
 public:
  Radio_model(Param_image memory, Radio_options options);

  // One byte from the program. Returns what the radio answers, if anything.
  std::vector<Answer> feed(uint8_t byte);

  const Param_image& memory() const { return memory_; }
  long packets() const { return packets_; }
  long ends() const { return ends_; }
  bool hung_up() const { return hung_up_; }

  // Every request and frame, in words: "read 0x2E0", "write 0x300: 41 42 ...", "END", ...
  std::function<void(const std::string&)> log;

 private:
  enum class Mode { idle, acknowledged, identified, programming };
  void step(uint8_t byte, std::vector<Answer>& out);
  void command(std::vector<Answer>& out);
  void answer(std::vector<uint8_t> bytes, bool acknowledgement, bool packet,
              std::vector<Answer>& out);
  void note(const std::string& text) {
    if (log) log(text);
  }

  Param_image memory_;
  Radio_options options_;
  Mode mode_ = Mode::idle;
  std::size_t matched_ = 0;       // bytes of the programming request matched so far
  std::vector<uint8_t> command_;  // the command being received in programming mode
  bool first_ack_ = true;
  long packets_ = 0;
  long ends_ = 0;
  bool hung_up_ = false;
};

std::string hex_text(const uint8_t* bytes, std::size_t count);

}  // namespace tirna::sim
