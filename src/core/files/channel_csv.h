#pragma once
// The channel list as a CSV table in the column layout that CHIRP, the common exchange format of
// radio programming tools, writes, with trailing columns of our own for what that layout has no
// place for. Export writes all 16 channels; import changes the channels its rows name through the
// window's operations and refuses the whole table when any row holds something the radio cannot
// store.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/image/param_image.h"
#include "core/image/working_state.h"

namespace tirna {

inline constexpr std::array<std::string_view, 17> chirp_columns = {
    "Location",  "Name",      "Frequency", "Duplex",       "Offset",     "Tone",
    "rToneFreq", "cToneFreq", "DtcsCode",  "DtcsPolarity", "RxDtcsCode", "CrossMode",
    "Mode",      "TStep",     "Skip",      "Power",        "Comment"};

// ChannelOff: "V" for a channel that is off. BusyLockout: "V" for transmit lock-out on a busy
// channel. TxFrequency: the transmit frequency of an inhibited transmitter (Duplex "off"), which
// CHIRP does not keep. Record: the 16 bytes of the channel record in hex, so that bits no column
// shows survive a round trip.
inline constexpr std::array<std::string_view, 4> own_columns = {"ChannelOff", "BusyLockout",
                                                                "TxFrequency", "Record"};

// The table of all 16 channels, frequencies decoded in the given coding.
std::string export_channels_csv(const Param_image& image, uint8_t coding_version);

enum class Csv_refusal {
  syntax,              // the table itself cannot be read (an unclosed quote)
  no_location_column,  // the header names no Location
  bad_location,        // not a channel number 1..16
  duplicate_location,  // the channel was given on an earlier line (detail: that line)
  not_a_number,
  missing_value,  // a value the row needs is empty or its column missing
  out_of_band,    // outside the band limits of the file's band
  bad_duplex,     // not "", "+", "-", "split" or "off"
  bad_tone_mode,  // not "", "Tone", "TSQL", "DTCS" or "Cross" (reverse squelch included)
  bad_cross_mode,
  bad_polarity,  // not NN, NR, RN or RR
  tone_refused,  // a tone or code the radio cannot store (detail: the dialog's message)
  bad_mode,      // a mode the radio does not have (FM and NFM only)
  bad_skip,      // not "" or "S"
  bad_power,     // not High or Low
  bad_mark,      // ChannelOff, BusyLockout: not "V" or ""
  bad_record,    // Record: not 16 hex bytes
};

struct Csv_problem {
  int line = 0;
  std::string column;
  std::string value;
  Csv_refusal refusal = Csv_refusal::syntax;
  std::string detail;
};

// A frequency that the file's coding stores as another one (truncated to its grid).
struct Csv_note {
  int line = 0;
  std::string column;
  int64_t wanted_hz = 0;
  int64_t stored_hz = 0;
};

struct Csv_import_result {
  std::vector<Csv_problem> problems;
  std::vector<Csv_note> notes;
  std::vector<int> channels;  // the channels the table gave, in its order
  bool ok() const { return problems.empty(); }
};

// Reads the table (columns by header name, in any order; unknown columns ignored; missing ones
// leave their fields as the channel has them, except that a row always switches its channel on
// unless ChannelOff says otherwise) and changes the channels it names. Channels the table does not
// name are kept. With any problem the image is left exactly as it was.
Csv_import_result import_channels_csv(Param_image& image, const Working_state& state,
                                      std::string_view text);

}  // namespace tirna
