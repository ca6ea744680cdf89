#pragma once
// A channel as a whole: what its record means (frequencies, sub-tones, boxes and flags), and
// changing a channel to a wanted meaning through the window's own operations, field by field,
// touching only the fields that differ.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/image/channel_record.h"
#include "core/image/working_state.h"

namespace tirna {

struct Tone_setting {
  enum Kind { none, ctcss, dcs };
  Kind kind = none;
  int tenths = 0;  // ctcss: the tone in tenths of Hz
  int code = 0;    // dcs: the code as the table shows it, read in decimal (23 for "023")
  bool inverted = false;
  friend bool operator==(const Tone_setting& a, const Tone_setting& b) {
    if (a.kind != b.kind) return false;
    if (a.kind == ctcss) return a.tenths == b.tenths;
    if (a.kind == dcs) return a.code == b.code && a.inverted == b.inverted;
    return true;
  }
};

struct Channel_fields {
  bool in_use = true;
  bool tx_allowed = true;
  int64_t rx_hz = 0;
  int64_t tx_hz = 0;
  Tone_setting rx_tone, tx_tone;
  bool narrow = false;
  bool no_scan = false;
  bool low_power = false;
  bool busy_lockout = false;
  friend bool operator==(const Channel_fields&, const Channel_fields&) = default;
};

// A DCS code as three digits at least: 23 gives "023", as the sub-tone dialog's list writes it.
std::string dcs_code_text(int code);

// Sub-tone types the program never writes (1, 2, 4, 6) read as none.
Channel_fields read_channel_fields(const Param_image& image, int n, uint8_t coding_version);

struct Field_problem {
  enum Field { rx_frequency, tx_frequency, rx_tone, tx_tone };
  Field field;
  std::string message;  // the sub-tone dialog's refusal; empty for a frequency out of band
};

// Changes channel n field by field to read as wanted: a frequency through the frequency entry's
// range check and the coding of the working state, a sub-tone through the sub-tone dialog's
// acceptance, boxes and flags by their toggles. A refused field stays as it was and is reported;
// the other fields are changed all the same.
std::vector<Field_problem> store_channel_fields(Param_image& image, const Working_state& state,
                                                int n, const Channel_fields& wanted);

}  // namespace tirna
