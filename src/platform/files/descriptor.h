#pragma once
// Owners of what the file layer opens and makes: every way out of a read or a save closes what it
// opened and removes the temporary file it made, without a close or unlink on each error path.

#include <string>
#include <utility>

namespace tirna {

// An open file descriptor, closed when its owner goes (errno is left as it was).
class Descriptor {
 public:
  Descriptor() = default;
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Descriptor& operator=(Descriptor&& other) noexcept;
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor();

  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  // Closes it now, for a save that must know: 0, or the error number of the failed close (a
  // write-back error of a network file system, say).
  int close();

 private:
  int fd_ = -1;
};

// A temporary file made beside the file it is to become, open for writing; removed when its owner
// goes unless placed() says it now has its final name.
class Temporary_file {
 public:
  Temporary_file(Descriptor file, std::string path)
      : file_(std::move(file)), path_(std::move(path)) {}
  Temporary_file(Temporary_file&& other) noexcept
      : file_(std::move(other.file_)), path_(std::exchange(other.path_, {})) {}
  Temporary_file& operator=(Temporary_file&&) = delete;
  Temporary_file(const Temporary_file&) = delete;
  Temporary_file& operator=(const Temporary_file&) = delete;
  ~Temporary_file();

  Descriptor& file() { return file_; }
  const std::string& path() const { return path_; }
  // It was renamed into place: nothing to remove.
  void placed() { path_.clear(); }

 private:
  Descriptor file_;
  std::string path_;  // empty: nothing to remove
};

}  // namespace tirna
