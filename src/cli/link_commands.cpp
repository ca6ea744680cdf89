// read, write, read-extra and write-extra: the transfers with a radio, through the programmer on a
// serial port.

#include <QCoreApplication>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/commands.h"
#include "cli/terminal_view.h"
#include "core/link/traced_transport.h"
#include "core/pages/extra_data.h"
#include "core/transfer/extra_data_transfer.h"
#include "core/transfer/read_image.h"
#include "core/transfer/write_image.h"
#include "platform/event_loop_clock.h"
#include "platform/ini_file.h"
#include "platform/port_names.h"
#include "platform/serial_port.h"

namespace tirna::cli {

namespace {

struct Link_options {
  std::string port;
  std::string trace;
};

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

// What one link command sets up: the Qt event loop the port waits in, the port from --port (a
// device path, or "COMn" mapped as the window maps it), the clock, the optional traffic trace.
class Link_run {
 public:
  explicit Link_run(const Link_options& options)
      : app_(argc_, argv_),
        port_(device_of_port),
        transport_(traced_or(port_, traced_, trace_file_, clock_, options.trace)),
        session{transport_, clock_, programmer_, identification_} {
    port_.set_wait_mode(SerialPort::Wait_mode::blocking);  // no window to keep responsive
    if (const auto n = com_port_number(options.port)) {
      programmer_.port_index = *n - 1;
      port_name_ = options.port;
    } else {
      port_.set_fixed_device(options.port);
      port_name_ = options.port;
    }
  }

  Terminal_view view;

  // The one place that turns a transfer's end into the command's output and exit status.
  void finish(const Transfer_result& result) {
    if (result.handshake.entered()) {
      std::cout << "Радиостанция: " << band_code_text(identification_.band_code()) << ", версия "
                << int(identification_.radio_version) << '\n';
    }
    const std::string message =
        view.messages.empty() ? std::string() : terminal_text(view.messages.back().text);
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

 private:
  std::string port_failure_text() const {
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

 public:
  Link_session session;
};

void add_link_options(CLI::App* cmd, Link_options& o) {
  cmd->add_option("--port", o.port,
                  "The programmer's port: a device (/dev/ttyUSB0) or COMn (config.ini section "
                  "[Порты], key COMn, else /dev/ttyUSB<n-1>)")
      ->required();
  cmd->add_option("--trace", o.trace, "Write every byte sent and received, with times, to FILE");
}

std::string read_text_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    const bool exists = std::filesystem::exists(path);
    throw Command_failed(exit_file_error,
                         path + (exists ? ": File access denied." : ": File not found."));
  }
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

void add_link_commands(CLI::App& app) {
  {
    auto* cmd = app.add_subcommand("read", "Read the radio's parameters into a file");
    struct Options : Link_options {
      std::string output;
    };
    auto o = std::make_shared<Options>();
    add_link_options(cmd, *o);
    cmd->add_option("-o,--output", o->output, "The parameter file to write (*.tn5)")->required();
    cmd->callback([o] {
      Link_run run(*o);
      Workspace ws = start_up_workspace();
      const Transfer_result r = read_parameter_image(ws, run.session, run.view);
      run.finish(r);
      save_or_fail(ws, o->output);  // atomic: a failed save leaves the old file
    });
  }
  {
    auto* cmd = app.add_subcommand("write", "Write a parameter file to the radio");
    struct Options : Link_options {
      std::string file;
    };
    auto o = std::make_shared<Options>();
    add_link_options(cmd, *o);
    cmd->add_option("FILE", o->file, "The parameter file (*.tn5); it is not changed")->required();
    cmd->callback([o] {
      Workspace ws = open_or_fail(o->file);
      Link_run run(*o);
      run.finish(write_parameter_image(ws, run.session, run.view));
    });
  }
  {
    auto* cmd = app.add_subcommand(
        "read-extra",
        "Read the additional data (model, factory number, free text, programming time) into a "
        "file's packets 89, 90, 93 and 97-122; a missing file is created from the default image");
    struct Options : Link_options {
      std::string file;
    };
    auto o = std::make_shared<Options>();
    add_link_options(cmd, *o);
    cmd->add_option("FILE", o->file, "The parameter file (*.tn5)")->required();
    cmd->callback([o] {
      Workspace ws =
          std::filesystem::exists(o->file) ? open_or_fail(o->file) : start_up_workspace();
      Link_run run(*o);
      run.finish(read_additional_data(ws, run.session, run.view));
      save_or_fail(ws, o->file);
      std::cout << "Модель : " << model_label(ws.image) << '\n'
                << "Заводской № : " << factory_number_label(ws.image) << '\n'
                << "Время последнего программирования : " << time_label(ws.image) << '\n'
                << "Дополнительная информация :\n"
                << free_text(ws.image) << '\n';
    });
  }
  {
    auto* cmd = app.add_subcommand("write-extra",
                                   "Write the free text and the programming time to the radio");
    struct Options : Link_options {
      std::string text, text_file;
    };
    auto o = std::make_shared<Options>();
    add_link_options(cmd, *o);
    auto* text = cmd->add_option("--text", o->text, "The free text (UTF-8; a line break as typed)");
    cmd->add_option("--text-file", o->text_file, "Take the free text from a UTF-8 file")
        ->excludes(text);
    cmd->callback([o] {
      const std::string utf8 = o->text_file.empty() ? o->text : read_text_file(o->text_file);
      const auto bytes = free_text_bytes(utf8);
      if (!bytes) {
        throw Command_failed(exit_refused,
                             "Текст содержит знаки, которых нет в кодовой странице 1251.");
      }
      if (bytes->size() > static_cast<std::size_t>(mem::free_text_size)) {
        std::cerr << "Текст длиннее 192 байт: записываются первые 192.\n";
      }
      Workspace ws = start_up_workspace();
      Link_run run(*o);
      run.finish(write_additional_data(ws, run.session, run.view, *bytes));
    });
  }
}

}  // namespace tirna::cli
