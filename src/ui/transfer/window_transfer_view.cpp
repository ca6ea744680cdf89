#include "ui/transfer/window_transfer_view.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <sstream>

#include "core/link/traced_transport.h"
#include "platform/files/safe_file.h"
#include "platform/port_names.h"
#include "platform/programmer_status_timer.h"
#include "ui/app/main_window.h"
#include "ui/app/message_boxes.h"
#include "ui/link/programmer_dialog.h"
#include "ui/transfer/progress_window.h"

namespace tirna {
namespace {

QMessageBox::Icon icon_of(Message_icon icon) {
  switch (icon) {
    case Message_icon::information:
      return QMessageBox::Information;
    case Message_icon::exclamation:
      return QMessageBox::Warning;
    case Message_icon::stop:
      return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

Window_transfer_view::Window_transfer_view(TForm1& window)
    : window_(window),
      form10_(new TForm10(&window)),
      port_([&window](int port_number) {
        const Ini_file* ini = window.config_ini();
        return port_device(
            port_number, ini != nullptr ? configured_port_device(*ini, port_number) : std::nullopt);
      }),
      session_{port_, clock_, window.programmer(), identification_} {
  port_.set_wait_mode(SerialPort::Wait_mode::serve_events);
}

void Window_transfer_view::set_tracing(bool on, const QString& folder) {
  tracing_ = on;
  trace_folder_ = folder;
}

Transfer_result Window_transfer_view::run(
    const std::function<Transfer_result(Link_session&)>& command) {
  if (!tracing_) return command(session_);
  std::ostringstream trace;
  Transfer_result result;
  {
    Traced_transport traced(port_, clock_, trace);
    Link_session session{traced, clock_, window_.programmer(), identification_};
    result = command(session);
  }
  const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
  for (int attempt = 1;; ++attempt) {
    const QString name = QStringLiteral("обмен-%1%2.txt")
                             .arg(stamp, attempt > 1 ? QStringLiteral("-%1").arg(attempt) : QString());
    const QString path = QDir(trace_folder_).filePath(name);
    const auto saved = save_new_file(QFile::encodeName(path).toStdString(), trace.str());
    if (const auto* error = std::get_if<Io_error>(&saved)) {
      last_trace_ = path + QStringLiteral(": ") + qt_text(error->text());
      break;
    }
    if (std::get<Save_new>(saved) == Save_new::saved) {
      last_trace_ = path;
      break;
    }
  }
  window_.show_trace_name(last_trace_);
  return result;
}

Port_answer Window_transfer_view::ask_other_port(const Message& question, const Open_error&) {
  return ask_yes_no(nullptr, icon_of(question.icon), qt_text(question.caption),
                    qt_text(question.text))
             ? Port_answer::yes
             : Port_answer::no;
}

void Window_transfer_view::choose_programmer(Programmer_choice& choice) {
  if (&choice == &window_.programmer()) {
    window_.choose_programmer();  // the status line shows the new port as well
  } else {
    window_.Form2()->choose(choice);
  }
}

void Window_transfer_view::blok_btn() {
  window_.blok_btn();
}

void Window_transfer_view::razblok_btn() {
  window_.razblok_btn();
}

void Window_transfer_view::show_progress(std::string_view caption, std::string_view label,
                                         int maximum) {
  form10_->show_transfer(caption, label, maximum);
}

void Window_transfer_view::update_progress(const Progress& progress) {
  form10_->show_progress(progress);
}

void Window_transfer_view::close_progress() {
  form10_->close_transfer();
}

void Window_transfer_view::show_message(const Message& message) {
  tirna::show_message(&window_, icon_of(message.icon), qt_text(message.caption),
                      qt_text(message.text));
}

void Window_transfer_view::print_wind_blok() {
  window_.print_wind_blok();
}

void Window_transfer_view::stop_usb_polling() {
  window_.status_timer()->stop_usb_polling();
}

}  // namespace tirna
