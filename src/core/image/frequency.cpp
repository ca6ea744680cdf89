#include "core/image/frequency.h"

#include "core/text/format.h"

#include <cstdio>

namespace tirna {
namespace {

constexpr int64_t step_new = 12500;
constexpr int64_t step_6250 = 6250;
constexpr int64_t step_5000 = 5000;
constexpr uint32_t code_mask = 0x3FFFF;

Frequency_code read_code(const Param_image& image, int n, Side side) {
  return {frequency_code(image, n, side), step_flag(image, n, side)};
}

void write_code(Param_image& image, int n, Side side, Frequency_code c) {
  set_frequency_code(image, n, side, c.code, c.step);
}

}  // namespace

int64_t decode_frequency(Frequency_code c, uint8_t coding_version) {
  if (is_new_coding(coding_version)) return c.code * step_new;
  return c.code * (c.step ? step_6250 : step_5000);
}

Frequency_code encode_frequency(int64_t hz, uint8_t coding_version) {
  if (hz < 0) hz = 0;
  if (is_new_coding(coding_version)) {
    return {static_cast<uint32_t>(hz / step_new) & code_mask, false};
  }
  const int64_t f = hz / step_5000 * step_5000;
  if (f % step_new == 0) return {static_cast<uint32_t>(f / step_new * 2) & code_mask, true};
  return {static_cast<uint32_t>(f / step_5000) & code_mask, false};
}

int64_t channel_frequency(const Param_image& image, int n, Side side, uint8_t coding_version) {
  return decode_frequency(read_code(image, n, side), coding_version);
}

void store_frequency(Param_image& image, int n, Side side, int64_t hz, uint8_t coding_version) {
  write_code(image, n, side, encode_frequency(hz, coding_version));
}

std::string frequency_text(int64_t hz) {
  return "  " + megahertz_text(hz);
}

std::string blok_to_frq_str(const Param_image& image, int n, Side side, uint8_t coding_version) {
  return frequency_text(channel_frequency(image, n, side, coding_version));
}

const char* band_text(int band_index) {
  return band_index == 0 ? "148МГц - 174МГц (П23)" : "450МГц - 470МГц (П45)";
}

Band_limits band_limits(int band_index) {
  return band_index == 0 ? Band_limits{146000000, 175000000} : Band_limits{448000000, 472000000};
}

void frq_set(Working_state& state, int selector_index) {
  if (selector_index != 0 && selector_index != 1) return;
  state.limits = band_limits(selector_index);
  state.band_index = selector_index;
}

namespace {

void convert_all(Param_image& image, uint8_t from_version, uint8_t to_version, uint8_t marker) {
  for (int n = 1; n <= channel_count; ++n) {
    set_coding_marker(image, n, marker);
    for (Side side : {Side::rx, Side::tx}) {
      const int64_t hz = decode_frequency(read_code(image, n, side), from_version);
      write_code(image, n, side, encode_frequency(hz, to_version));
    }
  }
}

}  // namespace

void cod_new(Param_image& image) {
  convert_all(image, 2, 4, coding_marker_new);
}
void cod_old(Param_image& image) {
  convert_all(image, 4, 2, coding_marker_old);
}

}  // namespace tirna
