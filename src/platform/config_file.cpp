#include "platform/config_file.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/files/safe_file.h"

namespace tirna {
namespace {

void set_keys(Ini_file& ini, const Config_values& v) {
  ini.set_integer(config_section, config_key_programmer, v.programmer_type);
  ini.set_integer(config_section, config_key_port, v.com_port_index);
  ini.set_integer(config_section, config_key_x, v.x);
  ini.set_integer(config_section, config_key_y, v.y);
}

}  // namespace

Config_opened open_config_file(const std::string& path) {
  Config_opened result;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    if (errno != ENOENT) {
      result.error = errno;
      return result;
    }
    Ini_file ini;
    set_keys(ini, result.values);
    if (!write_ini_file(path, ini)) {
      result.error = errno;
      return result;
    }
    result.file = Config_file(path, std::move(ini));
    return result;
  }
  if (!S_ISREG(st.st_mode)) {
    result.error = S_ISDIR(st.st_mode) ? EISDIR : EACCES;
    return result;
  }
  errno = 0;
  auto ini = read_ini_file(path, Config_file::size_limit);
  if (!ini) {
    result.error = errno != 0 ? errno : EIO;
    return result;
  }
  const auto read = [&](const char* key, int32_t fallback) {
    return ini->integer(config_section, key).value_or(fallback);
  };
  Config_values& v = result.values;
  v.programmer_type = read(config_key_programmer, v.programmer_type);
  v.com_port_index = read(config_key_port, v.com_port_index);
  v.x = read(config_key_x, v.x);
  v.y = read(config_key_y, v.y);
  if (static_cast<std::size_t>(st.st_size) <= Config_file::size_limit)
    result.file = Config_file(path, std::move(*ini));
  return result;
}

bool Config_file::write_back(const Config_values& values) {
  // The file as it is now: what the user added while the program ran stays.
  auto read = read_file(path_, size_limit);
  Ini_file now;
  if (auto* error = std::get_if<Io_error>(&read)) {
    if (error->kind == Io_error::too_large) return true;  // not the program's file any more
    if (error->code != ENOENT) {
      errno = error->code;
      return false;
    }
  } else {
    now = Ini_file::parse(std::get<std::string>(read));
  }
  set_keys(now, values);
  return write_ini_file(path_, now);
}

}  // namespace tirna
