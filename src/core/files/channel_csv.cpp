#include "core/files/channel_csv.h"

#include <cstdio>
#include <map>
#include <optional>

#include "core/channels/channel_edits.h"
#include "core/channels/channel_fields.h"
#include "core/channels/subtone_entry.h"
#include "core/files/csv_table.h"
#include "core/image/channel_record.h"
#include "core/text/format.h"

namespace tirna {
namespace {

// CHIRP writes duplex +/- for transmit offsets below this and "split" above it.
constexpr int64_t split_threshold_hz = 70000000;
constexpr int64_t min_ctcss_tenths = 100;
constexpr int64_t max_ctcss_tenths = 9999;

std::string mhz_text(int64_t hz) {
  return megahertz_text(hz, '.');
}

std::string tone_text(int tenths) {
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

// A decimal number with '.' or ',' as decimal mark, scaled by 10^decimals; digits past that many
// decimals must be zeros. nullopt for anything else.
std::optional<int64_t> scaled_number(std::string_view text, int decimals) {
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

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// A column whose cells the import reads (Name, Comment and TStep are ignored).
bool read_column(std::string_view name) {
  const std::string n = lower(name);
  if (n == "name" || n == "comment" || n == "tstep") return false;
  for (std::string_view c : chirp_columns) {
    if (lower(c) == n) return true;
  }
  for (std::string_view c : own_columns) {
    if (lower(c) == n) return true;
  }
  return false;
}

// ---- export ----

// Watts as CHIRP writes them: whole watts from 10 W on ("25W"), else one decimal ("5.0W").
std::string power_text(bool low) {
  char buf[16];
  if (low) {
    std::snprintf(buf, sizeof buf, low_power_watts >= 10 ? "%.0fW" : "%.1fW", low_power_watts);
  } else {
    std::snprintf(buf, sizeof buf, "%dW", high_power_watts);
  }
  return buf;
}

// CHIRP takes tones of more than 50 and less than 300 Hz, and DCS codes of three octal digits.
constexpr int chirp_min_tenths = 501;
constexpr int chirp_max_tenths = 2999;

std::optional<std::string> chirp_refusal(const Tone_setting& t, const char* side) {
  if (t.kind == Tone_setting::ctcss && (t.tenths < chirp_min_tenths || t.tenths > chirp_max_tenths)) {
    return std::string(side) + " tone " + tone_text(t.tenths) + " Hz is outside CHIRP's 50-300 Hz";
  }
  if (t.kind == Tone_setting::dcs) {
    const std::string code = dcs_code_text(t.code);
    if (code.size() != 3 || code.find_first_not_of("01234567") != std::string::npos) {
      return std::string(side) + " DCS code " + code + " is not three octal digits";
    }
  }
  return std::nullopt;
}

struct Tone_columns {
  std::string mode, rtone = "88.5", ctone = "88.5", dtcs = "023", rx_dtcs = "023", polarity = "NN",
                    cross = "Tone->Tone";
};

Tone_columns tone_columns(const Tone_setting& tx, const Tone_setting& rx) {
  Tone_columns t;
  using K = Tone_setting::Kind;
  t.polarity = std::string(1, tx.kind == K::dcs && tx.inverted ? 'R' : 'N') +
               (rx.kind == K::dcs && rx.inverted ? 'R' : 'N');
  if (tx.kind == K::ctcss) t.rtone = tone_text(tx.tenths);
  if (rx.kind == K::ctcss) t.ctone = tone_text(rx.tenths);
  if (tx.kind == K::dcs) t.dtcs = dcs_code_text(tx.code);
  if (rx.kind == K::dcs) t.rx_dtcs = dcs_code_text(rx.code);
  if (tx.kind == K::none && rx.kind == K::none) {
    t.mode = "";
  } else if (tx.kind == K::ctcss && rx.kind == K::none) {
    t.mode = "Tone";
  } else if (tx.kind == K::ctcss && rx.kind == K::ctcss && tx.tenths == rx.tenths) {
    t.mode = "TSQL";
    t.rtone = t.ctone;
  } else if (tx.kind == K::dcs && rx.kind == K::dcs && tx.code == rx.code) {
    t.mode = "DTCS";
  } else {
    t.mode = "Cross";
    const auto part = [](const Tone_setting& s) {
      return s.kind == K::ctcss ? "Tone" : s.kind == K::dcs ? "DTCS" : "";
    };
    t.cross = std::string(part(tx)) + "->" + part(rx);
  }
  return t;
}

std::vector<std::string> export_row(const Param_image& image, int n, uint8_t coding_version) {
  const Channel_fields f = read_channel_fields(image, n, coding_version);
  std::string duplex, offset = "0.000000", tx_frequency;
  if (!f.tx_allowed) {
    duplex = "off";
    tx_frequency = mhz_text(f.tx_hz);
  } else if (f.tx_hz != f.rx_hz) {
    const int64_t difference = f.tx_hz - f.rx_hz;
    if (difference > -split_threshold_hz && difference < split_threshold_hz) {
      duplex = difference > 0 ? "+" : "-";
      offset = mhz_text(difference > 0 ? difference : -difference);
    } else {
      duplex = "split";
      offset = mhz_text(f.tx_hz);
    }
  }
  const Tone_columns t = tone_columns(f.tx_tone, f.rx_tone);
  std::string step = "12.50";
  if (!is_new_coding(coding_version)) step = step_flag(image, n, Side::rx) ? "6.25" : "5.00";
  // CHIRP has no channel that is off: such a row is a comment for it, the channel's row for us.
  return {(f.in_use ? "" : "#") + std::to_string(n),
          "",
          mhz_text(f.rx_hz),
          duplex,
          offset,
          t.mode,
          t.rtone,
          t.ctone,
          t.dtcs,
          t.polarity,
          t.rx_dtcs,
          t.cross,
          f.narrow ? "NFM" : "FM",
          step,
          f.no_scan ? "S" : "",
          power_text(f.low_power),
          "",
          f.in_use ? "" : "V",
          f.busy_lockout ? "V" : "",
          tx_frequency,
          hex_bytes(channel_record(image, n))};
}

// ---- import ----

class Row {
 public:
  Row(const std::map<std::string, std::size_t>& columns, const Csv_record& record,
      std::vector<Csv_problem>& problems)
      : columns_(columns), record_(record), problems_(problems) {}

  int line() const { return record_.line; }
  bool has(std::string_view column) const { return columns_.count(lower(column)) != 0; }
  // The trimmed cell, or nullopt when the table has no such column.
  std::optional<std::string> cell(std::string_view column) const {
    const auto it = columns_.find(lower(column));
    if (it == columns_.end()) return std::nullopt;
    if (it->second >= record_.fields.size()) return std::string();
    return trimmed(record_.fields[it->second]);
  }
  // A cell the row needs: empty or missing is a problem.
  std::optional<std::string> needed(std::string_view column) {
    auto value = cell(column);
    if (!value || value->empty()) {
      refuse(column, value.value_or(""), Csv_refusal::missing_value);
      return std::nullopt;
    }
    return value;
  }
  std::optional<int64_t> number(std::string_view column, int decimals) {
    const auto text = needed(column);
    if (!text) return std::nullopt;
    const auto value = scaled_number(*text, decimals);
    if (!value) refuse(column, *text, Csv_refusal::not_a_number);
    return value;
  }
  void refuse(std::string_view column, std::string_view value, Csv_refusal why,
              std::string detail = "") {
    ++refused_;
    // A receive and a transmit side refused for the same cell are one problem.
    if (!problems_.empty()) {
      const Csv_problem& last = problems_.back();
      if (last.line == record_.line && last.column == column && last.value == value &&
          last.refusal == why) {
        return;
      }
    }
    problems_.push_back(
        {record_.line, std::string(column), std::string(value), why, std::move(detail)});
  }
  int refused() const { return refused_; }

 private:
  const std::map<std::string, std::size_t>& columns_;
  const Csv_record& record_;
  std::vector<Csv_problem>& problems_;
  int refused_ = 0;
};

std::optional<Tone_setting> ctcss_from(Row& row, std::string_view primary,
                                       std::string_view fallback) {
  std::string_view column = primary;
  const auto first = row.cell(primary);
  if ((!first || first->empty()) && row.has(fallback)) column = fallback;
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

std::optional<Tone_setting> dcs_from(Row& row, std::string_view primary, std::string_view fallback,
                                     std::optional<bool> inverted) {
  std::string_view column = primary;
  const auto first = row.cell(primary);
  if ((!first || first->empty()) && row.has(fallback)) column = fallback;
  const auto text = row.needed(column);
  if (!text) return std::nullopt;
  const auto value = text->size() <= 4 ? scaled_number(*text, 0) : std::nullopt;
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

// The two sub-tones that the tone columns describe. Polarity letters: transmit first, receive
// second; without the column a DCS side keeps the inversion it has.
bool read_tones(Row& row, const Channel_fields& now, Channel_fields& wanted) {
  const auto mode = row.cell("Tone");
  if (!mode) return true;
  std::optional<bool> tx_inverted, rx_inverted;
  if (now.tx_tone.kind == Tone_setting::dcs) tx_inverted = now.tx_tone.inverted;
  if (now.rx_tone.kind == Tone_setting::dcs) rx_inverted = now.rx_tone.inverted;
  if (const auto polarity = row.cell("DtcsPolarity"); polarity && !polarity->empty()) {
    const std::string p = *polarity;
    if (p.size() != 2 || (p[0] != 'N' && p[0] != 'R') || (p[1] != 'N' && p[1] != 'R')) {
      row.refuse("DtcsPolarity", p, Csv_refusal::bad_polarity);
      return false;
    }
    tx_inverted = p[0] == 'R';
    rx_inverted = p[1] == 'R';
  }
  const int refused_before = row.refused();
  std::optional<Tone_setting> tx = Tone_setting{}, rx = Tone_setting{};
  if (mode->empty()) {
    // no sub-tone either way
  } else if (*mode == "Tone") {
    tx = ctcss_from(row, "rToneFreq", "cToneFreq");
  } else if (*mode == "TSQL") {
    tx = rx = ctcss_from(row, "cToneFreq", "rToneFreq");
  } else if (*mode == "DTCS") {
    tx = dcs_from(row, "DtcsCode", "RxDtcsCode", tx_inverted);
    rx = dcs_from(row, "DtcsCode", "RxDtcsCode", rx_inverted);
  } else if (*mode == "Cross") {
    const auto cross = row.needed("CrossMode");
    if (!cross) return false;
    const std::size_t arrow = cross->find("->");
    const std::string tx_part = arrow == std::string::npos ? "?" : cross->substr(0, arrow);
    const std::string rx_part = arrow == std::string::npos ? "?" : cross->substr(arrow + 2);
    const auto known = [](const std::string& s) { return s.empty() || s == "Tone" || s == "DTCS"; };
    if (!known(tx_part) || !known(rx_part) || (tx_part.empty() && rx_part.empty())) {
      row.refuse("CrossMode", *cross, Csv_refusal::bad_cross_mode);
      return false;
    }
    if (tx_part == "Tone") tx = ctcss_from(row, "rToneFreq", "cToneFreq");
    if (tx_part == "DTCS") tx = dcs_from(row, "DtcsCode", "RxDtcsCode", tx_inverted);
    if (rx_part == "Tone") rx = ctcss_from(row, "cToneFreq", "rToneFreq");
    if (rx_part == "DTCS") rx = dcs_from(row, "RxDtcsCode", "DtcsCode", rx_inverted);
  } else {
    row.refuse("Tone", *mode, Csv_refusal::bad_tone_mode);
    return false;
  }
  if (row.refused() != refused_before || !tx || !rx) return false;
  wanted.tx_tone = *tx;
  wanted.rx_tone = *rx;
  return true;
}

void read_transmitter(Row& row, const Channel_fields& now, Channel_fields& wanted) {
  const auto duplex = row.cell("Duplex");
  if (!duplex) {
    // CHIRP reads a memory without a Duplex column as simplex.
    if (row.has("Frequency")) {
      wanted.tx_allowed = true;
      wanted.tx_hz = wanted.rx_hz;
    }
    return;
  }
  wanted.tx_allowed = *duplex != "off";
  if (duplex->empty()) {
    wanted.tx_hz = wanted.rx_hz;
  } else if (*duplex == "+" || *duplex == "-") {
    if (const auto offset = row.number("Offset", 6)) {
      wanted.tx_hz = wanted.rx_hz + (*duplex == "+" ? *offset : -*offset);
    }
  } else if (*duplex == "split") {
    if (const auto tx = row.number("Offset", 6)) wanted.tx_hz = *tx;
  } else if (*duplex == "off") {
    const auto tx = row.cell("TxFrequency");
    wanted.tx_hz = now.tx_hz;
    if (tx && !tx->empty()) {
      if (const auto hz = row.number("TxFrequency", 6)) wanted.tx_hz = *hz;
    }
  } else {
    row.refuse("Duplex", *duplex, Csv_refusal::bad_duplex);
  }
}

// A cell that takes one of two texts (after trimming, letters in any case for High/Low); the
// column missing or an empty cell where empty is not one of them keeps the field.
void read_choice(Row& row, std::string_view column, std::string_view on, std::string_view off,
                 bool empty_keeps, Csv_refusal why, bool& field) {
  const auto value = row.cell(column);
  if (!value || (value->empty() && empty_keeps)) return;
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
  const auto value = row.cell("Power");
  if (!value || value->empty()) return;
  if (lower(*value) == "high" || lower(*value) == "low") {
    low_power = lower(*value) == "low";
    return;
  }
  std::string number = *value;
  if (!number.empty() && (number.back() == 'W' || number.back() == 'w')) number.pop_back();
  number = trimmed(number);
  const auto milliwatts = number.empty() ? std::nullopt : scaled_number(number, 3);
  if (!milliwatts) {
    row.refuse("Power", *value, Csv_refusal::bad_power);
    return;
  }
  low_power = static_cast<double>(*milliwatts) < power_midpoint_watts * 1000;
}

std::string column_of_transmitter(const Row& row) {
  if (!row.has("Duplex")) return "Frequency";
  const auto duplex = row.cell("Duplex").value_or("");
  if (duplex == "off") return "TxFrequency";
  if (duplex.empty()) return "Frequency";
  return "Offset";
}

}  // namespace


std::string export_channels_csv(const Param_image& image, uint8_t coding_version,
                                const std::vector<int>& channels) {
  std::vector<std::string> header(chirp_columns.begin(), chirp_columns.end());
  header.insert(header.end(), own_columns.begin(), own_columns.end());
  std::string out = csv_line(header);
  for (int n : channels) out += csv_line(export_row(image, n, coding_version));
  return out;
}

std::string export_channels_csv(const Param_image& image, uint8_t coding_version) {
  std::vector<int> all;
  for (int n = 1; n <= channel_count; ++n) all.push_back(n);
  return export_channels_csv(image, coding_version, all);
}

std::vector<Csv_chirp_note> rows_chirp_refuses(const Param_image& image, uint8_t coding_version) {
  std::vector<Csv_chirp_note> notes;
  for (int n = 1; n <= channel_count; ++n) {
    const Channel_fields f = read_channel_fields(image, n, coding_version);
    if (!f.in_use) continue;  // a comment line for CHIRP
    std::string reason;
    for (const auto& why : {chirp_refusal(f.rx_tone, "receive"),
                            f.tx_allowed ? chirp_refusal(f.tx_tone, "transmit") : std::nullopt}) {
      if (why) reason += (reason.empty() ? "" : "; ") + *why;
    }
    if (!reason.empty()) notes.push_back({n, reason});
  }
  return notes;
}

Csv_import_result import_channels_csv(Param_image& image, const Working_state& state,
                                      std::string_view text, const Csv_import_options& options) {
  Csv_import_result result;
  const auto read = read_csv(text);
  if (const auto* error = std::get_if<Csv_syntax_error>(&read)) {
    result.problems.push_back({error->line, "", "", Csv_refusal::syntax, error->reason});
    return result;
  }
  const Csv_table& table = std::get<Csv_table>(read);
  std::size_t first_row = 0;
  while (first_row < table.records.size() && table.records[first_row].commented) ++first_row;
  if (first_row == table.records.size()) {
    result.problems.push_back({0, "", "", Csv_refusal::empty_table, ""});
    return result;
  }
  const Csv_record& header = table.records[first_row];
  std::map<std::string, std::size_t> columns;
  for (std::size_t i = 0; i < header.fields.size(); ++i) {
    const std::string name = trimmed(header.fields[i]);
    if (!columns.emplace(lower(name), i).second && read_column(name)) {
      result.problems.push_back({header.line, name, "", Csv_refusal::duplicate_column, ""});
    }
  }
  if (!result.ok()) return result;
  if (columns.count("location") == 0) {
    result.problems.push_back({header.line, "Location", "", Csv_refusal::no_location_column, ""});
    return result;
  }
  // Our own tables carry ChannelOff; a table without it came from CHIRP or a spreadsheet.
  const bool own_table = columns.count("channeloff") != 0;

  Param_image work = image;
  std::map<int, int> line_of_channel;
  std::map<int, std::string> tx_column_of_channel;
  const uint8_t marker =
      is_new_coding(state.coding_version) ? coding_marker_new : coding_marker_old;
  bool any_row = false;
  for (std::size_t r = first_row + 1; r < table.records.size(); ++r) {
    const Csv_record& record = table.records[r];
    bool blank = true;
    for (const auto& f : record.fields) blank = blank && trimmed(f).empty();
    if (blank) continue;
    Row row(columns, record, result.problems);
    // A comment line is the row of a channel that is off only in our own tables; else a comment.
    if (record.commented && (!own_table || row.cell("ChannelOff").value_or("") != "V")) continue;

    const std::string location = row.cell("Location").value_or("");
    const auto number = location.find_first_of(".,") == std::string::npos
                            ? scaled_number(location, 0)
                            : std::nullopt;
    if (!number) {
      row.refuse("Location", location, Csv_refusal::bad_location);
      continue;
    }
    any_row = true;
    const long long n = *number - options.first_location + 1;
    if (n < 1 || n > channel_count) {
      result.skipped.push_back({row.line(), *number});
      continue;
    }
    const int channel = static_cast<int>(n);
    if (const auto earlier = line_of_channel.find(channel); earlier != line_of_channel.end()) {
      row.refuse("Location", location, Csv_refusal::duplicate_location,
                 std::to_string(earlier->second));
      continue;
    }
    line_of_channel[channel] = row.line();
    result.channels.push_back(channel);

    // The record the row starts from: its own Record when it was written in this file's coding,
    // else the channel as the file holds it.
    if (const auto hex = row.cell("Record"); hex && !hex->empty()) {
      if (const auto base = parse_record_hex(*hex); !base) {
        row.refuse("Record", *hex, Csv_refusal::bad_record);
      } else {
        // Only what a control sets comes from the record; the channel keeps the radio's own bits.
        Param_image scratch = work;
        set_channel_record(scratch, channel, *base);
        if (coding_marker(scratch, channel) == marker) {
          set_channel_record(work, channel,
                             with_own_fixed_bits(*base, channel_record(work, channel)));
        }
      }
    }
    const Channel_fields now = read_channel_fields(work, channel, state.coding_version);
    Channel_fields wanted = now;
    wanted.in_use = true;
    if (row.has("Frequency")) {
      if (const auto hz = row.number("Frequency", 6)) wanted.rx_hz = *hz;
    }
    read_transmitter(row, now, wanted);
    read_tones(row, now, wanted);
    if (const auto mode = row.cell("Mode"); mode && !mode->empty()) {
      if (lower(*mode) == "fm" || lower(*mode) == "nfm") {
        wanted.narrow = lower(*mode) == "nfm";
      } else {
        row.refuse("Mode", *mode, Csv_refusal::bad_mode);
      }
    }
    read_choice(row, "Skip", "S", "", false, Csv_refusal::bad_skip, wanted.no_scan);
    read_power(row, wanted.low_power);
    bool off = !wanted.in_use;
    read_choice(row, "ChannelOff", "V", "", false, Csv_refusal::bad_mark, off);
    wanted.in_use = !off;
    read_choice(row, "BusyLockout", "V", "", false, Csv_refusal::bad_mark, wanted.busy_lockout);
    // Fields the row could not give keep the channel's value; the others are stored all the same,
    // so that the row's every problem is found in one go.
    for (const Field_problem& p : store_channel_fields(work, state, channel, wanted)) {
      switch (p.field) {
        case Field_problem::rx_frequency:
          row.refuse("Frequency", mhz_text(wanted.rx_hz), Csv_refusal::out_of_band);
          break;
        case Field_problem::tx_frequency:
          row.refuse(column_of_transmitter(row), mhz_text(wanted.tx_hz), Csv_refusal::out_of_band);
          break;
        case Field_problem::rx_tone:
        case Field_problem::tx_tone: {
          const bool rx = p.field == Field_problem::rx_tone;
          const Tone_setting& t = rx ? wanted.rx_tone : wanted.tx_tone;
          const bool dcs = t.kind == Tone_setting::dcs;
          const char* column = dcs ? (rx && row.cell("Tone") == "Cross" ? "RxDtcsCode" : "DtcsCode")
                                   : (rx ? "cToneFreq" : "rToneFreq");
          row.refuse(column, dcs ? dcs_code_text(t.code) : tone_text(t.tenths),
                     Csv_refusal::tone_refused, p.message);
          break;
        }
      }
    }
    const Channel_fields stored = read_channel_fields(work, channel, state.coding_version);
    const bool rx_noted = stored.rx_hz != wanted.rx_hz && row.refused() == 0;
    if (rx_noted) result.notes.push_back({row.line(), "Frequency", wanted.rx_hz, stored.rx_hz});
    // A simplex row's transmit frequency is its receive frequency: one note says it.
    const std::string tx_column = column_of_transmitter(row);
    tx_column_of_channel[channel] = tx_column;
    const bool same_as_rx = tx_column == "Frequency" && rx_noted && wanted.tx_hz == wanted.rx_hz;
    if (stored.tx_hz != wanted.tx_hz && row.refused() == 0 && !same_as_rx) {
      result.notes.push_back({row.line(), tx_column, wanted.tx_hz, stored.tx_hz});
    }
  }
  if (!any_row && result.problems.empty()) {
    result.problems.push_back({header.line, "", "", Csv_refusal::empty_table, ""});
  }
  if (any_row && result.channels.empty() && result.problems.empty()) {
    std::string locations;
    for (const Csv_skipped& s : result.skipped) {
      locations += (locations.empty() ? "" : ", ") + std::to_string(s.location);
    }
    result.problems.push_back({header.line, "Location", "", Csv_refusal::no_channel, locations});
  }
  if (!own_table && !options.keep_missing && result.ok()) {
    for (int n = 1; n <= channel_count; ++n) {
      if (line_of_channel.count(n) != 0 || !channel_in_use(work, n)) continue;
      toggle_channel_off(work, n, true);
      result.switched_off.push_back(n);
    }
  }
  if (result.ok()) {
    // The one check of every channel the table changed, whatever column or record gave its values.
    for (const Channel_fault& f : edit_faults(image, work, state)) {
      std::string column = "Record";
      std::string value = hex_bytes(channel_record(work, f.channel));
      if (f.kind == Channel_fault::out_of_band) {
        column = f.side == Side::rx ? "Frequency" : tx_column_of_channel[f.channel];
        value = mhz_text(f.hz);
      }
      Csv_problem problem{line_of_channel[f.channel], column, value, Csv_refusal::channel_refused,
                          ""};
      if (f.kind == Channel_fault::out_of_band) problem.refusal = Csv_refusal::out_of_band;
      problem.fault = f;
      result.problems.push_back(problem);
    }
  }
  if (result.ok()) image = work;
  return result;
}

std::string csv_refusal_text(const Csv_problem& p, const Working_state& state) {
  switch (p.refusal) {
    case Csv_refusal::syntax:
      return p.detail;
    case Csv_refusal::no_location_column:
      return "the header names no Location column";
    case Csv_refusal::bad_location:
      return "Location must be a whole number";
    case Csv_refusal::duplicate_location:
      return "the channel was given on line " + p.detail;
    case Csv_refusal::not_a_number:
      return "not a number";
    case Csv_refusal::missing_value:
      return "needed by this row, but empty or missing";
    case Csv_refusal::out_of_band:
      return "outside the band " + megahertz_text(state.limits.lower, '.') + " to " +
             megahertz_text(state.limits.upper, '.') + " MHz of the file";
    case Csv_refusal::bad_duplex:
      return "Duplex takes \"\", +, -, split or off";
    case Csv_refusal::bad_tone_mode:
      return "a tone mode the radio does not have (\"\", Tone, TSQL, DTCS or Cross; it has no "
             "reverse squelch)";
    case Csv_refusal::bad_cross_mode:
      return "not a cross mode (Tone->Tone, Tone->DTCS, DTCS->Tone, DTCS->DTCS, Tone->, DTCS->, "
             "->Tone, ->DTCS)";
    case Csv_refusal::bad_polarity:
      return "DtcsPolarity takes NN, NR, RN or RR";
    case Csv_refusal::tone_refused:
      return "a tone or code the radio cannot store: " + p.detail +
             " (tones 10.0 to 999.9 Hz, DCS codes of three octal digits)";
    case Csv_refusal::bad_mode:
      return "a mode the radio does not have (FM for 25 kHz, NFM for 12.5 kHz)";
    case Csv_refusal::bad_skip:
      return "Skip takes \"\" (scanned) or S (left out of scanning)";
    case Csv_refusal::bad_power:
      return "Power takes watts (25W, 5.0W) or High or Low";
    case Csv_refusal::bad_mark:
      return "takes V or \"\"";
    case Csv_refusal::bad_record:
      return "not the 16 bytes of a channel record in hex";
    case Csv_refusal::past_last_channel:
      return "the row would go to channel " + p.detail + ", past the last channel 16";
    case Csv_refusal::empty_table:
      return "the table has no rows (a table with no row for any channel is refused)";
    case Csv_refusal::duplicate_column:
      return "the header names this column twice";
    case Csv_refusal::channel_refused:
      return p.fault ? channel_fault_text(*p.fault) : "";
    case Csv_refusal::no_channel:
      return "no row names a channel 1 to 16 (the rows give Location " + p.detail +
             "; --first-location N makes memory N channel 1)";
  }
  return "";
}

Csv_import_result paste_channels_csv(Param_image& image, const Working_state& state,
                                     std::string_view text, int first_channel) {
  // The lowest Location of the table's rows lands on first_channel.
  std::optional<long long> lowest;
  const auto read = read_csv(text);
  if (const auto* table = std::get_if<Csv_table>(&read)) {
    std::optional<std::size_t> location_column;
    for (const Csv_record& record : table->records) {
      if (record.commented && !location_column) continue;
      if (!location_column) {
        for (std::size_t i = 0; i < record.fields.size(); ++i) {
          if (lower(trimmed(record.fields[i])) == "location") location_column = i;
        }
        if (!location_column) break;
        continue;
      }
      if (*location_column >= record.fields.size()) continue;
      const std::string location = trimmed(record.fields[*location_column]);
      if (location.find_first_of(".,") != std::string::npos) continue;
      if (const auto n = scaled_number(location, 0); n && (!lowest || *n < *lowest)) lowest = *n;
    }
  }
  Csv_import_options options;
  options.keep_missing = true;
  options.first_location = lowest ? *lowest - (first_channel - 1) : 1;
  Param_image work = image;
  Csv_import_result result = import_channels_csv(work, state, text, options);
  for (const Csv_skipped& s : result.skipped) {
    result.problems.push_back({s.line, "Location", std::to_string(s.location),
                               Csv_refusal::past_last_channel,
                               std::to_string(s.location - options.first_location + 1)});
  }
  if (result.ok()) image = work;
  return result;
}

}  // namespace tirna
