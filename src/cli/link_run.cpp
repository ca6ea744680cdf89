#include "cli/link_run.h"

#include <csignal>
#include <iostream>

#include "cli/commands.h"
#include "cli/file_io.h"
#include "cli/port_mapping.h"
#include "cli/qt_application.h"
#include "core/text/messages.h"
#include "platform/files/safe_file.h"
#include "platform/install_paths.h"
#include "platform/port_names.h"

namespace tirna::cli {

namespace {

std::string signal_name(int s) {
  switch (s) {
    case SIGINT:
      return "SIGINT";
    case SIGTERM:
      return "SIGTERM";
    case SIGHUP:
      return "SIGHUP";
    case SIGPIPE:
      return "SIGPIPE: вывод закрыт";
    default:
      return "signal " + std::to_string(s);
  }
}

}  // namespace

std::string program_folder_of(const std::string& program_folder) {
  if (!program_folder.empty()) return program_folder;
  if (!installed_share_folder().empty()) return user_program_folder();
  return "";
}

void add_link_options(CLI::App* cmd, Link_options& o) {
  cmd->add_option("--port", o.port,
                  "The programmer's port: a device (/dev/ttyUSB0) or COMn (config.ini of the "
                  "program folder, section [Порты], key COMn, else /dev/ttyUSB<n-1>)")
      ->required();
  cmd->add_option("--trace", o.trace,
                  "Write every byte sent and received, with times, to FILE (saved at the end, "
                  "also when the transfer fails)");
  cmd->add_option("--program-folder", o.program_folder,
                  "The folder whose config.ini maps COMn (default: the current folder, or for "
                  "the installed program ~/.local/share/tirna520; taken only when it and its "
                  "config.ini are the user's own)")
      ->type_name("DIR");
}

Link_run::Link_run(const Link_options& options, std::initializer_list<std::string> files)
    : app_(qt_argc(), qt_argv()),
      stop_(),
      port_([options](int n) {
        return map_com_port(n, program_folder_of(options.program_folder), !options.program_folder.empty()).device;
      }),
      clock_(stop_.fd()),
      trace_path_(options.trace),
      transport_(trace_path_.empty() ? static_cast<Transport&>(port_)
                                     : traced_.emplace(port_, clock_, trace_)),
      session{transport_, clock_, programmer_, identification_} {
  if (!trace_path_.empty()) {
    for (const std::string& file : files) refuse_output_over_input(trace_path_, {file});
    if (const auto error = check_save_target(trace_path_)) {
      closed_ = true;  // nothing to save
      throw Command_failed(exit_file_error, trace_path_ + ": " + with_full_stop(error->text()));
    }
  }
  port_.set_wait_mode(SerialPort::Wait_mode::blocking);  // no window to keep responsive
  port_.set_stop_fd(stop_.fd());
  if (const auto n = com_port_number(options.port)) {
    programmer_.port_index = *n - 1;
    const Port_mapping mapping =
        map_com_port(*n, program_folder_of(options.program_folder), !options.program_folder.empty());
    std::cout << "Порт " << options.port << ": " << mapping.device << " (" << mapping.source
              << ")\n";
  } else {
    port_.set_fixed_device(options.port);
  }
  port_name_ = options.port;
}

Link_run::~Link_run() {
  if (closed_) return;
  port_.close();
  if (const auto failure = save_trace()) std::cerr << *failure << '\n';
}

void Link_run::close() {
  closed_ = true;
  port_.close();
  if (const auto failure = save_trace()) throw Command_failed(exit_file_error, *failure);
}

std::optional<std::string> Link_run::save_trace() {
  if (trace_path_.empty()) return std::nullopt;
  if (const auto error = save_file(trace_path_, trace_.str())) {
    return trace_path_ + ": " + with_full_stop(error->text());
  }
  return std::nullopt;
}

void Link_run::stopped() const {
  throw Command_failed(exit_interrupted,
                       "Прервано (" + signal_name(stop_.signal()) +
                           "): передача остановлена, радиостанции отправлено END, порт закрыт.");
}

void Link_run::finish(const Transfer_result& result) {
  if (result.handshake.entered()) {
    const std::string line = "Радиостанция: " + band_code_text(identification_->band_code()) +
                             ", версия " + std::to_string(identification_->radio_version());
    if (line != radio_line_) std::cout << line << '\n';
    radio_line_ = line;
  }
  const std::string message =
      view.messages.empty() ? std::string() : terminal_text(view.messages.back().text);
  view.messages.clear();  // the next transfer of the run shows its own
  if (result.status == Link_status::stopped) stopped();
  const Exit_status status = exit_status_of(result.status);
  switch (result.status) {
    case Link_status::ok:
      if (!message.empty()) std::cout << message << '\n';
      if (stop_.signal() != 0) stopped();
      return;
    case Link_status::port_not_opened:
      throw Command_failed(status, port_failure_text());
    case Link_status::link_lost:
      throw Command_failed(status, message + "\n(" + transport_.last_error() + ")");
    default:
      throw Command_failed(status, message);
  }
}

std::string Link_run::port_failure_text() const {
  std::string text = "Не удается открыть порт " + port_name_;
  if (port_name_ != port_.device()) text += " (" + port_.device() + ")";
  text += ".\nВозможно, порт занят другим приложением или отключен аппаратно.";
  if (view.open_error) {
    text += "\n" + view.open_error->text;
    if (!view.open_error->holder.empty()) text += "\n" + view.open_error->holder;
    if (view.open_error->kind == Open_error::Kind::permission_denied) {
      text +=
          "\nНет прав на порт: добавьте пользователя в группу dialout "
          "(sudo usermod -aG dialout $USER) и войдите в систему заново.";
    }
  }
  return text;
}

}  // namespace tirna::cli
