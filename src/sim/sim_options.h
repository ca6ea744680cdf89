#pragma once
// The simulator's command line: the options as they were given, and what they make of the radio.
// An option is a field here, a line in add_options and, when it changes the radio, a line in
// radio_setup.

#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "sim/radio_model.h"

namespace tirna::sim {

struct Sim_options {
  std::string device_path, memory_path, save_path, log_path, identification_hex;
  std::string band_code_text = "0x00", noise_hex, noise_between_hex, reply_noise_hex;
  std::string request_answer_hex;  // instead of the acknowledgement of the programming request
  int version = 4, baud = 9600;
  double reaction_ms = 0, packet_delay_ms = 0;
  bool silent = false, nak = false, echo = false;
  long silent_after = -1, hangup_after = -1, exit_after_ends = -1;
  std::vector<std::string> stuck_texts;
  std::string radios_dir;  // empty: one radio
  double unplugged_ms = 1500;
};

void add_options(CLI::App& app, Sim_options& o);

// The radio every option but the files makes, and the band code of its identification (a new
// memory is of that band).
struct Radio_setup {
  Radio_options options;
  uint8_t band_code = 0;
};
// The reason when a value cannot be taken.
std::variant<Radio_setup, std::string> radio_setup(const Sim_options& o);
// With --radios, how long no radio is plugged in between two; else none (the radio stays).
std::optional<std::chrono::microseconds> unplugged_gap(const Sim_options& o);

// "0x00A", "10", "012": an address of the radio's memory, as --stuck and NAME.stuck give it (C's
// notations: hex with 0x, octal with a leading 0, else decimal; nothing else around it).
std::optional<int> memory_address(const std::string& text);

}  // namespace tirna::sim
