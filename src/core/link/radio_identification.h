#pragma once
// The radio identification: the 8 bytes a radio sends when it enters programming mode, in the
// layout of the image's identification block read from its top address down: "P1600" in bytes 0
// to 4, the band code in byte 5, the radio version in byte 6 and 0x00 in byte 7.
//
// An identification exists only complete and in that layout: an answer of fewer bytes, or one
// shifted by a stray byte on the line, is no identification at all, so that nothing can take a
// band code or version from it.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tirna {

inline constexpr int identification_size = 8;
inline constexpr int identification_band_byte = 5;
inline constexpr int identification_version_byte = 6;

class Radio_identification {
 public:
  using Bytes = std::array<uint8_t, identification_size>;

  // The identification these bytes are, or nothing when they are not 8 bytes in its layout.
  static std::optional<Radio_identification> from_bytes(std::span<const uint8_t> bytes);

  const Bytes& bytes() const { return bytes_; }
  uint8_t band_code() const { return bytes_[identification_band_byte]; }
  uint8_t radio_version() const { return bytes_[identification_version_byte]; }
  // The band code is one of the two bands (0x00 or 0x06): a write refuses any other.
  bool band_known() const;

 private:
  explicit Radio_identification(const Bytes& bytes) : bytes_(bytes) {}
  Bytes bytes_;
};

// "148МГц - 174МГц (П23)" for band code 0x00, the other band's text for 0x06, else
// "код диапазона 0xNN".
std::string band_code_text(uint8_t band_code);

}  // namespace tirna
