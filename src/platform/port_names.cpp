#include "platform/port_names.h"

#include <charconv>

namespace tirna {

std::string port_device(int port_number, const std::optional<std::string>& configured) {
#ifdef _WIN32
  (void)configured;
  return "COM" + std::to_string(port_number);
#else
  if (configured && !configured->empty()) return *configured;
  return "/dev/ttyUSB" + std::to_string(port_number - 1);
#endif
}

std::optional<std::string> configured_port_device(const Ini_file& ini, int port_number) {
  return ini.value(ports_section, "COM" + std::to_string(port_number));
}

std::optional<int> com_port_number(std::string_view name) {
  if (name.size() < 4) return std::nullopt;
  for (std::size_t i = 0; i < 3; ++i) {
    if ((name[i] | 0x20) != "com"[i]) return std::nullopt;
  }
  int n = 0;
  const char* end = name.data() + name.size();
  const auto [ptr, error] = std::from_chars(name.data() + 3, end, n);
  if (error != std::errc{} || ptr != end || n < 1 || name[3] == '+') return std::nullopt;
  return n;
}

}  // namespace tirna
