#pragma once
// The columns of the channel table: CHIRP's generic CSV columns in CHIRP's order, then four of our
// own for what that layout has no place for. One table names them, for the export's header, the
// import's reading of a header and the refusals that name a column.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tirna {

enum class Csv_column : uint8_t {
  location,
  name,
  frequency,
  duplex,
  offset,
  tone,
  r_tone_freq,
  c_tone_freq,
  dtcs_code,
  dtcs_polarity,
  rx_dtcs_code,
  cross_mode,
  mode,
  tstep,
  skip,
  power,
  comment,
  // Ours. ChannelOff: "V" for a channel that is off. BusyLockout: "V" for transmit lock-out on a
  // busy channel. TxFrequency: the transmit frequency of an inhibited transmitter (Duplex "off"),
  // which CHIRP does not keep. Record: the 16 bytes of the channel record in hex, so that bits no
  // column shows survive a round trip.
  channel_off,
  busy_lockout,
  tx_frequency,
  record,
};

inline constexpr std::size_t csv_column_count = 21;

struct Csv_column_name {
  Csv_column column;
  std::string_view name;
  bool read;  // the import reads its cells (Name, Comment and TStep it ignores)
};

inline constexpr std::array<Csv_column_name, csv_column_count> csv_columns = {{
    {Csv_column::location, "Location", true},
    {Csv_column::name, "Name", false},
    {Csv_column::frequency, "Frequency", true},
    {Csv_column::duplex, "Duplex", true},
    {Csv_column::offset, "Offset", true},
    {Csv_column::tone, "Tone", true},
    {Csv_column::r_tone_freq, "rToneFreq", true},
    {Csv_column::c_tone_freq, "cToneFreq", true},
    {Csv_column::dtcs_code, "DtcsCode", true},
    {Csv_column::dtcs_polarity, "DtcsPolarity", true},
    {Csv_column::rx_dtcs_code, "RxDtcsCode", true},
    {Csv_column::cross_mode, "CrossMode", true},
    {Csv_column::mode, "Mode", true},
    {Csv_column::tstep, "TStep", false},
    {Csv_column::skip, "Skip", true},
    {Csv_column::power, "Power", true},
    {Csv_column::comment, "Comment", false},
    {Csv_column::channel_off, "ChannelOff", true},
    {Csv_column::busy_lockout, "BusyLockout", true},
    {Csv_column::tx_frequency, "TxFrequency", true},
    {Csv_column::record, "Record", true},
}};

constexpr std::size_t column_index(Csv_column c) {
  return static_cast<std::size_t>(c);
}

constexpr bool columns_in_enum_order() {
  for (std::size_t i = 0; i < csv_columns.size(); ++i) {
    if (column_index(csv_columns[i].column) != i) return false;
  }
  return true;
}
static_assert(columns_in_enum_order(), "csv_columns lists the columns in the order of Csv_column");

constexpr std::string_view column_name(Csv_column c) {
  return csv_columns[column_index(c)].name;
}

// The column a header names, letter case ignored; nullopt for a column the table does not know.
std::optional<Csv_column> column_named(std::string_view name);

}  // namespace tirna
