#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace tirna {
namespace {

// A folder of the user's that nobody else may write or enter.
bool private_folder(const std::string& path, std::string& why) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) {
    why = path + ": " + std::strerror(errno);
    return false;
  }
  if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() || (st.st_mode & 077) != 0) {
    why = path + ": не папка пользователя с доступом только для него";
    return false;
  }
  return true;
}

}  // namespace

Instance_lock::~Instance_lock() {
  if (fd_ >= 0) ::close(fd_);
}

Instance_lock::Result Instance_lock::acquire(const std::string& name) {
  const std::string folder = user_lock_folder(failure_);
  if (folder.empty()) return Result::failed;
  return acquire(name, folder);
}

Instance_lock::Result Instance_lock::acquire(const std::string& name, const std::string& folder) {
  if (fd_ >= 0) return Result::acquired;
  failure_.clear();
  const std::string path = folder + "/" + name;
  // Neither a link nor a FIFO nor another user's file can be used: the folder is the user's own,
  // and the file is checked all the same.
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
  if (fd < 0) {
    failure_ = path + ": " + std::strerror(errno);
    return Result::failed;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
    ::close(fd);
    failure_ = path + ": не файл пользователя";
    return Result::failed;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    ::close(fd);
    if (err == EWOULDBLOCK) return Result::held_elsewhere;
    failure_ = path + ": " + std::strerror(err);
    return Result::failed;
  }
  fd_ = fd;
  return Result::acquired;
}

std::string user_lock_folder(std::string& why) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::string ignored;
  if (runtime != nullptr && runtime[0] == '/' && private_folder(runtime, ignored)) return runtime;
  const std::string folder = temporary_folder() + "/tirna520-" + std::to_string(::geteuid());
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    why = folder + ": " + std::strerror(errno);
    return "";
  }
  if (!private_folder(folder, why)) return "";
  return folder;
}

std::string temporary_folder() {
  const char* tmp = std::getenv("TMPDIR");
  if (tmp != nullptr && *tmp != '\0') return tmp;
  return "/tmp";
}

}  // namespace tirna
