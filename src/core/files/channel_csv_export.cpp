// The channel table as CHIRP's generic CSV files hold it, and the channels whose rows CHIRP would
// refuse.

#include <cstdio>

#include "core/files/channel_csv.h"
#include "core/files/csv_table.h"
#include "core/image/channel_record.h"
#include "core/text/format.h"

namespace tirna {
namespace {

// CHIRP writes duplex +/- for transmit offsets below this and "split" above it.
constexpr int64_t split_threshold_hz = 70000000;

// CHIRP takes tones of more than 50 and less than 300 Hz, and DCS codes of three octal digits.
constexpr int chirp_min_tenths = 501;
constexpr int chirp_max_tenths = 2999;

std::string mhz_text(int64_t hz) {
  return megahertz_text(hz, '.');
}

std::string tone_text(int tenths) {
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

// Watts as CHIRP writes them: whole watts from 10 W on ("25W"), else one decimal ("5.0W"), with
// a point whatever the locale (the window's Copy runs in the desktop's).
std::string power_text(bool low) {
  if (!low) return std::to_string(high_power_watts) + "W";
  return fixed_point_text(low_power_watts, low_power_watts >= 10 ? 0 : 1) + "W";
}

bool chirp_refuses(const Tone_setting& t) {
  if (t.kind == Tone_setting::ctcss) {
    return t.tenths < chirp_min_tenths || t.tenths > chirp_max_tenths;
  }
  if (t.kind == Tone_setting::dcs) {
    const std::string code = dcs_code_text(t.code);
    return code.size() != 3 || code.find_first_not_of("01234567") != std::string::npos;
  }
  return false;
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
  // In the order of csv_columns. CHIRP has no channel that is off: such a row is a comment for
  // it, the channel's row for us.
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

}  // namespace

std::string export_channels_csv(const Param_image& image, uint8_t coding_version,
                                const std::vector<int>& channels) {
  std::vector<std::string> header;
  for (const Csv_column_name& c : csv_columns) header.emplace_back(c.name);
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
    if (chirp_refuses(f.rx_tone)) notes.push_back({n, Side::rx, f.rx_tone});
    if (f.tx_allowed && chirp_refuses(f.tx_tone)) notes.push_back({n, Side::tx, f.tx_tone});
  }
  return notes;
}

}  // namespace tirna
