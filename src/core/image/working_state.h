#pragma once
// The working state held with the image: which coding the channel records are in, which band is
// selected, the limits for entered frequencies and whether the image was edited.

#include <cstdint>

namespace tirna {

struct Band_limits {
  int32_t lower = 146000000;
  int32_t upper = 174000000;  // 174, not 175 MHz, until frq_set first runs
  friend bool operator==(const Band_limits&, const Band_limits&) = default;
};

// Coding versions 3 and below count 5 or 6.25 kHz steps; 4 and above count 12.5 kHz steps.
constexpr bool is_new_coding(uint8_t coding_version) {
  return coding_version >= 4;
}

struct Working_state {
  uint8_t coding_version = 2;
  int band_index = 0;  // 0: 148-174 MHz, 1: 450-470 MHz
  Band_limits limits;
  bool modified = false;
};

}  // namespace tirna
