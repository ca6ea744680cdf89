#include "cli/cli_text.h"

#include <cstdio>

namespace tirna::cli {

std::string in_quotes(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (u < 0x20 || u == 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", u);
      out += buf;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string channel_fault_text(const Channel_fault& f) {
  const std::string side = f.side == Side::rx ? "receive" : "transmit";
  const std::string channel = "channel " + std::to_string(f.channel) + ": ";
  switch (f.kind) {
    case Channel_fault::out_of_band:
      return channel + "the " + side + " frequency " + megahertz_text(f.hz, '.') +
             " MHz is outside the band " + megahertz_text(f.limits.lower, '.') + " to " +
             megahertz_text(f.limits.upper, '.') + " MHz";
    case Channel_fault::subtone_type:
      return channel + "the " + side + " sub-tone is of type " + std::to_string(f.value) +
             ", which the radio does not have (none, CTCSS, DCS, inverted DCS)";
    case Channel_fault::ctcss_value:
      return channel + "the " + side + " CTCSS value 0x" +
             hex_byte(static_cast<uint8_t>(f.value >> 8)) +
             hex_byte(static_cast<uint8_t>(f.value & 0xFF)) +
             " is not a tone of four decimal digits";
    case Channel_fault::dcs_value:
      return channel + "the " + side + " DCS value 0x" +
             hex_byte(static_cast<uint8_t>(f.value >> 8)) +
             hex_byte(static_cast<uint8_t>(f.value & 0xFF)) +
             " is not a code of three octal digits";
    case Channel_fault::fixed_bits:
      return channel + "byte " + std::to_string(f.value) +
             " of the record holds bits that no control sets; they stay as the channel has them";
  }
  return channel;
}

}  // namespace tirna::cli
