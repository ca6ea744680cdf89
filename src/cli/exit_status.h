#pragma once
// Exit statuses of tirna520-cli: the core's one table (core/transfer/exit_status.h), as the help
// shows it.

#include <string>

#include "core/transfer/exit_status.h"

namespace tirna::cli {

using tirna::Exit_status;
using enum tirna::Exit_status;

// "Exit status:" and a line per status: "  0  success", ...
inline std::string exit_status_help() {
  std::string text = "Exit status:\n";
  for (const auto& [status, meaning] : exit_status_table) {
    text += "  " + std::to_string(static_cast<int>(status)) + "  " + std::string(meaning) + "\n";
  }
  return text;
}

}  // namespace tirna::cli
