#include "platform/programmer_status_timer.h"

#include "platform/ftdi_device_lists.h"

namespace tirna {
namespace {

QString q(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

Programmer_status_timer::Programmer_status_timer(std::unique_ptr<Ft_device_list> list,
                                                 QObject* parent)
    : QObject(parent),
      list_(list ? std::move(list) : make_ftdi_device_list()),
      unit_(*list_),
      status_(unit_) {
  Timer1.setInterval(1000);
  connect(&Timer1, &QTimer::timeout, this, &Programmer_status_timer::Timer1Timer);
}

void Programmer_status_timer::set_programmer(int programmer_type, int com_port_index) {
  status_.set_programmer(programmer_type, com_port_index);
}

void Programmer_status_timer::stop_usb_polling() {
  status_.stop_usb_polling();
}

void Programmer_status_timer::start() {
  Timer1Timer();
}

void Programmer_status_timer::Timer1Timer() {
  Timer1.stop();
  Timer1.setInterval(1000);
  Timer1.start();
  // The panel first: a receiver that shows the error modally runs further ticks inside its
  // dialog, and a panel text emitted after it would be stale.
  if (const auto text = status_.Timer1Timer()) emit panel_text(q(*text));
  for (const std::string& report : unit_.take_error_reports()) {
    emit error_dialog_requested(q(d2xx_error_caption), q(report));
  }
}

}  // namespace tirna
