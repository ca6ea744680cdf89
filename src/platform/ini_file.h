#pragma once
// config.ini: an initialisation file in code page 1251 with CR LF lines, read and written by the
// rules of Windows initialisation files: section and key names match without regard to letter
// case, unknown sections, keys and lines are kept byte for byte, a written key replaces its value
// in place or is appended to its section (the section is appended to the file when missing).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tirna {

class Ini_file {
 public:
  Ini_file() = default;
  // Parses the bytes of a file as they are; any bytes are accepted.
  static Ini_file parse(std::string_view bytes);

  // Section and key names are UTF-8. The value of the first matching key of the first matching
  // section, or nullopt.
  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  // The value as a 32-bit integer (decimal, optional sign, blanks around it allowed); nullopt when
  // the key is missing, not an integer or out of range.
  std::optional<int32_t> integer(std::string_view section, std::string_view key) const;

  void set_value(std::string_view section, std::string_view key, std::string_view value);
  void set_integer(std::string_view section, std::string_view key, int32_t value) {
    set_value(section, key, std::to_string(value));
  }

  // The file's bytes: the lines as read (unchanged ones byte for byte), each ended by CR LF.
  std::string bytes() const;

 private:
  // Lines in code page 1251, without their line ends.
  std::vector<std::string> lines_;
  // Index range [begin, end) of the lines of a section, its header line excluded.
  struct Range {
    std::size_t header, begin, end;
  };
  std::optional<Range> find_section(std::string_view section_cp1251) const;
  std::optional<std::size_t> find_key(const Range& range, std::string_view key_cp1251) const;
};

// Reads config.ini; nullopt with errno set when the file cannot be read (missing, not a regular
// file, no permission). Files larger than max_size are read only as far as max_size.
std::optional<Ini_file> read_ini_file(const std::string& path, std::size_t max_size = 16u << 20);
// Writes the file as every file is saved (save_file); false with errno set on failure.
bool write_ini_file(const std::string& path, const Ini_file& ini);

}  // namespace tirna
