#include "platform/install_paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

namespace tirna {
namespace {

constexpr const char* help_name = "Tirna520.hlp";

bool is_folder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool is_file(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string executable_folder() {
  char path[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return "";
  const std::string exe(path, static_cast<std::size_t>(n));
  return exe.substr(0, exe.rfind('/'));
}

}  // namespace

std::string installed_share_folder() {
  const std::string bin = executable_folder();
  if (bin.empty()) return "";
  const std::string share = bin + "/../share/tirna520";
  if (!is_folder(share)) return "";
  char resolved[PATH_MAX];
  return ::realpath(share.c_str(), resolved) != nullptr ? std::string(resolved) : share;
}

std::string user_program_folder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data != nullptr && data[0] == '/') return std::string(data) + "/tirna520";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return std::string(home) + "/.local/share/tirna520";
  return "";
}

std::string help_file_path(const std::string& program_folder) {
  const std::string own = program_folder + "/" + help_name;
  if (is_file(own)) return own;
  const std::string share = installed_share_folder();
  if (!share.empty() && is_file(share + "/" + help_name)) return share + "/" + help_name;
  return own;
}

}  // namespace tirna
