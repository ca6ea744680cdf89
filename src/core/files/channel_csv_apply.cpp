// The last step of taking a channel table: each placed row's cells made into the channel it
// wants and stored through the window's operations, then the check of every channel. And the two
// routes through the three steps, import and the table's Paste.

#include <algorithm>
#include <cstddef>
#include <iterator>

#include "core/channels/channel_edits.h"
#include "core/channels/subtone_entry.h"
#include "core/files/channel_csv_steps.h"
#include "core/image/channel_record.h"
#include "core/text/format.h"

namespace tirna {
namespace {

constexpr int64_t min_ctcss_tenths = 100;
constexpr int64_t max_ctcss_tenths = 9999;

using C = Csv_column;

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string tone_text(int64_t tenths) {
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::optional<Channel_record_bytes> parse_record_hex(std::string_view text) {
  Channel_record_bytes record{};
  std::size_t count = 0;
  int nibbles = 0;
  int value = 0;
  for (char c : text) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (digit < 0) {
      if (c != ' ' || nibbles == 1) return std::nullopt;
      continue;
    }
    value = value * 16 + digit;
    if (++nibbles == 2) {
      if (count == record.size()) return std::nullopt;
      record[count++] = static_cast<uint8_t>(value);
      nibbles = 0;
      value = 0;
    }
  }
  if (count != record.size() || nibbles != 0) return std::nullopt;
  return record;
}

// One row's cells, and the problems it finds in them.
class Row {
 public:
  Row(const Csv_header& header, const Csv_record& record, std::vector<Csv_problem>& problems)
      : header_(header), record_(record), problems_(problems) {}

  int line() const { return record_.line; }
  bool has(C column) const { return header_.has(column); }
  std::optional<std::string> cell(C column) const { return header_.cell(record_, column); }
  // A cell the row needs: empty or missing is a problem.
  std::optional<std::string> needed(C column) {
    auto value = cell(column);
    if (!value || value->empty()) {
      refuse(column, value.value_or(""), Csv_refusal::missing_value);
      return std::nullopt;
    }
    return value;
  }
  std::optional<int64_t> number(C column, int decimals) {
    const auto text = needed(column);
    if (!text) return std::nullopt;
    const auto value = csv_number(*text, decimals);
    if (!value) refuse(column, *text, Csv_refusal::not_a_number);
    return value;
  }
  void refuse(C column, std::string value, Csv_refusal why, std::string detail = "") {
    Csv_problem problem(record_.line, why, column, std::move(value));
    problem.detail = std::move(detail);
    refuse(std::move(problem));
  }
  void refuse(Csv_problem problem) {
    ++refused_;
    problem.line = record_.line;
    // A receive and a transmit side refused for the same cell are one problem.
    if (!problems_.empty()) {
      const Csv_problem& last = problems_.back();
      if (last.line == problem.line && last.column == problem.column &&
          last.value == problem.value && last.refusal == problem.refusal && last.hz == problem.hz) {
        return;
      }
    }
    problems_.push_back(std::move(problem));
  }
  int refused() const { return refused_; }

