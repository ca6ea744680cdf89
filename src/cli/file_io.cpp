#include "cli/file_io.h"

#include <unistd.h>

#include <iostream>

#include "cli/commands.h"
#include "cli/terminal_output.h"
#include "core/text/messages.h"
#include "platform/files/safe_file.h"

namespace tirna::cli {
namespace {

std::string size_text(std::size_t bytes) {
  return bytes >= (1u << 20) ? std::to_string(bytes >> 20) + " MB" : std::to_string(bytes >> 10) + " KB";
}

[[noreturn]] void fail(const std::string& where, const Io_error& error, std::size_t limit) {
  std::string text = error.text();
  if (error.kind == Io_error::too_large) text += " (more than " + size_text(limit) + ")";
  throw Command_failed(exit_file_error, where + ": " + with_full_stop(text));
}

}  // namespace

std::string read_input_or_fail(const std::string& path, std::size_t limit) {
  auto read = path == "-" ? read_stream(STDIN_FILENO, limit) : read_file(path, limit);
  if (auto* error = std::get_if<Io_error>(&read)) {
    fail(path == "-" ? "standard input" : path, *error, limit);
  }
  return std::get<std::string>(std::move(read));
}

void write_output_or_fail(const std::string& path, std::string_view bytes) {
  if (path == "-") {
    std::cout.flush();  // what was said before the data stays before it
    raw_out().write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    raw_out().flush();
    if (!raw_out()) throw Command_failed(exit_file_error, "standard output: write error");
    return;
  }
  if (const auto error = save_file(path, bytes)) fail(path, *error, 0);
}

void check_output_or_fail(const std::string& path) {
  if (path == "-") return;
  if (const auto error = check_save_target(path)) fail(path, *error, 0);
}

void refuse_output_over_input(const std::string& output,
                              std::initializer_list<std::string> inputs) {
  if (output.empty() || output == "-") return;
  for (const std::string& input : inputs) {
    if (input.empty() || input == "-" || !same_file(output, input)) continue;
    const std::string also = output == input ? "" : " (" + input + ")";
    throw Command_failed(exit_usage, output + ": the output is the input file" + also +
                                         "; it would be overwritten");
  }
}

}  // namespace tirna::cli
