#include "platform/ini_file.h"

#include <cerrno>
#include <charconv>

#include "core/text/cp1251.h"
#include "platform/files/safe_file.h"

namespace tirna {
namespace {

// Case folding of code page 1251 as Windows compares ini names: Latin and Cyrillic letters.
uint8_t fold(uint8_t b) {
  if (b >= 'A' && b <= 'Z') return static_cast<uint8_t>(b + 0x20);
  if (b >= 0xC0 && b <= 0xDF) return static_cast<uint8_t>(b + 0x20);
  switch (b) {
    case 0xA8:
      return 0xB8;  // Ё
    case 0x80:
      return 0x90;  // Ђ
    case 0x81:
      return 0x83;  // Ѓ
    case 0x8A:
      return 0x9A;  // Љ
    case 0x8C:
      return 0x9C;  // Њ
    case 0x8D:
      return 0x9D;  // Ќ
    case 0x8E:
      return 0x9E;  // Ћ
    case 0x8F:
      return 0x9F;  // Џ
    case 0xA1:
      return 0xA2;  // Ў
    case 0xA3:
      return 0xBC;  // Ј
    case 0xA5:
      return 0xB4;  // Ґ
    case 0xAA:
      return 0xBA;  // Є
    case 0xAF:
      return 0xBF;  // Ї
    case 0xB2:
      return 0xB3;  // І
    case 0xBD:
      return 0xBE;  // Ѕ
    default:
      return b;
  }
}

bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (fold(static_cast<uint8_t>(a[i])) != fold(static_cast<uint8_t>(b[i]))) return false;
  }
  return true;
}

std::string_view trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// "[name]" -> name.
std::optional<std::string_view> section_name(std::string_view line) {
  line = trim(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  const auto close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return trim(line.substr(1, close - 1));
}

std::string cp(std::string_view utf8) {
  return utf8_to_cp1251_lossy(utf8);
}

}  // namespace

Ini_file Ini_file::parse(std::string_view bytes) {
  Ini_file ini;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size();
    ini.lines_.emplace_back(bytes.substr(start, end - start));
    if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() &&
        bytes[end + 1] == '\n') {
      ++end;
    }
    start = end + 1;
  }
  return ini;
}

std::optional<Ini_file::Range> Ini_file::find_section(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto name = section_name(lines_[i]);
    if (!name || !same_name(*name, section)) continue;
    std::size_t end = i + 1;
    while (end < lines_.size() && !section_name(lines_[end])) ++end;
    return Range{i, i + 1, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> Ini_file::find_key(const Range& range, std::string_view key) const {
  for (std::size_t i = range.begin; i < range.end; ++i) {
    const std::string_view line = lines_[i];
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    const std::string_view name = trim(line.substr(0, eq));
    if (!name.empty() && name.front() == ';') continue;
    if (same_name(name, key)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> Ini_file::value(std::string_view section, std::string_view key) const {
  const auto range = find_section(cp(section));
  if (!range) return std::nullopt;
  const auto line = find_key(*range, cp(key));
  if (!line) return std::nullopt;
  const std::string_view text = lines_[*line];
  return cp1251_to_utf8(trim(text.substr(text.find('=') + 1)));
}

std::optional<int32_t> Ini_file::integer(std::string_view section, std::string_view key) const {
  const auto text = value(section, key);
  if (!text || text->empty()) return std::nullopt;
  std::string_view digits = *text;
  if (digits.front() == '+') digits.remove_prefix(1);
  int32_t result = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), result);
  if (error != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
  return result;
}

void Ini_file::set_value(std::string_view section, std::string_view key, std::string_view value) {
  const std::string s = cp(section), k = cp(key);
  const std::string line = k + "=" + cp(value);
  auto range = find_section(s);
  if (!range) {
    lines_.push_back("[" + s + "]");
    lines_.push_back(line);
    return;
  }
  if (const auto at = find_key(*range, k)) {
    lines_[*at] = line;
    return;
  }
  // After the section's last non-blank line, so that a blank line before the next section stays.
  std::size_t insert = range->end;
  while (insert > range->begin && trim(lines_[insert - 1]).empty()) --insert;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert), line);
}

std::string Ini_file::bytes() const {
  std::string out;
  for (const auto& line : lines_) out += line + "\r\n";
  return out;
}

std::optional<Ini_file> read_ini_file(const std::string& path, std::size_t max_size) {
  auto read = read_file(path, max_size, Beyond_limit::ignore);
  if (auto* error = std::get_if<Io_error>(&read)) {
    errno = error->code;
    return std::nullopt;
  }
  return Ini_file::parse(std::get<std::string>(read));
}

bool write_ini_file(const std::string& path, const Ini_file& ini) {
  if (const auto error = save_file(path, ini.bytes())) {
    errno = error->code;
    return false;
  }
  return true;
}

}  // namespace tirna
