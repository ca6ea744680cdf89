#include "cli/port_mapping.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/config_file.h"
#include "platform/files/safe_file.h"
#include "platform/ini_file.h"
#include "platform/port_names.h"

namespace tirna::cli {
namespace {

constexpr mode_t written_by_others = S_IWGRP | S_IWOTH;

// Why the folder's config.ini may not be used; empty when it may.
std::string distrust(const std::string& folder, const std::string& file) {
  const uid_t me = ::geteuid();
  struct stat dir {};
  if (::stat(folder.c_str(), &dir) != 0) return "папки нет";
  if (dir.st_uid != me || (dir.st_mode & written_by_others) != 0) {
    return "папка " + folder + " не принадлежит пользователю или открыта для записи другим";
  }
  struct stat st {};
  if (::lstat(file.c_str(), &st) != 0) return "";  // missing: nothing to distrust
  if (!S_ISREG(st.st_mode)) return "не обычный файл";
  if ((st.st_uid != me && st.st_uid != 0) ||
      (st.st_mode & written_by_others) != 0) {
    return "файл не принадлежит пользователю или открыт для записи другим";
  }
  return "";
}

}  // namespace

Port_mapping map_com_port(int port_number, const std::string& config_folder, bool named) {
  const std::string key = "COM" + std::to_string(port_number);
  std::error_code ec;
  std::string folder =
      std::filesystem::absolute(config_folder.empty() ? "." : config_folder, ec).lexically_normal();
  if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  std::string file = folder + "/" + config_file_name;
  if (!named) {
    if (const std::string why = distrust(folder, file); !why.empty()) {
      return {port_device(port_number, std::nullopt),
              file + " не используется (" + why + "; укажите --program-folder)"};
    }
  }
  const auto ini = read_ini_file(file, config_size_limit);
  if (!ini) {
    return {port_device(port_number, std::nullopt),
            errno == ENOENT ? "нет файла " + file : file + " не прочитан"};
  }
  const auto configured = configured_port_device(*ini, port_number);
  if (!configured || configured->empty()) {
    return {port_device(port_number, std::nullopt),
            "в " + file + " нет ключа " + key + " раздела [" + std::string(ports_section) + "]"};
  }
  return {*configured, "ключ " + key + " раздела [" + std::string(ports_section) + "] файла " + file};
}

}  // namespace tirna::cli
