// The first two steps of taking a channel table: parse the text into the rows of channels, and
// locate the channel each row goes to.

#include <algorithm>

#include "core/files/channel_csv_steps.h"
#include "core/image/channel_record.h"
#include "core/text/format.h"

namespace tirna {
namespace {

bool blank(const Csv_record& record) {
  return std::all_of(record.fields.begin(), record.fields.end(), [](const std::string& f) {
    return f.find_first_not_of(" \t") == std::string::npos;
  });
}

// The header's columns; a column the import reads that is named twice is a problem (the first of
// the two would be read, the other not).
void read_header(const Csv_record& record, Csv_rows& out) {
  out.header.line = record.line;
  for (std::size_t i = 0; i < record.fields.size(); ++i) {
    const std::string name = trimmed(record.fields[i]);
    const std::optional<Csv_column> column = column_named(name);
    if (!column) continue;
    int& field = out.header.field[column_index(*column)];
    if (field < 0) {
      field = static_cast<int>(i);
    } else if (csv_columns[column_index(*column)].read) {
      out.problems.add({record.line, Csv_refusal::duplicate_column, *column, name});
    }
  }
}

// A Location: a whole number, without a decimal mark.
std::optional<long long> location_number(const std::string& text) {
  if (text.find_first_of(".,") != std::string::npos) return std::nullopt;
  return csv_number(text, 0);
}

}  // namespace

std::optional<std::string> Csv_header::cell(const Csv_record& record, Csv_column c) const {
  const int at = field[column_index(c)];
  if (at < 0) return std::nullopt;
  if (static_cast<std::size_t>(at) >= record.fields.size()) return std::string();
  return trimmed(record.fields[static_cast<std::size_t>(at)]);
}

std::optional<int64_t> csv_number(std::string_view text, int decimals) {
  const std::size_t mark = text.find_first_of(".,");
  const std::string_view whole = text.substr(0, mark);
  std::string_view fraction = mark == std::string_view::npos ? "" : text.substr(mark + 1);
  if (whole.empty() && fraction.empty()) return std::nullopt;
  if (whole.size() > 9) return std::nullopt;
  int64_t value = 0;
  for (char c : whole) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  for (int k = 0; k < decimals; ++k) {
    int digit = 0;
    if (static_cast<std::size_t>(k) < fraction.size()) {
      const char c = fraction[k];
      if (c < '0' || c > '9') return std::nullopt;
      digit = c - '0';
    }
    value = value * 10 + digit;
  }
  for (std::size_t k = static_cast<std::size_t>(decimals); k < fraction.size(); ++k) {
    if (fraction[k] != '0') return std::nullopt;
  }
  return value;
}

Csv_rows parse_channel_rows(std::string_view text, std::size_t most_problems) {
  Csv_rows out;
  out.text = text;
  out.problems.most = most_problems;
  // A row a line at most: one look at the text spares the rows' growing copies.
  out.rows.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
  Csv_reader reader(text);
  Csv_record record;
  bool header = false;
  while (!header && reader.next(record)) header = !record.commented;
  if (header) {
    read_header(record, out);
    if (out.problems.empty() && !out.header.has(Csv_column::location)) {
      out.problems.add({record.line, Csv_refusal::no_location_column, Csv_column::location});
    }
    out.readable = out.problems.empty();
  }
  // Read to the end all the same: a table that cannot be read says nothing else.
  while (reader.next(record)) {
    if (!out.readable || blank(record)) continue;
    // A comment line is the row of a channel that is off only in our own tables; else a comment.
    if (record.commented &&
        (!out.header.own_table() || out.header.cell(record, Csv_column::channel_off) != "V")) {
      continue;
    }
    std::string location = out.header.cell(record, Csv_column::location).value_or("");
    const std::optional<long long> number = location_number(location);
    if (!number) {
      out.problems.add(
          {record.line, Csv_refusal::bad_location, Csv_column::location, std::move(location)});
      continue;
    }
    out.rows.push_back({reader.last(), *number});
  }
  if (reader.error()) {
    out.rows.clear();
    out.problems.listed = {Csv_problem(reader.error()->line, Csv_refusal::unclosed_quote)};
    out.problems.unlisted = 0;
    out.readable = false;
  } else if (!header) {
    out.problems.add({0, Csv_refusal::empty_table});
  }
  return out;
}

Csv_plan locate_rows(const Csv_rows& rows, const Csv_anchor& anchor) {
  Csv_plan plan;
  plan.problems.most = rows.problems.most;
  if (!rows.readable) return plan;
  Csv_reader reader(rows.text);
  Csv_record record;
  // A refused row's Location as the table gives it, read again from the row.
  const auto refused = [&](const Csv_row& row, Csv_refusal why, long long number) {
    if (plan.problems.full()) {
      ++plan.problems.unlisted;
      return;
    }
    reader.seek(row.place);
    reader.next(record);
    Csv_problem problem(row.line(), why, Csv_column::location,
                        rows.header.cell(record, Csv_column::location).value_or(""));
    problem.number = number;
    plan.problems.add(std::move(problem));
  };
  // The Location that is channel 1.
  long long first = anchor.location;
  if (anchor.kind == Csv_anchor::lowest_location_channel && !rows.rows.empty()) {
    const auto lowest = std::min_element(
        rows.rows.begin(), rows.rows.end(),
        [](const Csv_row& a, const Csv_row& b) { return a.location < b.location; });
    first = lowest->location - (anchor.channel - 1);
  }
  std::array<int, channel_count + 1> line_of_channel{};
  for (std::size_t i = 0; i < rows.rows.size(); ++i) {
    const Csv_row& row = rows.rows[i];
    const long long n = row.location - first + 1;
    if (n < 1 || n > channel_count) {
      if (anchor.kind == Csv_anchor::channel_1_location) {
        plan.skipped.push_back({row.line(), row.location});
      } else {
        refused(row, Csv_refusal::past_last_channel, n);
      }
      continue;
    }
    int& earlier = line_of_channel[static_cast<std::size_t>(n)];
    if (earlier != 0) {
      refused(row, Csv_refusal::duplicate_location, earlier);
      continue;
    }
    earlier = row.line();
    plan.placed.push_back({i, static_cast<int>(n)});
  }
  if (rows.rows.empty() && rows.problems.empty()) {
    plan.problems.add({rows.header.line, Csv_refusal::empty_table});
  } else if (plan.placed.empty() && rows.problems.empty() && plan.problems.empty()) {
    Csv_problem none(rows.header.line, Csv_refusal::no_channel, Csv_column::location);
    for (const Csv_skipped& s : plan.skipped) none.locations.push_back(s.location);
    plan.problems.add(std::move(none));
  }
  return plan;
}

}  // namespace tirna
