#pragma once
// The simulator's radios as files: the memories it plays (--memory, or a folder of radios with
// their stuck cells, --radios) and where it saves what the program left in them (--save).

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "sim/radio_queue.h"
#include "sim/sim_options.h"

namespace tirna::sim {

struct Load_failure {
  int status = 1;  // the simulator's exit status: 1 for a file, 2 for a bad address in one
  std::string message;
};

// The radios to play: the one radio (its memory from --memory, else a new memory of the band and
// version), or the queue of --radios in name order, each identified by its own memory.
std::variant<std::vector<Queued_radio>, Load_failure> load_radios(const Sim_options& o,
                                                                  const Radio_setup& setup);

// Saves a radio's memory as --save says (nothing without it); the message when it fails.
std::optional<std::string> save_radio(const Sim_options& o, const Queued_radio& radio);

}  // namespace tirna::sim
