#pragma once
// D2XXUnit: the wrapper over the FTDI device list that the programmer status asks. It keeps the
// last successful device count and description and turns failing calls into error reports
// ("GetFTDeviceCount - Устройство не найдено...." under the caption "Error") for the window to
// show.

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/usb/ft_device_list.h"

namespace tirna {

inline constexpr std::string_view d2xx_error_caption = "Error";

// The error text for a function name and a status: the name and the status's suffix; empty for a
// status above 6.
std::string d2xx_error_text(std::string_view function, uint32_t status);

class D2XXUnit {
 public:
  explicit D2XXUnit(Ft_device_list& list) : list_(list) {}

  // Returns the library's status; on success device_count() holds the number of devices,
  // otherwise it keeps the last successful count.
  uint32_t GetFTDeviceCount();
  // Returns the library's status; on success device_description() holds the description of the
  // device (at most 49 bytes), otherwise it keeps the previous description.
  uint32_t GetFTDeviceDescription(uint32_t index);

  uint32_t device_count() const { return device_count_; }
  const std::string& device_description() const { return device_description_; }

  // The error texts to show since the last call, in order; each under d2xx_error_caption.
  std::vector<std::string> take_error_reports();

 private:
  // A failing call is reported once; the same call (the count, or the description of one index)
  // is reported again only after it has succeeded in between. Reporting every failure, as the
  // library's status would allow, stacks a modal dialog every second while the library fails.
  void note_result(int64_t call, std::string_view function, uint32_t status);

  Ft_device_list& list_;
  uint32_t device_count_ = 0;
  std::string device_description_;
  std::array<char, ft_description_buffer_size> buffer_{};
  std::set<int64_t> failing_calls_;
  std::vector<std::string> error_reports_;
};

}  // namespace tirna
