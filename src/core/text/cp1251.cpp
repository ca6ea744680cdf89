#include "core/text/cp1251.h"

#include <array>

namespace tirna {
namespace {

// Unicode of the bytes 0x80..0xFF.
constexpr std::array<char16_t, 128> upper_half = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

void append_utf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

char32_t to_unicode(uint8_t b) {
  if (b < 0x80) return b;
  if (b >= 0xC0) return 0x0410 + (b - 0xC0);  // А..я
  return upper_half[b - 0x80];
}

// Decodes one UTF-8 sequence at s[i]; advances i. nullopt on malformed input.
std::optional<char32_t> next_code_point(std::string_view s, std::size_t& i) {
  const auto lead = static_cast<uint8_t>(s[i]);
  int extra = 0;
  char32_t c = 0;
  if (lead < 0x80) {
    ++i;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    c = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    c = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    c = lead & 0x07;
  } else {
    return std::nullopt;
  }
  if (i + extra >= s.size()) return std::nullopt;
  for (int k = 1; k <= extra; ++k) {
    const auto b = static_cast<uint8_t>(s[i + k]);
    if ((b & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (b & 0x3F);
  }
  i += extra + 1;
  return c;
}

}  // namespace

std::string cp1251_to_utf8(const uint8_t* bytes, std::size_t count) {
  std::string out;
  out.reserve(count * 2);
  for (std::size_t i = 0; i < count; ++i) append_utf8(out, to_unicode(bytes[i]));
  return out;
}

std::string cp1251_to_utf8(std::string_view bytes) {
  return cp1251_to_utf8(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

std::optional<uint8_t> cp1251_byte(char32_t c) {
  if (c < 0x80) return static_cast<uint8_t>(c);
  if (c >= 0x0410 && c <= 0x044F) return static_cast<uint8_t>(0xC0 + (c - 0x0410));
  for (std::size_t k = 0; k < upper_half.size(); ++k) {
    if (upper_half[k] == c) return static_cast<uint8_t>(0x80 + k);
  }
  return std::nullopt;
}

std::optional<std::string> utf8_to_cp1251(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const auto c = next_code_point(utf8, i);
    if (!c) return std::nullopt;
    const auto b = cp1251_byte(*c);
    if (!b) return std::nullopt;
    out += static_cast<char>(*b);
  }
  return out;
}

std::string utf8_to_cp1251_lossy(std::string_view utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto c = next_code_point(utf8, i);
    if (!c) {
      ++i;
      out += '?';
      continue;
    }
    const auto b = cp1251_byte(*c);
    out += b ? static_cast<char>(*b) : '?';
  }
  return out;
}

}  // namespace tirna
