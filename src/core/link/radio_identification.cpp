#include "core/link/radio_identification.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "core/image/frequency.h"
#include "core/image/param_image.h"

namespace tirna {

bool identification_accepted(const std::vector<uint8_t>& bytes) {
  const auto end = std::find(bytes.begin(), bytes.end(), uint8_t{0});
  const std::string_view model = "P1600";
  return std::search(bytes.begin(), end, model.begin(), model.end()) != end;
}

std::string band_code_text(uint8_t band_code) {
  if (band_code == band_code_low) return band_text(0);
  if (band_code == band_code_high) return band_text(1);
  char text[32];
  std::snprintf(text, sizeof text, "код диапазона 0x%02X", band_code);
  return text;
}

}  // namespace tirna