 private:
  const Csv_header& header_;
  const Csv_record& record_;
  std::vector<Csv_problem>& problems_;
  int refused_ = 0;
};

// The column a tone is read from: the first, or the other where the first is empty or missing.
C tone_column(const Row& row, C primary, C fallback) {
  const auto first = row.cell(primary);
  return (!first || first->empty()) && row.has(fallback) ? fallback : primary;
}

std::optional<Tone_setting> ctcss_from(Row& row, C primary, C fallback) {
  const C column = tone_column(row, primary, fallback);
  const auto tenths = row.number(column, 1);
  if (!tenths) return std::nullopt;
  // Four BCD digits of tenths hold the tone: 10.0 to 999.9 Hz as the dialog takes it.
  if (*tenths < min_ctcss_tenths || *tenths > max_ctcss_tenths) {
    row.refuse(column, *row.cell(column), Csv_refusal::tone_refused,
               subtone_refusal(std::to_string(*tenths / 10) + "," + std::to_string(*tenths % 10)));
    return std::nullopt;
  }
  Tone_setting t;
  t.kind = Tone_setting::ctcss;
  t.tenths = static_cast<int>(*tenths);
  return t;
}

std::optional<Tone_setting> dcs_from(Row& row, C primary, C fallback,
                                     std::optional<bool> inverted) {
  const C column = tone_column(row, primary, fallback);
  const auto text = row.needed(column);
  if (!text) return std::nullopt;
  const auto value = text->size() <= 4 ? csv_number(*text, 0) : std::nullopt;
  if (!value || text->find_first_of(".,") != std::string::npos) {
    row.refuse(column, *text, Csv_refusal::not_a_number);
    return std::nullopt;
  }
  Tone_setting t;
  t.kind = Tone_setting::dcs;
  t.code = static_cast<int>(*value);
  t.inverted = inverted.value_or(false);
  return t;
}

// The two sides of a cross mode ("Tone->DTCS"): each "", "Tone" or "DTCS", not both empty.
bool read_cross(Row& row, std::optional<bool> tx_inverted, std::optional<bool> rx_inverted,
                std::optional<Tone_setting>& tx, std::optional<Tone_setting>& rx) {
  const auto cross = row.needed(C::cross_mode);
  if (!cross) return false;
  const std::size_t arrow = cross->find("->");
  const std::string tx_part = arrow == std::string::npos ? "?" : cross->substr(0, arrow);
  const std::string rx_part = arrow == std::string::npos ? "?" : cross->substr(arrow + 2);
  const auto known = [](const std::string& s) { return s.empty() || s == "Tone" || s == "DTCS"; };
  if (!known(tx_part) || !known(rx_part) || (tx_part.empty() && rx_part.empty())) {
    row.refuse(C::cross_mode, *cross, Csv_refusal::bad_cross_mode);
    return false;
  }
  if (tx_part == "Tone") tx = ctcss_from(row, C::r_tone_freq, C::c_tone_freq);
  if (tx_part == "DTCS") tx = dcs_from(row, C::dtcs_code, C::rx_dtcs_code, tx_inverted);
  if (rx_part == "Tone") rx = ctcss_from(row, C::c_tone_freq, C::r_tone_freq);
  if (rx_part == "DTCS") rx = dcs_from(row, C::rx_dtcs_code, C::dtcs_code, rx_inverted);
  return true;
}

// The two sub-tones that the tone columns describe. Polarity letters: transmit first, receive
// second; without the column a DCS side keeps the inversion it has.
void read_tones(Row& row, const Channel_fields& now, Channel_fields& wanted) {
  const auto mode = row.cell(C::tone);
  if (!mode) return;
  std::optional<bool> tx_inverted, rx_inverted;
  if (now.tx_tone.kind == Tone_setting::dcs) tx_inverted = now.tx_tone.inverted;
  if (now.rx_tone.kind == Tone_setting::dcs) rx_inverted = now.rx_tone.inverted;
  if (const auto polarity = row.cell(C::dtcs_polarity); polarity && !polarity->empty()) {
    const std::string p = *polarity;
    if (p.size() != 2 || (p[0] != 'N' && p[0] != 'R') || (p[1] != 'N' && p[1] != 'R')) {
      row.refuse(C::dtcs_polarity, p, Csv_refusal::bad_polarity);
      return;
    }
    tx_inverted = p[0] == 'R';
    rx_inverted = p[1] == 'R';
  }
  const int refused_before = row.refused();
  std::optional<Tone_setting> tx = Tone_setting{}, rx = Tone_setting{};
  if (mode->empty()) {
    // no sub-tone either way
  } else if (*mode == "Tone") {
    tx = ctcss_from(row, C::r_tone_freq, C::c_tone_freq);
  } else if (*mode == "TSQL") {
    tx = rx = ctcss_from(row, C::c_tone_freq, C::r_tone_freq);
  } else if (*mode == "DTCS") {
    tx = dcs_from(row, C::dtcs_code, C::rx_dtcs_code, tx_inverted);
    rx = dcs_from(row, C::dtcs_code, C::rx_dtcs_code, rx_inverted);
  } else if (*mode == "Cross") {
    if (!read_cross(row, tx_inverted, rx_inverted, tx, rx)) return;
  } else {
    row.refuse(C::tone, *mode, Csv_refusal::bad_tone_mode);
    return;
  }
  if (row.refused() != refused_before || !tx || !rx) return;
  wanted.tx_tone = *tx;
  wanted.rx_tone = *rx;
}

void read_transmitter(Row& row, const Channel_fields& now, Channel_fields& wanted) {
  const auto duplex = row.cell(C::duplex);
  if (!duplex) {
    // CHIRP reads a memory without a Duplex column as simplex.
    if (row.has(C::frequency)) {
      wanted.tx_allowed = true;
      wanted.tx_hz = wanted.rx_hz;
    }
    return;
  }
  wanted.tx_allowed = *duplex != "off";
  if (duplex->empty()) {
    wanted.tx_hz = wanted.rx_hz;
  } else if (*duplex == "+" || *duplex == "-") {
    if (const auto offset = row.number(C::offset, 6)) {
      wanted.tx_hz = wanted.rx_hz + (*duplex == "+" ? *offset : -*offset);
    }
  } else if (*duplex == "split") {
    if (const auto tx = row.number(C::offset, 6)) wanted.tx_hz = *tx;
  } else if (*duplex == "off") {
    const auto tx = row.cell(C::tx_frequency);
    wanted.tx_hz = now.tx_hz;
    if (tx && !tx->empty()) {
      if (const auto hz = row.number(C::tx_frequency, 6)) wanted.tx_hz = *hz;
    }
  } else {
    row.refuse(C::duplex, *duplex, Csv_refusal::bad_duplex);
  }
}

// A cell that takes one of two texts (after trimming, letters in any case); the column missing
// keeps the field.
void read_choice(Row& row, C column, std::string_view on, std::string_view off, Csv_refusal why,
                 bool& field) {
  const auto value = row.cell(column);
  if (!value) return;
  if (lower(*value) == lower(on)) {
    field = true;
  } else if (lower(*value) == lower(off)) {
    field = false;
  } else {
    row.refuse(column, *value, why);
  }
}

// Power: watts as CHIRP writes them ("50W", "5.0W", "0.5 W", "25"), full power at or above the
// midpoint of the two nominal levels; or the words High and Low. Empty keeps the channel's.
void read_power(Row& row, bool& low_power) {
  const auto value = row.cell(C::power);
  if (!value || value->empty()) return;
  if (lower(*value) == "high" || lower(*value) == "low") {
    low_power = lower(*value) == "low";
    return;
  }
  std::string number = *value;
  if (!number.empty() && (number.back() == 'W' || number.back() == 'w')) number.pop_back();
  number = trimmed(number);
  const auto milliwatts = number.empty() ? std::nullopt : csv_number(number, 3);
  if (!milliwatts) {
    row.refuse(C::power, *value, Csv_refusal::bad_power);
    return;
  }
  low_power = static_cast<double>(*milliwatts) < power_midpoint_watts * 1000;
}

// The column that gives a row's transmit frequency.
C column_of_transmitter(const Row& row) {
  if (!row.has(C::duplex)) return C::frequency;
  const auto duplex = row.cell(C::duplex).value_or("");
  if (duplex == "off") return C::tx_frequency;
  if (duplex.empty()) return C::frequency;
  return C::offset;
}

// The record the row starts from: its own Record when it was written in this file's coding (only
// what a control sets; the channel keeps the radio's own bits), else the channel as it is.
void start_from_record(Row& row, Param_image& work, int channel, uint8_t coding_version) {
  const auto hex = row.cell(C::record);
  if (!hex || hex->empty()) return;
  const auto base = parse_record_hex(*hex);
  if (!base) {
    row.refuse(C::record, *hex, Csv_refusal::bad_record);
    return;
  }
  const Channel_record_bytes own = channel_record(work, channel);
  set_channel_record(work, channel, *base);
  const uint8_t marker = is_new_coding(coding_version) ? coding_marker_new : coding_marker_old;
  set_channel_record(
      work, channel,
      coding_marker(work, channel) == marker ? with_own_fixed_bits(*base, own) : own);
}

// What the row's cells make of the channel; fields the row cannot give keep the channel's value.
Channel_fields wanted_fields(Row& row, const Channel_fields& now) {
  Channel_fields wanted = now;
  wanted.in_use = true;
  if (row.has(C::frequency)) {
    if (const auto hz = row.number(C::frequency, 6)) wanted.rx_hz = *hz;
  }
  read_transmitter(row, now, wanted);
  read_tones(row, now, wanted);
  if (const auto mode = row.cell(C::mode); mode && !mode->empty()) {
    if (lower(*mode) == "fm" || lower(*mode) == "nfm") {
      wanted.narrow = lower(*mode) == "nfm";
    } else {
      row.refuse(C::mode, *mode, Csv_refusal::bad_mode);
    }
  }
  read_choice(row, C::skip, "S", "", Csv_refusal::bad_skip, wanted.no_scan);
  read_power(row, wanted.low_power);
  bool off = !wanted.in_use;
  read_choice(row, C::channel_off, "V", "", Csv_refusal::bad_mark, off);
  wanted.in_use = !off;
  read_choice(row, C::busy_lockout, "V", "", Csv_refusal::bad_mark, wanted.busy_lockout);
  return wanted;
}

// Stores what the row wants; the fields the window's operations refuse are the row's problems.
// Refused or not, the other fields are stored, so that the row's every problem is found at once.
void store_row(Row& row, Param_image& work, const Working_state& state, int channel,
               const Channel_fields& wanted) {
  for (const Field_problem& p : store_channel_fields(work, state, channel, wanted)) {
    switch (p.field) {
      case Field_problem::rx_frequency:
      case Field_problem::tx_frequency: {
        const bool rx = p.field == Field_problem::rx_frequency;
        Csv_problem problem(row.line(), Csv_refusal::out_of_band,
                            rx ? C::frequency : column_of_transmitter(row));
        problem.hz = rx ? wanted.rx_hz : wanted.tx_hz;
        problem.limits = state.limits;
        row.refuse(std::move(problem));
        break;
      }
      case Field_problem::rx_tone:
      case Field_problem::tx_tone: {
        const bool rx = p.field == Field_problem::rx_tone;
        const Tone_setting& t = rx ? wanted.rx_tone : wanted.tx_tone;
        const bool dcs = t.kind == Tone_setting::dcs;
        const C column = dcs ? (rx && row.cell(C::tone) == "Cross" ? C::rx_dtcs_code : C::dtcs_code)
                             : (rx ? C::c_tone_freq : C::r_tone_freq);
        row.refuse(column, dcs ? dcs_code_text(t.code) : tone_text(t.tenths),
                   Csv_refusal::tone_refused, p.message);
        break;
      }
    }
  }
}

// Notes where the coding stored another frequency than the row's. A simplex row's transmit
// frequency is its receive frequency: one note says it.
void note_stored_frequencies(const Row& row, const Channel_fields& wanted,
                             const Channel_fields& stored, std::vector<Csv_note>& notes) {
  if (row.refused() != 0) return;
  const bool rx_noted = stored.rx_hz != wanted.rx_hz;
  if (rx_noted) notes.push_back({row.line(), C::frequency, wanted.rx_hz, stored.rx_hz});
  const C tx_column = column_of_transmitter(row);
  const bool same_as_rx = tx_column == C::frequency && rx_noted && wanted.tx_hz == wanted.rx_hz;
  if (stored.tx_hz != wanted.tx_hz && !same_as_rx) {
    notes.push_back({row.line(), tx_column, wanted.tx_hz, stored.tx_hz});
  }
}

// The check of every channel the table changed, whatever column or record gave its values.
void check_channels(const Param_image& before, const Param_image& after, const Working_state& state,
                    const std::array<int, channel_count + 1>& line_of,
                    const std::array<C, channel_count + 1>& tx_column_of, Csv_problems& problems) {
  for (const Channel_fault& f : edit_faults(before, after, state)) {
    const auto n = static_cast<std::size_t>(f.channel);
    Csv_problem problem(line_of[n], Csv_refusal::channel_refused, C::record,
                        hex_bytes(channel_record(after, f.channel)));
    problem.fault = f;
    if (f.kind == Channel_fault::out_of_band) {
      problem.refusal = Csv_refusal::out_of_band;
      problem.column = f.side == Side::rx ? C::frequency : tx_column_of[n];
      problem.value.clear();
      problem.hz = f.hz;
      problem.limits = f.limits;
    }
    problems.add(std::move(problem));
  }
}

// Two lists of problems, each in the order of the lines, as one (the first's before the other's
// on the same line), with no more listed than the most asked for. The second list is the short
// one: it is merged into the first where that stands.
Csv_problems by_line(Csv_problems a, Csv_problems b) {
  a.unlisted += b.unlisted;
  const auto middle = static_cast<std::ptrdiff_t>(a.listed.size());
  a.listed.insert(a.listed.end(), std::make_move_iterator(b.listed.begin()),
                  std::make_move_iterator(b.listed.end()));
  std::inplace_merge(a.listed.begin(), a.listed.begin() + middle, a.listed.end(),
                     [](const Csv_problem& x, const Csv_problem& y) { return x.line < y.line; });
  if (a.listed.size() > a.most) {
    a.unlisted += a.listed.size() - a.most;
    a.listed.resize(a.most);
  }
  return a;
}

}  // namespace

Csv_import_result apply_rows(Param_image& image, const Working_state& state, Csv_rows rows,
                             Csv_plan plan, bool keep_missing) {
  Csv_import_result result;
  result.skipped = std::move(plan.skipped);
  Param_image work = image;
  std::array<int, channel_count + 1> line_of{};
  std::array<C, channel_count + 1> tx_column_of{};
  // By line, as the placed rows are in the table's order; at most 16 rows' worth.
  Csv_problems applied;
  applied.most = rows.problems.most;
  Csv_reader reader(rows.text);
  Csv_record record;
  for (const Csv_placed& placed : plan.placed) {
    const int channel = placed.channel;
    reader.seek(rows.rows[placed.row].place);
    reader.next(record);
    Row row(rows.header, record, applied.listed);
    result.channels.push_back(channel);
    line_of[static_cast<std::size_t>(channel)] = row.line();
    tx_column_of[static_cast<std::size_t>(channel)] = column_of_transmitter(row);
    start_from_record(row, work, channel, state.coding_version);
    const Channel_fields wanted =
        wanted_fields(row, read_channel_fields(work, channel, state.coding_version));
    store_row(row, work, state, channel, wanted);
    note_stored_frequencies(row, wanted, read_channel_fields(work, channel, state.coding_version),
                            result.notes);
  }
  // The problems of the three steps, each step's already in the order of the lines, merged.
  Csv_problems problems =
      by_line(by_line(std::move(plan.problems), std::move(rows.problems)), std::move(applied));
  result.problems = std::move(problems.listed);
  result.unlisted_problems = problems.unlisted;
  if (!keep_missing && !rows.header.own_table() && result.ok()) {
    for (int n = 1; n <= channel_count; ++n) {
      if (line_of[static_cast<std::size_t>(n)] != 0 || !channel_in_use(work, n)) continue;
      toggle_channel_off(work, n, true);
      result.switched_off.push_back(n);
    }
  }
  if (result.ok()) {
    Csv_problems faults;
    faults.most = problems.most;
    check_channels(image, work, state, line_of, tx_column_of, faults);
    result.problems = std::move(faults.listed);
    result.unlisted_problems = faults.unlisted;
  }
  if (result.ok()) image = work;
  return result;
}

Csv_import_result import_channels_csv(Param_image& image, const Working_state& state,
                                      std::string_view text, const Csv_import_options& options) {
  Csv_rows rows = parse_channel_rows(text);
  Csv_plan plan = locate_rows(rows, Csv_anchor::import_from(options.first_location));
  return apply_rows(image, state, std::move(rows), std::move(plan), options.keep_missing);
}

Csv_import_result paste_channels_csv(Param_image& image, const Working_state& state,
                                     std::string_view text, int first_channel,
                                     std::size_t most_problems) {
  Csv_rows rows = parse_channel_rows(text, most_problems);
  Csv_plan plan = locate_rows(rows, Csv_anchor::paste_at(first_channel));
  return apply_rows(image, state, std::move(rows), std::move(plan), true);
}

}  // namespace tirna
