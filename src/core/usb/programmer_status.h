#pragma once
// The programmer status of the status bar's panel 0: which programmer the program is set up for
// and, for the USB programmer, whether it is plugged in. One tick (Timer1Timer) per second.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/usb/d2xx_unit.h"

namespace tirna {

// The description by which the USB programmer is recognised, byte for byte.
inline constexpr std::string_view usb_programmer_description = "USB-Programmer K-731M";
inline constexpr std::string_view usb_programmer_connected_text = "USB-Программатор подключен";
inline constexpr std::string_view usb_programmer_missing_text = "USB-Программатор не подключен";

// "Программатор COM" and the port number (index + 1).
std::string com_programmer_text(int com_port_index);

class Programmer_status {
 public:
  explicit Programmer_status(D2XXUnit& unit) : unit_(unit) {}

  // Programmer type 0 is the USB programmer, any other the COM programmer.
  void set_programmer(int programmer_type, int com_port_index) {
    programmer_type_ = programmer_type;
    com_port_index_ = com_port_index;
  }
  // Set by the transfer commands in USB mode; from then on the USB status no longer changes.
  void stop_usb_polling() { usb_polling_stopped_ = true; }

  // One tick. Returns the new text of panel 0, or nullopt when the panel keeps what it shows.
  // Errors of the device list are collected in the D2XXUnit (take_error_reports).
  std::optional<std::string> Timer1Timer();

  int programmer_type() const { return programmer_type_; }
  int com_port_index() const { return com_port_index_; }
  bool usb_polling_stopped() const { return usb_polling_stopped_; }
  uint8_t blink_phase() const { return blink_phase_; }

 private:
  D2XXUnit& unit_;
  int programmer_type_ = 0;
  int com_port_index_ = 0;
  bool usb_polling_stopped_ = false;
  uint8_t blink_phase_ = 0;
};

}  // namespace tirna
