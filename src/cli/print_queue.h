#pragma once
// Sending a finished PDF to a printer queue of CUPS, as one job, the way the window's printing
// reaches the same queue (CUPS takes PDF as its job format).

#include <optional>
#include <string>
#include <string_view>

namespace tirna::cli {

// The queue CUPS prints to when none is named (lpoptions, $PRINTER, the server's default);
// nullopt when there is none.
std::optional<std::string> default_print_queue();

// Prints `pdf` on `queue` as a job named `title` on A4 paper. Returns the job number, or the
// failure as CUPS words it.
struct Print_result {
  int job = 0;
  std::string failure;
};
Print_result print_pdf(const std::string& queue, const std::string& title, std::string_view pdf);

}  // namespace tirna::cli
