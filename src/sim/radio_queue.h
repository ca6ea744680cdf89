#pragma once
// The radios a service shop plugs into one programmer, one after the other. The radio plugged in
// answers; once the program, after an earlier session with it, lets it go after a session that
// wrote nothing and read less than the whole memory (looking whether it is still there, and which
// radio it is), the technician takes it away: nothing answers for the unplugged gap, then the next radio of the
// queue is plugged in.
// A queue of one radio that is never taken away is the simulator's single radio.

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/image/param_image.h"
#include "sim/paced_line.h"
#include "sim/radio_model.h"

namespace tirna::sim {

struct Queued_radio {
  std::string name;  // its file's name, for the log and the saved memories
  Param_image memory;
  Radio_options options;
};

class Radio_queue {
 public:
  // gap: how long no radio is plugged in between two; nullopt: the first radio stays for good.
  Radio_queue(std::vector<Queued_radio> radios, std::optional<std::chrono::microseconds> gap);

  // One byte from the program, arrived at `now`; the answers of the radio plugged in, if any.
  std::vector<Answer> feed(uint8_t byte, Sim_clock::time_point now);
  // Plugs the next radio in once the gap has passed.
  void advance(Sim_clock::time_point now);
  // When advance() next has something to do.
  std::optional<Sim_clock::time_point> next_event() const;

  bool hung_up() const { return model_ && model_->hung_up(); }
  long ends() const { return ends_ + (model_ ? model_->ends() : 0); }
  const std::vector<Queued_radio>& radios() const { return radios_; }
  // The index of the radio plugged in, or -1.
  long plugged() const { return model_ ? static_cast<long>(current_) : -1; }

  std::function<void(const std::string&)> log;
  // A radio was taken away (with the memory the program left in it).
  std::function<void(const Queued_radio&)> unplugged;

 private:
  void plug(std::size_t index);

  std::vector<Queued_radio> radios_;
  std::optional<std::chrono::microseconds> gap_;
  std::size_t current_ = 0;
  std::optional<Radio_model> model_;  // the radio plugged in
  std::optional<Sim_clock::time_point> plug_at_;
  long reads_ = 0, writes_ = 0;  // read requests and write frames since the last END
  bool seen_before_ = false;     // a session with this radio has ended before
  long ends_ = 0;      // of the radios taken away
};

// The radio's own identification from its memory's identification block (read from 0x2D7 down),
// when that block holds one; else `fallback`.
std::vector<uint8_t> identification_of(const Param_image& memory, std::vector<uint8_t> fallback);

}  // namespace tirna::sim
