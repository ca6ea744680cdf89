#pragma once
// The three steps by which the import and the table's Paste take a channel table: parse the text
// into the rows of channels, locate the channel each row goes to, apply the rows through the
// window's operations and the check of every channel. Import and Paste differ only in the anchor
// of the locating step and in what becomes of the channels without a row.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/files/channel_csv.h"
#include "core/files/csv_columns.h"
#include "core/files/csv_table.h"

namespace tirna {

// Which field of a record holds each column.
struct Csv_header {
  int line = 0;
  std::array<int, csv_column_count> field;  // -1: the table has no such column

  Csv_header() { field.fill(-1); }
  bool has(Csv_column c) const { return field[column_index(c)] >= 0; }
  // Our own tables carry ChannelOff; a table without it came from CHIRP or a spreadsheet.
  bool own_table() const { return has(Csv_column::channel_off); }
  // The trimmed cell of a record, empty where the record is short; nullopt without the column.
  std::optional<std::string> cell(const Csv_record& record, Csv_column c) const;
};

// Problems in the order of the lines: the first `most` listed, the others only counted.
struct Csv_problems {
  std::vector<Csv_problem> listed;
  std::size_t unlisted = 0;
  std::size_t most = all_problems;

  bool empty() const { return listed.empty() && unlisted == 0; }
  // No more is listed: a caller counts the next one instead of making it.
  bool full() const { return listed.size() >= most; }
  void add(Csv_problem problem) {
    if (full()) {
      ++unlisted;
    } else {
      listed.push_back(std::move(problem));
    }
  }
};

// The row of a channel: a record that is neither blank nor a comment (in our own tables a
// commented record whose ChannelOff says V is the row of a channel that is off), with a Location
// that is a whole number. Its cells are read again from its place where they are needed, so that
// a large table is never held as cells.
struct Csv_row {
  Csv_reader::Place place;
  long long location = 0;
  int line() const { return place.line; }
};

struct Csv_rows {
  std::string_view text;  // the table's text, which the rows' places point into
  Csv_header header;
  std::vector<Csv_row> rows;  // in the table's order
  // What stops the whole table (a quoted field left open, no header, a column named twice, no
  // Location column: then readable is false), or a row whose Location is no whole number.
  Csv_problems problems;
  bool readable = false;
};

// The steps list at most most_problems problems between them.
Csv_rows parse_channel_rows(std::string_view text, std::size_t most_problems = all_problems);

// How the rows find their channels. Import: Location `location` is channel 1, and rows of other
// Locations are skipped (memories a radio with more channels has). Paste: the lowest Location
// goes to `channel` and the others after it as their Locations say; a row past channel 16 is
// refused.
struct Csv_anchor {
  enum Kind { channel_1_location, lowest_location_channel };
  Kind kind = channel_1_location;
  long long location = 1;
  int channel = 1;
  static Csv_anchor import_from(long long first_location) {
    return {channel_1_location, first_location, 1};
  }
  static Csv_anchor paste_at(int first_channel) {
    return {lowest_location_channel, 1, first_channel};
  }
};

struct Csv_placed {
  std::size_t row = 0;  // index into Csv_rows::rows
  int channel = 0;
};

struct Csv_plan {
  std::vector<Csv_placed> placed;  // in the table's order, each channel at most once
  std::vector<Csv_skipped> skipped;
  // A channel given twice, a pasted row past channel 16, a table without any row of a channel.
  Csv_problems problems;
};

// The one locating step of import and Paste.
Csv_plan locate_rows(const Csv_rows& rows, const Csv_anchor& anchor);

// Changes the channels of the placed rows to what their cells say, through the window's
// operations; then, unless keep_missing, switches off the channels a CHIRP table has no row for;
// then checks every channel it changed (edit_faults). Every problem of the three steps is in the
// result, by line; with any, the image is left exactly as it was.
Csv_import_result apply_rows(Param_image& image, const Working_state& state, Csv_rows rows,
                             Csv_plan plan, bool keep_missing);

// A decimal number with '.' or ',' as decimal mark, scaled by 10^decimals; digits past that many
// decimals must be zeros. nullopt for anything else.
std::optional<int64_t> csv_number(std::string_view text, int decimals);

}  // namespace tirna
