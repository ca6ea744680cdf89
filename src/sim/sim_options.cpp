#include "sim/sim_options.h"

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <stdexcept>

#include "core/image/param_image.h"

namespace tirna::sim {
namespace {

std::vector<uint8_t> parse_hex(const std::string& text) {
  std::vector<uint8_t> out;
  std::string digits;
  for (char c : text) {
    if (std::isxdigit(static_cast<unsigned char>(c))) {
      digits += c;
    } else if (c != ' ' && c != ':' && c != ',') {
      throw CLI::ValidationError("hex bytes", "not a hex digit: " + std::string(1, c));
    }
  }
  if (digits.size() % 2 != 0) throw CLI::ValidationError("hex bytes", "odd number of digits");
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    out.push_back(static_cast<uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
  }
  return out;
}

std::chrono::microseconds from_ms(double ms) {
  return std::chrono::microseconds(static_cast<long>(ms * 1000));
}

}  // namespace

void add_options(CLI::App& app, Sim_options& o) {
  app.add_option("--device", o.device_path, "Serve this serial device instead of a new pty");
  app.add_option("--memory", o.memory_path, "Radio memory from a parameter file (*.tn5)");
  app.add_option("--band-code", o.band_code_text, "Band code of the identification (0x00, 0x06)");
  app.add_option("--radio-version", o.version, "Radio version of the identification")
      ->check(CLI::Range(0, 255));
  app.add_option("--ident", o.identification_hex, "The 8 identification bytes, hex");
  app.add_option("--reaction-ms", o.reaction_ms, "Time before every answer")
      ->check(CLI::Range(0.0, 60000.0));
  app.add_option("--packet-delay-ms", o.packet_delay_ms,
                 "Time besides, before every read reply and frame answer")
      ->check(CLI::Range(0.0, 60000.0));
  app.add_flag("--silent", o.silent, "Never answer");
  app.add_option("--noise", o.noise_hex, "Bytes sent before the first acknowledgement, hex");
  app.add_option("--noise-between", o.noise_between_hex,
                 "Bytes sent before every later acknowledgement, hex");
  app.add_option("--reply-noise", o.reply_noise_hex, "Bytes sent before every read reply, hex");
  app.add_flag("--nak", o.nak, "Answer write frames with 0x15");
  app.add_flag("--echo", o.echo, "Send every byte received back at once, before any answer");
  app.add_option("--request-answer", o.request_answer_hex,
                 "Answer the programming request with these bytes, hex (15: refused)");
  app.add_option("--silent-after", o.silent_after, "Answer this many packets, then fall silent");
  app.add_option("--hangup-after", o.hangup_after, "Hang up after answering this many packets");
  app.add_option("--stuck", o.stuck_texts,
                 "A memory address (0x000-0x3FF) whose byte write frames do not change, as a worn "
                 "memory cell; may be repeated");
  app.add_option("--exit-after-ends", o.exit_after_ends, "Exit after this many END strings");
  app.add_option("--baud", o.baud, "Line speed")->check(CLI::Range(300, 115200));
  app.add_option("--save", o.save_path,
                 "Save the memory to this parameter file on exit (with --radios: a folder, where "
                 "each radio's memory is saved under its file's name when it is taken away)");
  app.add_option("--radios", o.radios_dir,
                 "Play the radios of this folder one after the other, one *.tn5 each (in name "
                 "order), identified by its memory; NAME.stuck beside NAME.tn5 lists addresses "
                 "stuck in that radio. A radio is taken away once the program lets it go without "
                 "a read or a write")
      ->type_name("DIR")
      ->excludes("--memory");
  app.add_option("--unplugged-ms", o.unplugged_ms,
                 "With --radios: how long no radio answers between two")
      ->check(CLI::Range(0.0, 600000.0));
  app.add_option("--log", o.log_path, "Log every request and frame to this file");
}

std::optional<int> memory_address(const std::string& text) {
  char* end = nullptr;
  errno = 0;
  const long address = std::strtol(text.c_str(), &end, 0);
  if (end == text.c_str() || *end != '\0' || errno == ERANGE || address < 0 ||
      address >= memory_size) {
    return std::nullopt;
  }
  return static_cast<int>(address);
}

std::variant<Radio_setup, std::string> radio_setup(const Sim_options& o) {
  Radio_setup setup;
  Radio_options& options = setup.options;
  try {
    setup.band_code = static_cast<uint8_t>(std::stoi(o.band_code_text, nullptr, 0));
    options.noise = parse_hex(o.noise_hex);
    options.noise_between = parse_hex(o.noise_between_hex);
    options.reply_noise = parse_hex(o.reply_noise_hex);
    options.request_answer = parse_hex(o.request_answer_hex);
    for (const auto& text : o.stuck_texts) {
      const auto address = memory_address(text);
      if (!address) throw std::invalid_argument("--stuck: not a memory address: " + text);
      options.stuck.push_back(*address);
    }
    options.identification = o.identification_hex.empty()
                                 ? std::vector<uint8_t>{0x50,
                                                        0x31,
                                                        0x36,
                                                        0x30,
                                                        0x30,
                                                        setup.band_code,
                                                        static_cast<uint8_t>(o.version),
                                                        0x00}
                                 : parse_hex(o.identification_hex);
  } catch (const std::exception& e) {
    return e.what();
  }
  options.silent = o.silent;
  options.echo = o.echo;
  if (o.nak) options.frame_answer = 0x15;
  options.reaction = from_ms(o.reaction_ms);
  options.packet_delay = from_ms(o.packet_delay_ms);
  options.silent_after = o.silent_after;
  options.hangup_after = o.hangup_after;
  return setup;
}

std::optional<std::chrono::microseconds> unplugged_gap(const Sim_options& o) {
  if (o.radios_dir.empty()) return std::nullopt;
  return from_ms(o.unplugged_ms);
}

}  // namespace tirna::sim
