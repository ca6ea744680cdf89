#pragma once
// The channel list as a CSV table in the column layout that CHIRP, the common exchange format of
// radio programming tools, writes, with trailing columns of our own for what that layout has no
// place for. Export writes all 16 channels; import changes the channels its rows name through the
// window's operations and refuses the whole table when any row holds something the radio cannot
// store.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/channels/channel_check.h"
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

// CHIRP's Power column takes watts. The radio's own figures are not known here; these nominal
// figures stand for its two levels, and a table's watts at or above their midpoint (15 W) read as
// full power, below it as reduced power.
inline constexpr int high_power_watts = 25;    // "Повышен."
inline constexpr double low_power_watts = 5.0;  // "Понижен."
inline constexpr double power_midpoint_watts = (high_power_watts + low_power_watts) / 2;

// The table of all 16 channels, frequencies decoded in the given coding, as CHIRP's generic CSV
// files hold them (format of the 2026 CHIRP): the header first, then a row per channel. A channel
// that is off is no memory for CHIRP (an empty memory is a missing row): its row is written as a
// comment line, "#" before its Location, which CHIRP skips and our own import reads.
std::string export_channels_csv(const Param_image& image, uint8_t coding_version);
// The rows of some channels only, in the same layout with its header: the table's Copy.
std::string export_channels_csv(const Param_image& image, uint8_t coding_version,
                                const std::vector<int>& channels);

// Channels whose row CHIRP would refuse: a tone outside its 50-300 Hz, a DCS code that is not
// three octal digits. The reason, per channel.
struct Csv_chirp_note {
  int channel = 0;
  std::string reason;
};
std::vector<Csv_chirp_note> rows_chirp_refuses(const Param_image& image, uint8_t coding_version);

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
  bad_power,     // not watts (25W, 5.0W, 5) nor High or Low
  bad_mark,      // ChannelOff, BusyLockout: not "V" or ""
  bad_record,    // Record: not 16 hex bytes
  no_channel,    // no row names a channel 1..16 (detail: the Locations the rows gave)
  past_last_channel,  // pasted, the row would land past channel 16 (detail: that channel)
  empty_table,        // no header, or a header and no row
  duplicate_column,   // the header names a column the import reads twice (column: its name)
  channel_refused,    // the channel the row makes fails the check of every channel (fault)
};

struct Csv_problem {
  Csv_problem() = default;
  Csv_problem(int at_line, std::string in_column, std::string cell, Csv_refusal why,
              std::string more = {})
      : line(at_line), column(std::move(in_column)), value(std::move(cell)), refusal(why),
        detail(std::move(more)) {}
  int line = 0;
  std::string column;
  std::string value;
  Csv_refusal refusal = Csv_refusal::syntax;
  std::string detail;
  std::optional<Channel_fault> fault;  // channel_refused: what the check found
};

// A frequency that the file's coding stores as another one (truncated to its grid).
struct Csv_note {
  int line = 0;
  std::string column;
  int64_t wanted_hz = 0;
  int64_t stored_hz = 0;
};

// A row whose Location names no channel of the radio (CHIRP numbers from 0, and radios with
// more memories give more rows): skipped.
struct Csv_skipped {
  int line = 0;
  long long location = 0;
};

struct Csv_import_result {
  std::vector<Csv_problem> problems;
  std::vector<Csv_note> notes;
  std::vector<int> channels;  // the channels the table gave, in its order
  std::vector<Csv_skipped> skipped;
  std::vector<int> switched_off;  // channels without a row in a CHIRP table, switched off
  bool ok() const { return problems.empty(); }
};

struct Csv_import_options {
  long long first_location = 1;  // the Location that is channel 1 (0 for CHIRP's 0-based files)
  bool keep_missing = false;     // channels without a row stay as they are, also from CHIRP
};

// Reads the table (columns by header name, in any order; unknown columns ignored, a column read
// twice refused; missing ones
// leave their fields as the channel has them, except that a row always switches its channel on
// unless ChannelOff says otherwise, and a row without a Duplex column is simplex, as CHIRP reads
// it) and changes the channels it names. Rows whose Location names no channel are skipped; a
// table without any row for a channel is refused. A table without our ChannelOff column came from
// CHIRP, where an empty memory is a missing row: its channels without a row are switched off
// (unless keep_missing). In our own tables they are kept, and a commented row ("#" before the
// Location) whose ChannelOff says V is the row of a channel that is off. A row's Record supplies
// only the bits a control sets (the channel keeps its own others), and every channel the table
// changed passes the check of every channel (edit_faults), whatever column or record its values
// came from. With any problem the image is left exactly as it was.
Csv_import_result import_channels_csv(Param_image& image, const Working_state& state,
                                      std::string_view text,
                                      const Csv_import_options& options = {});

// The table's Paste: the rows of a table (as Copy puts them on the clipboard, or from a
// spreadsheet) put at first_channel onward, the row of the lowest Location there and the others
// after it as their Locations say; channels without a row are kept. All or nothing, as import: a
// row that would land past channel 16 is refused too.
Csv_import_result paste_channels_csv(Param_image& image, const Working_state& state,
                                     std::string_view text, int first_channel);

// Why a row was refused, in words (the line and column are the caller's to add).
std::string csv_refusal_text(const Csv_problem& problem, const Working_state& state);

}  // namespace tirna
