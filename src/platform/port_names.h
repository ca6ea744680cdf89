#pragma once
// Which device a COM port number opens. On Windows port number n is "COMn". On Linux it is the
// device named by key "COMn" (Latin letters) of section "[Порты]" of config.ini when that key is
// present and not empty, else /dev/ttyUSB<n-1> (COM1 is the first USB-serial adapter).

#include <optional>
#include <string>
#include <string_view>

#include "platform/ini_file.h"

namespace tirna {

inline constexpr std::string_view ports_section = "Порты";

// The device of port number n, given the value of its config.ini key (nullopt when absent).
std::string port_device(int port_number, const std::optional<std::string>& configured);

// The value of key "COMn" of section "[Порты]".
std::optional<std::string> configured_port_device(const Ini_file& ini, int port_number);

// "COM3" (any letter case) gives 3; anything else, a device path for instance, nullopt.
std::optional<int> com_port_number(std::string_view name);

}  // namespace tirna
