// "Диагностика связи..." in the menu "Помощь": the link's checks from the programmer's port on.

#include <QFile>

#include "platform/port_names.h"
#include "ui/app/main_window.h"
#include "ui/link/link_doctor_dialog.h"

namespace tirna {

void TForm1::link_doctor() {
  if (busy_) return;
  const int n = programmer_.port_number();
  const std::string com = "COM" + std::to_string(n);
  const Ini_file* ini = config_ini();
  const auto configured = ini != nullptr ? configured_port_device(*ini, n) : std::nullopt;
  Doctor_request request;
  request.ports.push_back(
      {port_device(n, configured),
       com + (configured && !configured->empty()
                  ? ": ключ " + com + " раздела [" + std::string(ports_section) + "] config.ini"
                  : ": порт программатора")});
  // A write sends the image that a file gave: a radio of the other band would refuse it.
  if (!ws_.file_name.empty()) request.file_band_index = ws_.state.band_index;
  Link_doctor_dialog dialog(this, std::move(request),
                            ini != nullptr ? config_ports_text(*ini) : std::string(),
                            save_folder());
  dialog.exec();
}

}  // namespace tirna
