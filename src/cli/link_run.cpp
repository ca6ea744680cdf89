#include "cli/link_run.h"

#include <iostream>

#include "cli/commands.h"
#include "platform/ini_file.h"
#include "platform/port_names.h"

namespace tirna::cli {

namespace {

// config.ini of the current folder, as the window reads it.
std::string device_of_port(int port_number) {
  const auto ini = read_ini_file("config.ini");
  return port_device(port_number, ini ? configured_port_device(*ini, port_number) : std::nullopt);
}

Transport& traced_or(Transport& port, std::optional<Traced_transport>& traced, std::ofstream& file,
                     const Link_clock& clock, const std::string& path) {
  if (path.empty()) return port;
  file.open(path, std::ios::out | std::ios::trunc);
  if (!file) throw Command_failed(exit_file_error, path + ": File access denied.");
  return traced.emplace(port, clock, file);
}

}  // namespace

void add_link_options(CLI::App* cmd, Link_options& o) {
  cmd->add_option("--port", o.port,
                  "The programmer's port: a device (/dev/ttyUSB0) or COMn (config.ini section "
                  "[Порты], key COMn, else /dev/ttyUSB<n-1>)")
      ->required();
  cmd->add_option("--trace", o.trace, "Write every byte sent and received, with times, to FILE");
}

Link_run::Link_run(const Link_options& options)
    : app_(argc_, argv_),
      port_(device_of_port),
      transport_(traced_or(port_, traced_, trace_file_, clock_, options.trace)),
      session{transport_, clock_, programmer_, identification_} {
  port_.set_wait_mode(SerialPort::Wait_mode::blocking);  // no window to keep responsive
  if (const auto n = com_port_number(options.port)) {
    programmer_.port_index = *n - 1;
  } else {
    port_.set_fixed_device(options.port);
  }
  port_name_ = options.port;
}

void Link_run::finish(const Transfer_result& result) {
  if (result.handshake.entered()) {
    const std::string line = "Радиостанция: " + band_code_text(identification_.band_code()) +
                             ", версия " + std::to_string(identification_.radio_version);
    if (line != radio_line_) std::cout << line << '\n';
    radio_line_ = line;
  }
  const std::string message =
      view.messages.empty() ? std::string() : terminal_text(view.messages.back().text);
  view.messages.clear();  // the next transfer of the run shows its own
  switch (result.status) {
    case Transfer_status::completed:
      if (!message.empty()) std::cout << message << '\n';
      return;
    case Transfer_status::port_not_opened:
      throw Command_failed(exit_port, port_failure_text());
    case Transfer_status::corrupt_headers:
      throw Command_failed(exit_refused, message);
    case Transfer_status::band_mismatch:
      throw Command_failed(exit_band_mismatch, message);
    case Transfer_status::link_lost:
      throw Command_failed(exit_no_answer, message + "\n(" + transport_.last_error() + ")");
    case Transfer_status::usb_programmer:
    case Transfer_status::no_answer:
    case Transfer_status::timed_out:
    case Transfer_status::bad_reply:
      break;
  }
  throw Command_failed(exit_no_answer, message);
}

std::string Link_run::port_failure_text() const {
  std::string text = "Не удается открыть порт " + port_name_;
  if (port_name_ != port_.device()) text += " (" + port_.device() + ")";
  text += ".\nВозможно, порт занят другим приложением или отключен аппаратно.";
  if (view.open_error) {
    text += "\n" + view.open_error->text;
    if (view.open_error->kind == Open_error::Kind::permission_denied) {
      text +=
          "\nНет прав на порт: добавьте пользователя в группу dialout "
          "(sudo usermod -aG dialout $USER) и войдите в систему заново.";
    }
  }
  return text;
}

}  // namespace tirna::cli
