#pragma once
// Timer1 of the main window: refreshes the programmer status of status-bar panel 0 every second.
// The window connects panel_text to panel 0 and error_dialog_requested to a message box with the
// error icon and one OK button; nothing else. QtCore only.

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

#include "core/usb/d2xx_unit.h"
#include "core/usb/ft_device_list.h"
#include "core/usb/programmer_status.h"

namespace tirna {

class Programmer_status_timer : public QObject {
  Q_OBJECT
 public:
  // list: the FTDI device list to ask; by default the D2XX library or the system's list.
  explicit Programmer_status_timer(std::unique_ptr<Ft_device_list> list = nullptr,
                                   QObject* parent = nullptr);

  // The programmer type (0 USB programmer, other COM programmer) and the COM port index. Call it
  // at start-up and whenever the programmer dialog has changed them; the next tick shows them.
  void set_programmer(int programmer_type, int com_port_index);
  // The transfer commands call this in USB mode: the USB status stays as it is for the rest of
  // the run.
  void stop_usb_polling();

  // Start-up: one tick at once, then one every second.
  void start();

  const QTimer& timer() const { return Timer1; }
  const Programmer_status& status() const { return status_; }

 public slots:
  // One tick: restarts Timer1 (1000 ms), then shows the status.
  void Timer1Timer();

 signals:
  // Status-bar panel 0 := text.
  void panel_text(const QString& text);
  // Show a message box with the error icon and one OK button. A failing device list asks once;
  // it asks again only after the failing call has succeeded in between.
  void error_dialog_requested(const QString& caption, const QString& text);

 private:
  std::unique_ptr<Ft_device_list> list_;
  D2XXUnit unit_;
  Programmer_status status_;
  QTimer Timer1;
};

}  // namespace tirna
