#pragma once
// The one check of the channels that every route into a radio passes: an import or paste of a
// table, `set`, and the write itself. Whatever way the values took (a column, a record in hex, a
// file edited by hand), a channel in use must carry frequencies inside the band of the image and
// sub-tones the radio can hold; an edit may change only the bits that some control sets.

#include <cstdint>
#include <string>
#include <vector>

#include "core/image/channel_record.h"
#include "core/image/working_state.h"

namespace tirna {

struct Channel_fault {
  enum Kind {
    out_of_band,      // a frequency outside the band limits (hz, limits)
    subtone_type,     // a sub-tone type no control writes: 1, 2, 4 or 6 (value: the type)
    ctcss_value,      // a CTCSS value that is not four decimal digits (value: the raw value)
    dcs_value,        // a DCS value wider than nine bits (value: the raw value)
    fixed_bits,       // an edit changed a bit no control sets (value: the record byte)
  };
  Kind kind = out_of_band;
  int channel = 0;
  Side side = Side::rx;
  int64_t hz = 0;
  Band_limits limits;
  int value = 0;
  friend bool operator==(const Channel_fault&, const Channel_fault&) = default;
};

// The limits a channel of this image must keep: those of its band code's band (0x2D2), as opening
// the image selects it.
Band_limits image_band_limits(const Param_image& image);

// What channel n carries into a radio that it may not: its receive frequency when in use, its
// transmit frequency when it may also transmit, and both sub-tones when in use. A channel that is
// off carries nothing the radio uses.
std::vector<Channel_fault> channel_faults(const Param_image& image, int n, uint8_t coding_version,
                                          const Band_limits& limits);

// Every channel of an image, as a write sends it.
std::vector<Channel_fault> image_faults(const Param_image& image, uint8_t coding_version);

// What an edit from `before` to `after` made: each channel it changed, checked whole against the
// limits of the working state's band, and no bit changed that no control sets (bit 7 of the control
// bytes, the unused bits of the flags byte, the coding marker and the record's last four bytes).
std::vector<Channel_fault> edit_faults(const Param_image& before, const Param_image& after,
                                       const Working_state& state);

// What the check found, in the window's words, with decimal commas: "канал 3: частота приема
// 500,000000 МГц вне диапазона 146,000000 - 175,000000 МГц".
std::string channel_fault_text_ru(const Channel_fault& fault);

// Bits of a channel record that the program's controls set; the rest are the radio's own.
inline constexpr Channel_record_bytes settable_bits = {0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF,
                                                       0xFF, 0x7F, 0xFF, 0xFF, 0x35, 0x00,
                                                       0x00, 0x00, 0x00, 0x00};
// `incoming` with the bits no control sets taken from `own`.
Channel_record_bytes with_own_fixed_bits(const Channel_record_bytes& incoming,
                                         const Channel_record_bytes& own);

}  // namespace tirna
