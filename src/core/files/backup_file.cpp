#include "core/files/backup_file.h"

#include <cerrno>
#include <cstdio>

namespace tirna {

std::string factory_number_part(std::string_view number) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!number.empty() && blank(number.front())) number.remove_prefix(1);
  while (!number.empty() && blank(number.back())) number.remove_suffix(1);
  if (number.empty()) return std::string(no_factory_number);
  std::string part;
  for (char c : number) {
    const auto u = static_cast<unsigned char>(c);
    const bool unsafe =
        u < 0x20 || u == 0x7F || std::string_view("/\\:*?\"<>| ").find(c) != std::string_view::npos;
    part += unsafe ? '_' : c;
  }
  if (part.front() == '.' || part.front() == '-') part.front() = '_';
  return part;
}

std::string backup_file_name(std::string_view factory_number, const Local_time& t, int attempt) {
  char stamp[40];
  std::snprintf(stamp, sizeof stamp, "-%04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  std::string name = factory_number_part(factory_number) + stamp;
  if (attempt > 1) name += "-" + std::to_string(attempt);
  return name + ".tn5";
}

std::variant<std::string, Io_error> save_backup(const File_store& files, const std::string& folder,
                                                const Param_image& image, const Local_time& t) {
  const std::string number = factory_number_label(image);
  const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
  constexpr int attempts = 1000;  // more backups of one radio within one second are no backups
  for (int attempt = 1; attempt <= attempts; ++attempt) {
    const std::string path = prefix + backup_file_name(number, t, attempt);
    auto saved = save_new_image(files, path, image);
    if (auto* error = std::get_if<Io_error>(&saved)) return *error;
    if (std::get<Save_new>(saved) == Save_new::saved) return path;
  }
  return Io_error::from_errno(EEXIST);
}

}  // namespace tirna
