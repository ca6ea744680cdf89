#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>

namespace tirna {

Instance_lock::~Instance_lock() {
  if (fd_ >= 0) ::close(fd_);
}

bool Instance_lock::acquire(const std::string& name, const std::string& folder) {
  if (fd_ >= 0) return true;
  const std::string path = folder + "/" + name;
  // O_NOFOLLOW: a link planted in a shared temporary folder must not make us create files
  // elsewhere. A file another user created can still be locked through a read-only descriptor.
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

std::string temporary_folder() {
  const char* tmp = std::getenv("TMPDIR");
  if (tmp != nullptr && *tmp != '\0') return tmp;
  return "/tmp";
}

}  // namespace tirna
