#include "cli/terminal_view.h"

#include <unistd.h>

#include <iostream>

#include "cli/terminal_output.h"

namespace tirna::cli {

Terminal_view::Terminal_view() : bar_(::isatty(STDERR_FILENO) == 1) {}

// The caption ("Чтение", "Запись") rather than the window's long text, so that the bar fits a line.
void Terminal_view::show_progress(std::string_view caption, std::string_view, int maximum) {
  shown_ = true;
  label_ = std::string(caption);
  draw(Progress{0, maximum});
}

void Terminal_view::update_progress(const Progress& progress) {
  draw(progress);
}

void Terminal_view::close_progress() {
  if (shown_ && bar_) std::cerr << '\n' << std::flush;
  shown_ = false;
}

void Terminal_view::draw(const Progress& progress) {
  if (!bar_) return;
  constexpr int width = 30;
  const int filled = progress.position * width / progress.maximum;
  raw_err() << '\r' << label_ << " [" << std::string(static_cast<std::size_t>(filled), '#')
            << std::string(static_cast<std::size_t>(width - filled), '.') << "] "
            << progress.label() << std::flush;
}

std::string terminal_text(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    if (c == '\r') c = '\n';
  }
  return out;
}

}  // namespace tirna::cli
