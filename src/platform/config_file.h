#pragma once
// config.ini in the program folder: programmer type, COM port index and the main window's position,
// read at start-up and written back at exit. Everything else in the file is kept as it is.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/files/safe_file.h"
#include "platform/ini_file.h"

namespace tirna {

inline constexpr const char* config_file_name = "config.ini";
inline constexpr const char* config_section = "Общие";
// The first three letters of both keys are the Cyrillic С, О, М.
inline constexpr const char* config_key_programmer = "СОМ/USB";
inline constexpr const char* config_key_port = "СОМ-порт";
inline constexpr const char* config_key_x = "X";
inline constexpr const char* config_key_y = "Y";

struct Config_values {
  int32_t programmer_type = 1;  // 0: USB programmer, anything else: COM programmer
  int32_t com_port_index = 0;   // port number minus 1
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const Config_values&, const Config_values&) = default;
};

class Config_file {
 public:
  // Files beyond this size are not the program's: their values are read but the file is never
  // written back, so that nothing past the limit is lost.
  static constexpr std::size_t size_limit = config_size_limit;

  // Reads the file again as it is now (the user may have added a section while the program ran)
  // and writes the four keys in their order, each in place or appended to the section, everything
  // else byte for byte; false with errno set when the file cannot be read or written.
  bool write_back(const Config_values& values);

  // The file as read at start-up.
  const Ini_file& ini() const { return ini_; }

 private:
  friend struct Config_opened open_config_file(const std::string& path);
  Config_file(std::string path, Ini_file ini) : path_(std::move(path)), ini_(std::move(ini)) {}
  std::string path_;
  Ini_file ini_;
};

struct Config_opened {
  Config_values values;             // defaults for keys missing or not 32-bit integers
  std::optional<Config_file> file;  // the handle exit writes through; none when unusable
  int error = 0;                    // errno when the file could be neither read nor created
};

// Start-up: reads the file when it exists; otherwise creates it holding the defaults.
Config_opened open_config_file(const std::string& path);

}  // namespace tirna
