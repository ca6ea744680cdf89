#include "core/usb/programmer_status.h"

namespace tirna {

std::string com_programmer_text(int com_port_index) {
  return "Программатор COM" + std::to_string(static_cast<long long>(com_port_index) + 1);
}

std::optional<std::string> Programmer_status::Timer1Timer() {
  if (programmer_type_ != 0) return com_programmer_text(com_port_index_);
  if (usb_polling_stopped_) return std::nullopt;

  std::optional<std::string> panel;
  bool found = false;
  // A failed count has been reported by the wrapper; the last good count is used as it stands.
  unit_.GetFTDeviceCount();
  const uint32_t devices = unit_.device_count() & 0xFF;
  for (uint32_t index = 0; index < devices; ++index) {
    // Every device is asked, also after a match; a failed query keeps the previous description.
    unit_.GetFTDeviceDescription(index);
    if (unit_.device_description() == usb_programmer_description) {
      panel = std::string(usb_programmer_connected_text);
      found = true;
    }
  }
  if (!found) {
    if (blink_phase_ == 1) {
      panel = std::string(usb_programmer_missing_text);
      blink_phase_ = 0;
    } else {
      panel = std::string();
      blink_phase_ = 1;
    }
  }
  return panel;
}

}  // namespace tirna
