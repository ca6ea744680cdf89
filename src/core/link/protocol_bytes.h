#pragma once
// The bytes on the wire between the program and the radio.

#include <array>
#include <cstdint>

#include "core/image/param_image.h"

namespace tirna {

inline constexpr uint8_t ack = 0x06;
// 0x02 followed by "PROGRAM".
inline constexpr std::array<uint8_t, 8> programming_request = {0x02, 'P', 'R', 'O',
                                                               'G',  'R', 'A', 'M'};
inline constexpr std::array<uint8_t, 1> identification_request = {0x02};
inline constexpr std::array<uint8_t, 3> closing_string = {'E', 'N', 'D'};

inline constexpr uint8_t read_command = 0x52;  // 'R'
using Read_request = std::array<uint8_t, 4>;
// "R", address high, address low, 8: the request for packet k (1..128).
Read_request read_request(int k);

}  // namespace tirna
