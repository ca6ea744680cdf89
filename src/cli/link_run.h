#pragma once
// What a link command sets up for its transfers: the Qt event loop the port waits in, the port from
// --port (a device path, or "COMn" mapped as the window maps it), the clock, the optional traffic
// trace, and the one place that turns a transfer's end into output and exit status.

#include <CLI/CLI.hpp>
#include <QCoreApplication>
#include <fstream>
#include <optional>
#include <string>

#include "cli/terminal_view.h"
#include "core/link/handshake.h"
#include "core/link/traced_transport.h"
#include "core/transfer/transfer_result.h"
#include "platform/event_loop_clock.h"
#include "platform/serial_port.h"

namespace tirna::cli {

struct Link_options {
  std::string port;
  std::string trace;
};

// --port (required) and --trace.
void add_link_options(CLI::App* cmd, Link_options& o);

class Link_run {
 public:
  explicit Link_run(const Link_options& options);

  // Prints the radio's band and version (once while the same radio answers) and the transfer's
  // message on success; throws Command_failed with the status of any other ending. Each transfer
  // of the run is finished before the next starts.
  void finish(const Transfer_result& result);

  const Radio_identification& identification() const { return identification_; }

 private:
  std::string port_failure_text() const;

  static inline int argc_ = 1;
  static inline char name_[] = "tirna520-cli";
  static inline char* argv_[] = {name_, nullptr};
  QCoreApplication app_;
  SerialPort port_;
  Event_loop_clock clock_;
  std::ofstream trace_file_;
  std::optional<Traced_transport> traced_;
  Transport& transport_;
  Programmer_choice programmer_;
  Radio_identification identification_;
  std::string port_name_;
  std::string radio_line_;  // the last one printed

 public:
  Terminal_view view;
  Link_session session;
};

}  // namespace tirna::cli
