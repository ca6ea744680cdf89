#include "core/text/format.h"

#include <charconv>
#include <cstdio>

namespace tirna {
namespace {

bool continuation_byte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string megahertz_text(long long hz, char decimal_mark) {
  const unsigned long long magnitude =
      hz < 0 ? 0ULL - static_cast<unsigned long long>(hz) : static_cast<unsigned long long>(hz);
  char buf[48];
  std::snprintf(buf, sizeof buf, "%s%llu%c%06llu", hz < 0 ? "-" : "", magnitude / 1000000,
                decimal_mark, magnitude % 1000000);
  return buf;
}

std::string fixed_point_text(double value, int decimals, std::size_t width) {
  char buf[64];
  const auto [end, error] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed,
                                          decimals);
  std::string text = error == std::errc() ? std::string(buf, end) : std::string("?");
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

std::string hex_byte(uint8_t b) {
  char buf[4];
  std::snprintf(buf, sizeof buf, "%02X", b);
  return buf;
}

std::string hex_bytes(std::span<const uint8_t> bytes) {
  std::string out;
  for (uint8_t b : bytes) {
    if (!out.empty()) out += ' ';
    out += hex_byte(b);
  }
  return out;
}

std::vector<std::string_view> utf8_characters(std::string_view text) {
  std::vector<std::string_view> out;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t len = 1;
    while (i + len < text.size() && continuation_byte(text[i + len])) ++len;
    out.push_back(text.substr(i, len));
    i += len;
  }
  return out;
}

std::size_t display_width(std::string_view text) {
  std::size_t width = 0;
  for (char c : text) width += !continuation_byte(c);
  return width;
}

std::string padded(std::string_view text, std::size_t width) {
  std::string out(text);
  for (std::size_t w = display_width(text); w < width; ++w) out += ' ';
  return out;
}

std::string trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return "";
  return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

}  // namespace tirna
