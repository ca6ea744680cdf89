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

Program_config program_config(const std::string& config_folder, bool named) {
  std::error_code ec;
  std::string folder =
      std::filesystem::absolute(config_folder.empty() ? "." : config_folder, ec).lexically_normal();
  if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  Program_config c{folder + "/" + config_file_name, std::nullopt, ""};
  if (!named) {
    if (const std::string why = distrust(folder, c.file); !why.empty()) {
      c.not_used = c.file + " не используется (" + why + "; укажите --program-folder)";
      return c;
    }
  }
  c.ini = read_ini_file(c.file, config_size_limit);
  if (!c.ini) c.not_used = errno == ENOENT ? "нет файла " + c.file : c.file + " не прочитан";
  return c;
}

Port_mapping map_com_port(int port_number, const std::string& config_folder, bool named) {
  const std::string key = "COM" + std::to_string(port_number);
  const Program_config config = program_config(config_folder, named);
  if (!config.ini) return {port_device(port_number, std::nullopt), config.not_used};
  const auto configured = configured_port_device(*config.ini, port_number);
  if (!configured || configured->empty()) {
    return {
        port_device(port_number, std::nullopt),
        "в " + config.file + " нет ключа " + key + " раздела [" + std::string(ports_section) + "]"};
  }
  return {*configured,
          "ключ " + key + " раздела [" + std::string(ports_section) + "] файла " + config.file};
}

}  // namespace tirna::cli
