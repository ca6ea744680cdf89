#include "platform/files/descriptor.h"

#include <unistd.h>

#include <cerrno>

namespace tirna {

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

Descriptor::~Descriptor() {
  const int saved = errno;
  close();
  errno = saved;
}

int Descriptor::close() {
  if (fd_ < 0) return 0;
  return ::close(std::exchange(fd_, -1)) == 0 ? 0 : errno;
}

Temporary_file::~Temporary_file() {
  const int saved = errno;
  file_.close();
  if (!path_.empty()) ::unlink(path_.c_str());
  errno = saved;
}

}  // namespace tirna
