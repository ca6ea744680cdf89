#pragma once
// The transfers' view in the main window, and what the window owns for them for the whole run:
// the one serial port (waiting in the window's mode, so that its events are served while a
// transfer runs), the protocol clock, the identification of the last handshake and the progress
// window TForm10. Every call comes on the window's thread from inside a transfer command.

#include <QString>
#include <functional>

#include "core/link/handshake.h"
#include "core/link/radio_identification.h"
#include "core/transfer/transfer_result.h"
#include "core/transfer/transfer_view.h"
#include "platform/event_loop_clock.h"
#include "platform/serial_port.h"

namespace tirna {

class TForm1;
class TForm10;

class Window_transfer_view : public Transfer_view {
 public:
  // Creates the progress window. Port number n opens the device of config.ini's "[Порты]" key
  // COMn as the window read it at start-up, else /dev/ttyUSB<n-1>.
  explicit Window_transfer_view(TForm1& window);

  // The session of every transfer command: this port and clock, the window's programmer choice.
  Link_session& session() { return session_; }

  // Runs one transfer command. While the window's option "Журнал обмена с радиостанцией" is on,
  // every byte sent and received is kept with its time (as tirna520-cli --trace keeps it) and
  // saved afterwards, also after a failure, as a new file обмен-YYYYMMDD-HHMMSS.txt in `folder`
  // (the parameter files' folder); last_trace() then names it, or says why it was not saved.
  Transfer_result run(const std::function<Transfer_result(Link_session&)>& command);
  void set_tracing(bool on, const QString& folder);
  bool tracing() const { return tracing_; }
  const QString& last_trace() const { return last_trace_; }
  const std::optional<Radio_identification>& identification() const { return identification_; }
  SerialPort& port() { return port_; }
  TForm10* Form10() const { return form10_; }

  // Link_view: the "choose another port?" question (no owner window, modal to the application)
  // and the programmer dialog TForm2.
  Port_answer ask_other_port(const Message& question, const Open_error& error) override;
  void choose_programmer(Programmer_choice& choice) override;

  void blok_btn() override;
  void razblok_btn() override;
  void show_progress(std::string_view caption, std::string_view label, int maximum) override;
  void update_progress(const Progress& progress) override;
  void close_progress() override;
  void show_message(const Message& message) override;  // modal over the main window
  void print_wind_blok() override;
  void stop_usb_polling() override;

 private:
  TForm1& window_;
  TForm10* form10_;
  SerialPort port_;
  Event_loop_clock clock_;
  std::optional<Radio_identification> identification_;
  Link_session session_;
  bool tracing_ = false;
  QString trace_folder_;
  QString last_trace_;
};

}  // namespace tirna
