// tirna520-sim: a Тирна-520 radio on a pseudo-terminal (or a given serial device), for tests,
// benchmarks and trying the program without a radio.
//
// Prints the device path on the first line of stdout, then answers the handshake, read requests,
// write frames and "END" at the pace of a 9600-baud line until SIGTERM, SIGINT or SIGHUP, until
// the radio hangs up (--hangup-after) or after --exit-after-ends closing strings.
// Three parts: the options (sim_options.h), the radios (radio_files.h), the loop (serve_loop.h).

#include <CLI/CLI.hpp>
#include <iostream>
#include <variant>

#include "sim/radio_files.h"
#include "sim/serve_loop.h"

namespace {

using namespace tirna;
using namespace tirna::sim;

int fail(int status, const std::string& message) {
  std::cerr << "tirna520-sim: " << message << '\n';
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"tirna520-sim: a simulated Тирна-520 radio on a pseudo-terminal"};
  app.set_version_flag("--version", "tirna520-sim " TIRNA_VERSION);
  Sim_options o;
  add_options(app, o);
  CLI11_PARSE(app, argc, argv);

  const auto setup = radio_setup(o);
  if (const auto* reason = std::get_if<std::string>(&setup)) return fail(2, *reason);
  auto radios = load_radios(o, std::get<Radio_setup>(setup));
  if (const auto* failure = std::get_if<Load_failure>(&radios)) {
    return fail(failure->status, failure->message);
  }
  auto opened = open_device(o.device_path);
  if (const auto* reason = std::get_if<std::string>(&opened)) return fail(1, *reason);
  Device& device = std::get<Device>(opened);

  auto opened_log = open_log(o.log_path);
  if (const auto* reason = std::get_if<std::string>(&opened_log)) return fail(1, *reason);
  Log& log = std::get<Log>(opened_log);
  Radio_queue radio(std::move(std::get<std::vector<Queued_radio>>(radios)), unplugged_gap(o));
  radio.log = [&](const std::string& text) { log.line(text); };
  int status = 0;
  auto save = [&](const Queued_radio& r) {
    if (const auto error = save_radio(o, r)) status = fail(1, *error);
  };
  radio.unplugged = save;
  Paced_line line(o.baud);

  log.line("exit: " + serve(device, radio, line, o.exit_after_ends));

  device.close();
  // The radio still plugged in (the single one) keeps what the program left in it.
  const auto& all = radio.radios();
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (radio.plugged() == static_cast<long>(i)) save(all[i]);
  }
  return status;
}
