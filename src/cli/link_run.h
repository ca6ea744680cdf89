#pragma once
// What a link command sets up for its transfers: the port from --port (a device path, or "COMn"
// mapped through the program folder's config.ini), the clock, Ctrl-C, the optional traffic trace,
// and the one place that turns a transfer's end into output and exit status.

#include <CLI/CLI.hpp>
#include <QCoreApplication>
#include <initializer_list>
#include <optional>
#include <sstream>
#include <string>

#include "cli/terminal_view.h"
#include "core/link/handshake.h"
#include "core/link/traced_transport.h"
#include "core/transfer/transfer_result.h"
#include "platform/event_loop_clock.h"
#include "platform/serial_port.h"
#include "platform/stop_signals.h"

namespace tirna::cli {

struct Link_options {
  std::string port;
  std::string trace;
  std::string program_folder;
};

// --port (required), --trace and --program-folder.
void add_link_options(CLI::App* cmd, Link_options& o);

// The program folder whose config.ini maps COMn: the one --program-folder names; for the installed
// program the user's own, where the window started from the menu keeps its config.ini; else the
// current folder (empty).
std::string program_folder_of(const std::string& program_folder);

class Link_run {
 public:
  // files: the command's other files (its parameter file, its output); the trace may name none of
  // them. Checks the trace before anything is sent, and prints which file mapped a COMn.
  Link_run(const Link_options& options, std::initializer_list<std::string> files);
  // A run left by a failure still saves its trace (a failure to save it is reported on stderr).
  ~Link_run();

  // Prints the radio's band and version (once while the same radio answers) and the transfer's
  // message on success; throws Command_failed with the status of any other ending. Each transfer
  // of the run is finished before the next starts. Ctrl-C ends the command here (status 130), also
  // when it came after the transfer completed.
  void finish(const Transfer_result& result);

  // Ends a successful run: the port closed, the trace saved (status 3 when it cannot be).
  void close();

  // The radio's identification; only after a transfer of the run completed.
  const Radio_identification& identification() const { return identification_.value(); }
  // The identification of the last handshake that got one, if any.
  const std::optional<Radio_identification>& radio() const { return identification_; }

 private:
  std::string port_failure_text() const;
  [[noreturn]] void stopped() const;
  std::optional<std::string> save_trace();

  QCoreApplication app_;
  Stop_signals stop_;
  SerialPort port_;
  Blocking_clock clock_;
  std::string trace_path_;
  std::ostringstream trace_;
  std::optional<Traced_transport> traced_;
  Transport& transport_;
  Programmer_choice programmer_;
  std::optional<Radio_identification> identification_;
  std::string port_name_;
  std::string radio_line_;  // the last one printed
  bool closed_ = false;

 public:
  Terminal_view view;
  Link_session session;
};

}  // namespace tirna::cli
