#pragma once
// The channel list as a CSV table in the column layout that CHIRP, the common exchange format of
// radio programming tools, writes, with trailing columns of our own for what that layout has no
// place for. Export writes all 16 channels; import changes the channels its rows name through the
// window's operations and refuses the whole table when any row holds something the radio cannot
// store. Import and the table's Paste go the same three steps (channel_csv_steps.h): parse the
// text into rows, locate the channel of each row, apply the rows. What they refuse is a typed
// value that each front end words in its own language.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/channels/channel_check.h"
#include "core/channels/channel_fields.h"
#include "core/files/csv_columns.h"
#include "core/image/param_image.h"
#include "core/image/working_state.h"

namespace tirna {

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

// A sub-tone of a channel in use whose row CHIRP would refuse: a CTCSS tone outside CHIRP's 50 to
// 300 Hz, or a DCS code that is not three octal digits.
struct Csv_chirp_note {
  int channel = 0;
  Side side = Side::rx;
  Tone_setting tone;
};
std::vector<Csv_chirp_note> rows_chirp_refuses(const Param_image& image, uint8_t coding_version);

enum class Csv_refusal {
  unclosed_quote,      // the table cannot be read: a quoted field is not closed
  no_location_column,  // the header names no Location
  bad_location,        // not a whole number
  duplicate_location,  // the channel was given on an earlier line (number: that line)
  not_a_number,
  missing_value,  // a value the row needs is empty or its column missing
  out_of_band,    // outside the band limits of the file's band (hz, limits)
  bad_duplex,     // not "", "+", "-", "split" or "off"
  bad_tone_mode,  // not "", "Tone", "TSQL", "DTCS" or "Cross" (reverse squelch included)
  bad_cross_mode,
  bad_polarity,  // not NN, NR, RN or RR
  tone_refused,  // a tone or code the radio cannot store (detail: the sub-tone dialog's refusal)
  bad_mode,      // a mode the radio does not have (FM and NFM only)
  bad_skip,      // not "" or "S"
  bad_power,     // not watts (25W, 5.0W, 5) nor High or Low
  bad_mark,      // ChannelOff, BusyLockout: not "V" or ""
  bad_record,    // Record: not 16 hex bytes
  no_channel,    // no row names a channel 1..16 (locations: the Locations the rows gave)
  past_last_channel,  // pasted, the row would land past channel 16 (number: that channel)
  empty_table,        // no header, or a header and no row
  duplicate_column,   // the header names a column the import reads twice (value: its spelling)
  channel_refused,    // the channel the row makes fails the check of every channel (fault)
};
// How many kinds there are (channel_refused stays the last).
inline constexpr int csv_refusal_count = static_cast<int>(Csv_refusal::channel_refused) + 1;

// A refusal with what it concerns: where, which cell, and what the value is measured against.
struct Csv_problem {
  Csv_problem() = default;
  Csv_problem(int at_line, Csv_refusal why, std::optional<Csv_column> in_column = std::nullopt,
              std::string cell = {})
      : line(at_line), refusal(why), column(in_column), value(std::move(cell)) {}
  int line = 0;  // the table's line, from 1; the header's for what concerns the whole table
  Csv_refusal refusal = Csv_refusal::unclosed_quote;
  std::optional<Csv_column> column;  // the column of the refused cell
  std::string value;     // the cell as the table gives it; channel_refused: the record made, in hex
  int64_t hz = 0;        // out_of_band: the frequency the row makes
  Band_limits limits;    // out_of_band: the limits it must keep
  long long number = 0;  // duplicate_location: the earlier line; past_last_channel: the channel
  std::vector<long long> locations;    // no_channel
  std::string detail;                  // tone_refused: the sub-tone dialog's own refusal
  std::optional<Channel_fault> fault;  // channel_refused and out_of_band: what the check found
};

// A frequency that the file's coding stores as another one (truncated to its grid).
struct Csv_note {
  int line = 0;
  Csv_column column = Csv_column::frequency;
  int64_t wanted_hz = 0;
  int64_t stored_hz = 0;
};

// A row whose Location names no channel of the radio (CHIRP numbers from 0, and radios with
// more memories give more rows): skipped.
struct Csv_skipped {
  int line = 0;
  long long location = 0;
};

// Every problem, unless the caller asks for fewer.
inline constexpr std::size_t all_problems = static_cast<std::size_t>(-1);

struct Csv_import_result {
  // In the order of the table's lines; those of the final check of every channel by channel.
  std::vector<Csv_problem> problems;
  std::size_t unlisted_problems = 0;  // found beyond the most the caller wanted listed
  std::vector<Csv_note> notes;
  std::vector<int> channels;  // the channels the table gave, in its order
  std::vector<Csv_skipped> skipped;
  std::vector<int> switched_off;  // channels without a row in a CHIRP table, switched off
  bool ok() const { return problems.empty() && unlisted_problems == 0; }
};

struct Csv_import_options {
  long long first_location = 1;  // the Location that is channel 1 (0 for CHIRP's 0-based files)
  bool keep_missing = false;     // channels without a row stay as they are, also from CHIRP
};

// Reads the table (columns by header name, in any order; unknown columns ignored, a column read
// twice refused; missing ones leave their fields as the channel has them, except that a row
// always switches its channel on unless ChannelOff says otherwise, and a row without a Duplex
// column is simplex, as CHIRP reads it) and changes the channels it names. Rows whose Location
// names no channel are skipped; a table without any row for a channel is refused. A table
// without our ChannelOff column came from CHIRP, where an empty memory is a missing row: its
// channels without a row are switched off (unless keep_missing). In our own tables they are
// kept, and a commented row ("#" before the Location) whose ChannelOff says V is the row of a
// channel that is off. A row's Record supplies only the bits a control sets (the channel keeps
// its own others), and every channel the table changed passes the check of every channel
// (edit_faults), whatever column or record its values came from. With any problem the image is
// left exactly as it was.
Csv_import_result import_channels_csv(Param_image& image, const Working_state& state,
                                      std::string_view text,
                                      const Csv_import_options& options = {});

// The table's Paste: the rows of a table (as Copy puts them on the clipboard, or from a
// spreadsheet) put at first_channel onward, the row of the lowest Location there and the others
// after it as their Locations say; channels without a row are kept. The rows are those the import
// takes, found by the same step; all or nothing, as import: a row that would land past channel
// 16 is refused too. Of the problems, the first most_problems are listed and the others counted,
// so that a clipboard of a hundred thousand refused rows costs the window no more than a few.
Csv_import_result paste_channels_csv(Param_image& image, const Working_state& state,
                                     std::string_view text, int first_channel,
                                     std::size_t most_problems = all_problems);

}  // namespace tirna
