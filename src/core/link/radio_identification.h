#pragma once
// The radio identification: the 8 bytes a radio sends when it enters programming mode. Byte 5 is
// its band code, byte 6 its version.

#include <cstdint>
#include <string>
#include <vector>

namespace tirna {

inline constexpr int identification_size = 8;
inline constexpr int identification_band_byte = 5;
inline constexpr int identification_version_byte = 6;

struct Radio_identification {
  std::vector<uint8_t> bytes;  // the bytes of the latest attempt (8 after a complete one)
  uint8_t radio_version = 0;   // byte 6, stored as soon as the 8 bytes are in

  bool complete() const { return bytes.size() == identification_size; }
  uint8_t band_code() const { return bytes.at(identification_band_byte); }
};

// True when "P1600" stands before the first zero byte.
bool identification_accepted(const std::vector<uint8_t>& bytes);

// "148МГц - 174МГц (П23)" for band code 0x00, the other band's text for 0x06, else
// "код диапазона 0xNN".
std::string band_code_text(uint8_t band_code);

}  // namespace tirna
