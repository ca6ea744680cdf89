#include "platform/device_lock.h"

#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "platform/files/safe_file.h"

namespace tirna {
namespace {

std::string user_name(uid_t uid) {
  if (const passwd* pw = ::getpwuid(uid)) return pw->pw_name;
  return std::to_string(uid);
}

std::string process_name(long pid) {
  const auto read = read_file("/proc/" + std::to_string(pid) + "/comm", 256, Beyond_limit::ignore);
  if (const auto* text = std::get_if<std::string>(&read)) {
    std::string name = *text;
    while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
    return name;
  }
  return "";
}

// The lock file by which one of our programs (or another that locks as Qt does) holds the device:
// LCK.. and the device's path below /dev with '/' as '_'.
std::string lock_file_text(const std::string& device) {
  std::string name = device.starts_with("/dev/") ? device.substr(5) : device;
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  for (const char* folder : {"/run/lock", "/var/lock", "/tmp"}) {
    const std::string path = std::string(folder) + "/LCK.." + name;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) continue;
    std::string text = "Файл блокировки " + path + " (пользователь " + user_name(st.st_uid);
    const auto read = read_file(path, 4096, Beyond_limit::ignore);
    if (const auto* bytes = std::get_if<std::string>(&read)) {
      long pid = 0;
      std::from_chars(bytes->data(), bytes->data() + bytes->size(), pid);
      if (pid > 0) {
        const bool running = ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
        text += ", процесс " + std::to_string(pid);
        if (const std::string program = process_name(pid); running && !program.empty()) {
          text += " " + program;
        }
        if (!running) text += ", уже не работает; файл можно удалить: sudo rm " + path;
      }
    }
    return text + ")";
  }
  return "";
}

// The process holding the flock() of the device: /proc/locks names the file by the device of its
// file system and its inode.
long flock_holder(const std::string& device) {
  struct stat st {};
  if (::stat(device.c_str(), &st) != 0) return 0;
  char file[64];
  std::snprintf(file, sizeof file, "%02x:%02x:%lu", major(st.st_dev), minor(st.st_dev),
                static_cast<unsigned long>(st.st_ino));
  const auto read = read_file("/proc/locks", 1 << 20, Beyond_limit::ignore);
  const auto* text = std::get_if<std::string>(&read);
  if (text == nullptr) return 0;
  std::istringstream lines(*text);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    std::string number, kind, mode, access, pid, id;
    fields >> number >> kind;
    if (kind == "->") fields >> kind;  // a waiter
    fields >> mode >> access >> pid >> id;
    if (kind == "FLOCK" && id == file) return std::strtol(pid.c_str(), nullptr, 10);
  }
  return 0;
}

}  // namespace

std::string canonical_device(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path canonical = std::filesystem::canonical(path, ec);
  return ec ? path : canonical.string();
}

bool lock_device(int fd) {
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EINTR) return errno != EWOULDBLOCK;  // a device that has no locks is not held
  }
  return true;
}

std::string device_holder(const std::string& canonical_path) {
  std::string text = lock_file_text(canonical_path);
  if (const long pid = flock_holder(canonical_path); pid > 0) {
    std::string process = "процесс " + std::to_string(pid);
    if (const std::string program = process_name(pid); !program.empty()) process += " " + program;
    if (text.find("процесс " + std::to_string(pid)) == std::string::npos) {
      text += (text.empty() ? "Устройство " + canonical_path + " занято: " : "; ") + process;
    }
  }
  return text;
}

}  // namespace tirna
