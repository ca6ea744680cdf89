#pragma once
// Frequency coding of the channel records: old coding (5 or 6.25 kHz steps, versions 3 and
// below) and new coding (12.5 kHz steps, versions 4 and above), band limits and conversions.

#include <cstdint>
#include <string>

#include "core/image/channel_record.h"
#include "core/image/working_state.h"

namespace tirna {

struct Frequency_code {
  uint32_t code = 0;  // 18 bits
  bool step = false;  // old coding: 6.25 kHz steps
  friend bool operator==(const Frequency_code&, const Frequency_code&) = default;
};

// Hz of a code in the given coding. Codes up to 262143 can exceed 32 bits of Hz, hence 64.
int64_t decode_frequency(Frequency_code code, uint8_t coding_version);
// The code of f Hz, truncated to the coding's grid (12.5 kHz new; 5 kHz old, held in 6.25 kHz
// steps when on the 12.5 kHz grid). f must be between 0 and the largest codable frequency.
Frequency_code encode_frequency(int64_t hz, uint8_t coding_version);

int64_t channel_frequency(const Param_image& image, int n, Side side, uint8_t coding_version);
void store_frequency(Param_image& image, int n, Side side, int64_t hz, uint8_t coding_version);

// "  160,000000": two blanks, megahertz, a comma, six decimals. Frequencies with other than nine
// digits keep the same form (whole megahertz before the comma).
std::string frequency_text(int64_t hz);
std::string blok_to_frq_str(const Param_image& image, int n, Side side, uint8_t coding_version);

// The band selector's texts and limits.
inline constexpr int band_count = 2;
const char* band_text(int band_index);
Band_limits band_limits(int band_index);
// Sets the limits and the band index for a selector index; other indexes change nothing.
void frq_set(Working_state& state, int selector_index);

// Convert all 16 records, both directions, old -> new and new -> old. Bits 3-7 of the control
// bytes and all other bytes stay; each expects the image in the other coding.
void cod_new(Param_image& image);
void cod_old(Param_image& image);

}  // namespace tirna
