#pragma once
// A device list that answers from a script: for tests of the wrapper and the programmer status,
// and for running the window without FTDI hardware.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/usb/ft_device_list.h"

namespace tirna {

class Scripted_device_list : public Ft_device_list {
 public:
  std::vector<std::string> descriptions;  // device i answers descriptions[i]
  uint32_t count_status = ft_ok;
  std::vector<uint32_t> description_status;  // per index; missing entries mean ft_ok
  // The count reported; by default the number of descriptions.
  std::optional<uint32_t> reported_count;
  int count_calls = 0;
  std::vector<uint32_t> asked_indexes;

  uint32_t list_number(uint32_t& count) override {
    ++count_calls;
    if (count_status != ft_ok) return count_status;
    count = reported_count.value_or(static_cast<uint32_t>(descriptions.size()));
    return ft_ok;
  }

  uint32_t list_description(uint32_t index, std::span<char> buffer) override {
    asked_indexes.push_back(index);
    if (index < description_status.size() && description_status[index] != ft_ok) {
      return description_status[index];
    }
    if (index >= descriptions.size()) return ft_device_not_found;
    const std::string& text = descriptions[index];
    const std::size_t n = std::min(text.size(), buffer.size());
    std::copy_n(text.begin(), n, buffer.begin());
    if (n < buffer.size()) buffer[n] = 0;
    return ft_ok;
  }
};

}  // namespace tirna
