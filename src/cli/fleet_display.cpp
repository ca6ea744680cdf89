#include "cli/fleet_display.h"

#include <unistd.h>

#include <iostream>

#include "cli/terminal_output.h"

namespace tirna::cli {

namespace {

const char* phase_text(Fleet_phase phase) {
  switch (phase) {
    case Fleet_phase::waiting:
      return "waiting for a radio";
    case Fleet_phase::reading:
      return "reading";
    case Fleet_phase::writing:
      return "writing";
    case Fleet_phase::writing_text:
      return "writing the free text";
    case Fleet_phase::checking:
      return "checking";
    case Fleet_phase::unplugging:
      return "unplug the radio";
  }
  return "";
}

}  // namespace

Live_lines::Live_lines(std::size_t ports, const std::vector<Port_counts>& counts)
    : lines_(ports), counts_(counts), terminal_(::isatty(STDOUT_FILENO) == 1) {}

void Live_lines::set_name(std::size_t port, const std::string& name) {
  lines_[port].name = name;
}

void Live_lines::phase(std::size_t port, Fleet_phase phase, const std::string& number) {
  Line& line = lines_[port];
  line.phase = phase_text(phase);
  if (!number.empty() && phase != Fleet_phase::waiting) line.phase += " " + number;
  line.progress.clear();
  if (terminal_) {
    redraw();
  } else if (line.phase != line.printed) {
    std::cout << line.name << ": " << line.phase << '\n' << std::flush;
    line.printed = line.phase;
  }
}

void Live_lines::progress(std::size_t port, const std::string& text) {
  if (!terminal_) return;
  lines_[port].progress = text;
  redraw();
}

void Live_lines::port_failed(std::size_t port) {
  lines_[port].phase = "port failed";
}

void Live_lines::event(const std::string& text) {
  if (terminal_) clear_block();
  std::cout << text << '\n';
  if (terminal_) redraw();
  std::cout << std::flush;
}

// Failures go to standard error, as every command's do.
void Live_lines::failure(const std::string& text) {
  if (terminal_) clear_block();
  std::cout << std::flush;
  std::cerr << text << '\n' << std::flush;
  if (terminal_) redraw();
}

void Live_lines::bell() {
  if (terminal_) raw_out() << '\a' << std::flush;
}

bool Live_lines::output_closed() const {
  return !std::cout;
}

void Live_lines::close() {
  std::ostream& out = std::cout ? std::cout : std::cerr;
  if (terminal_ && drawn_ > 0) out << '\n';
  int done = 0, failed = 0;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    out << lines_[i].name << ": done " << counts_[i].done << ", failed " << counts_[i].failed
        << '\n';
    done += counts_[i].done;
    failed += counts_[i].failed;
  }
  out << "Total: done " << done << ", failed " << failed << '\n' << std::flush;
}

void Live_lines::clear_block() {
  std::cout << std::flush;
  for (int i = 0; i < drawn_; ++i) raw_out() << "\033[1A\r\033[2K";
  drawn_ = 0;
}

void Live_lines::redraw() {
  clear_block();
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    std::cout << lines_[i].name << ": " << lines_[i].phase;
    if (!lines_[i].progress.empty()) std::cout << " " << lines_[i].progress;
    std::cout << "  | done " << counts_[i].done << ", failed " << counts_[i].failed << '\n';
  }
  drawn_ = static_cast<int>(lines_.size());
  std::cout << std::flush;
}

}  // namespace tirna::cli
