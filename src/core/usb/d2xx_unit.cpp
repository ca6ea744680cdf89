#include "core/usb/d2xx_unit.h"

#include <cstring>

namespace tirna {
namespace {

// Byte 49 of the buffer is forced to zero: a description is read as 49 characters at most.
constexpr std::size_t description_limit = 49;
constexpr int64_t count_call = -1;

}  // namespace

std::string d2xx_error_text(std::string_view function, uint32_t status) {
  static constexpr const char* suffixes[] = {
      " - Не правильный дескриптор...", " - Устройство не найдено....",
      " - Устройство не открыто...",    " - Ошибка основного IO...",
      " - Недостаточно ресурсов...",    " - Не правильный параметр ...",
  };
  if (status == ft_ok || status > ft_invalid_parameter) return "";
  return std::string(function) + suffixes[status - 1];
}

uint32_t D2XXUnit::GetFTDeviceCount() {
  uint32_t count = 0;
  const uint32_t status = list_.list_number(count);
  if (status == ft_ok) device_count_ = count;
  note_result(count_call, "GetFTDeviceCount", status);
  return status;
}

uint32_t D2XXUnit::GetFTDeviceDescription(uint32_t index) {
  buffer_.fill(0);
  const uint32_t status = list_.list_description(index, buffer_);
  if (status == ft_ok) {
    buffer_[description_limit] = 0;
    device_description_.assign(buffer_.data(), std::strlen(buffer_.data()));
  }
  note_result(index, "GetFTDeviceDescription", status);
  return status;
}

void D2XXUnit::note_result(int64_t call, std::string_view function, uint32_t status) {
  if (status == ft_ok) {
    failing_calls_.erase(call);
    return;
  }
  if (failing_calls_.insert(call).second)
    error_reports_.push_back(d2xx_error_text(function, status));
}

std::vector<std::string> D2XXUnit::take_error_reports() {
  std::vector<std::string> reports;
  reports.swap(error_reports_);
  return reports;
}

}  // namespace tirna
