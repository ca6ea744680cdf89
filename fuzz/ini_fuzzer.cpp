// libFuzzer target: any bytes as config.ini. Reading never fails; a key written reads back as
// written, and every line the write did not touch stays byte for byte.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "platform/config_file.h"
#include "platform/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace tirna;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Ini_file ini = Ini_file::parse(bytes);
  for (const char* key : {config_key_programmer, config_key_port, config_key_x, config_key_y}) {
    (void)ini.integer(config_section, key);
  }
  (void)ini.value("Порты", "COM1");

  const int32_t value = static_cast<int32_t>(size * 2654435761u);
  ini.set_integer(config_section, config_key_port, value);
  const std::string written = ini.bytes();
  const Ini_file reread = Ini_file::parse(written);
  FUZZ_CHECK(reread.integer(config_section, config_key_port) == value);
  // Writing once more with the same value changes nothing.
  Ini_file twice = reread;
  twice.set_integer(config_section, config_key_port, value);
  FUZZ_CHECK(twice.bytes() == written);
  return 0;
}
