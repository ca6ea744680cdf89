// doctor: why the radio does not answer. Walks the programming link port by port (the device,
// the access to it, who holds it, the line, the radio) and names the first broken link and its
// fix; the exit status tells the class.

#include <QCoreApplication>
#include <iostream>

#include "cli/commands.h"
#include "cli/file_io.h"
#include "cli/link_run.h"
#include "cli/port_mapping.h"
#include "cli/qt_application.h"
#include "core/text/messages.h"
#include "platform/config_file.h"
#include "platform/event_loop_clock.h"
#include "platform/link_doctor.h"
#include "platform/port_names.h"
#include "platform/stop_signals.h"

namespace tirna::cli {

namespace {

struct Doctor_options {
  std::string port, bundle, program_folder, file;
};

// The port the window would use: COMn of config.ini's programmer choice, mapped as --port COMn is.
Port_request configured_port(const Doctor_options& o, const Program_config& config) {
  const int n =
      config.ini ? config.ini->integer(config_section, config_key_port).value_or(0) + 1 : 1;
  const Port_mapping m =
      map_com_port(n, program_folder_of(o.program_folder), !o.program_folder.empty());
  return {m.device, "COM" + std::to_string(n) + ": " + m.source};
}

void run_doctor(const Doctor_options& o) {
  std::optional<int> band;
  if (!o.file.empty()) band = open_or_fail(o.file).state.band_index;
  if (!o.bundle.empty()) {
    refuse_output_over_input(o.bundle, {o.file});
    check_output_or_fail(o.bundle);
  }
  const Program_config config =
      program_config(program_folder_of(o.program_folder), !o.program_folder.empty());
  Doctor_request request;
  if (o.port.empty()) {
    request.ports.push_back(configured_port(o, config));
  } else if (const auto n = com_port_number(o.port)) {
    const Port_mapping m =
        map_com_port(*n, program_folder_of(o.program_folder), !o.program_folder.empty());
    request.ports.push_back({m.device, o.port + ": " + m.source});
    request.add_found = false;
  } else {
    request.ports.push_back({o.port, "--port"});
    request.add_found = false;
  }
  request.file_band_index = band;

  QCoreApplication app(qt_argc(), qt_argv());
  Stop_signals stop;
  Blocking_clock clock(stop.fd());
  std::size_t printed = 0;
  const Link_diagnosis d = run_link_doctor(request, clock, SerialPort::Wait_mode::blocking,
                                           stop.fd(), [&](const Link_diagnosis& so_far) {
                                             for (; printed < so_far.ports.size(); ++printed) {
                                               std::cout << port_text(so_far.ports[printed])
                                                         << std::flush;
                                             }
                                           });
  std::cout << verdict_text(d) << std::flush;
  if (!o.bundle.empty()) {
    if (const auto error = save_diagnosis_bundle(
            o.bundle, d, config.ini ? config_ports_text(*config.ini) : std::string())) {
      throw Command_failed(exit_file_error, o.bundle + ": " + with_full_stop(error->text()));
    }
    std::cout << "Сведения для отчёта: " << o.bundle << '\n';
  }
  if (d.status() != exit_ok) throw Command_failed(d.status(), "");
}

}  // namespace

void add_doctor_command(CLI::App& app) {
  auto* cmd = app.add_subcommand(
      "doctor",
      "Why the radio does not answer: check the device, the access, who holds the port, the line "
      "and the radio, and name the first broken link with its fix");
  auto o = std::make_shared<Doctor_options>();
  cmd->add_option("--port", o->port,
                  "Check only this port: a device or COMn (default: the port config.ini's "
                  "programmer choice maps, then every serial port found)");
  cmd->add_option("--bundle", o->bundle,
                  "Save what a report needs as a tar.gz: the checks, the handshake's trace, the "
                  "versions and the ports part of config.ini")
      ->type_name("FILE");
  cmd->add_option("--program-folder", o->program_folder,
                  "The folder whose config.ini maps COMn (as for the link commands)")
      ->type_name("DIR");
  cmd->add_option("FILE", o->file,
                  "A parameter file (*.tn5) to be written: a radio of another band is a fault");
  cmd->footer(
      "Each check says ok (норма), warning (внимание) or broken (сбой) in one line; the checks\n"
      "after a broken one are not run. The radio is tried with one handshake, followed when it\n"
      "succeeds by the read of the additional data (the factory number); nothing is written.\n"
      "Exit status: 0 the link works; 20 device, 21 access, 22 held by another program, 4 the\n"
      "port did not open otherwise; 23 silent radio, 24 echoing cable, 25 bytes without an\n"
      "acknowledgement, 26 negative acknowledgement, 27 identification of another layout, 6 other\n"
      "band than FILE's (or neither), 5 the radio failed after entering programming mode.");
  cmd->callback([o] { run_doctor(*o); });
}

}  // namespace tirna::cli
