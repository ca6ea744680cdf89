#include "core/link/radio_identification.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "core/image/frequency.h"
#include "core/image/param_image.h"

namespace tirna {

std::optional<Radio_identification> Radio_identification::from_bytes(
    std::span<const uint8_t> bytes) {
  constexpr std::string_view model = "P1600";
  if (bytes.size() != identification_size) return std::nullopt;
  if (!std::equal(model.begin(), model.end(), bytes.begin())) return std::nullopt;
  if (bytes[identification_size - 1] != 0x00) return std::nullopt;
  Bytes b{};
  std::copy(bytes.begin(), bytes.end(), b.begin());
  return Radio_identification(b);
}

bool Radio_identification::band_known() const {
  return band_code() == band_code_low || band_code() == band_code_high;
}

std::string band_code_text(uint8_t band_code) {
  if (band_code == band_code_low) return band_text(0);
  if (band_code == band_code_high) return band_text(1);
  char text[32];
  std::snprintf(text, sizeof text, "код диапазона 0x%02X", band_code);
  return text;
}

}  // namespace tirna
