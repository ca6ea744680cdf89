#pragma once
// The fleet's output: one live line per port on a terminal (its phase, its progress, its counts),
// redrawn in place with escape codes, and the events (a radio's end, a failure) printed above
// them; to a pipe or file, each change of phase and each event as a line of its own. Not
// thread-safe: the fleet's state calls it under its own lock.

#include <string>
#include <vector>

#include "core/fleet/fleet_worker.h"

namespace tirna::cli {

// The radios done and failed on one port.
struct Port_counts {
  int done = 0, failed = 0;
};

class Live_lines {
 public:
  // counts: the ports' counts, kept by the caller, shown on each port's line.
  Live_lines(std::size_t ports, const std::vector<Port_counts>& counts);

  void set_name(std::size_t port, const std::string& name);
  const std::string& name(std::size_t port) const { return lines_[port].name; }
  // The port's phase, with the radio's factory number once known.
  void phase(std::size_t port, Fleet_phase phase, const std::string& factory_number);
  // The transfer's progress ("42%"), on a terminal only; empty when it ended.
  void progress(std::size_t port, const std::string& text);
  // A port's work ended on a failure: its line says so.
  void port_failed(std::size_t port);
  // A line on standard output above the live lines.
  void event(const std::string& text);
  // A line on standard error, the live lines kept below it.
  void failure(const std::string& text);
  // The bell, on a terminal: a radio is finished.
  void bell();
  // Leaves the lines' last state on the screen and prints the totals (on standard error when
  // standard output was closed).
  void close();
  // Standard output was closed (| head): nobody reads the run's lines any more.
  bool output_closed() const;

 private:
  struct Line {
    std::string name, phase, progress, printed;
  };
  void clear_block();
  void redraw();

  std::vector<Line> lines_;
  const std::vector<Port_counts>& counts_;
  bool terminal_;
  int drawn_ = 0;
};

}  // namespace tirna::cli
