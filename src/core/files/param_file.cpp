#include "core/files/param_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tirna {
namespace {

testing_hooks::Write_fn write_function = nullptr;

long do_write(int fd, const void* data, unsigned long size) {
  if (write_function) return write_function(fd, data, size);
  return ::write(fd, data, size);
}

bool write_all(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const long n = do_write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = ENOSPC;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

std::string folder_of(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The file a save really replaces: a symbolic link is followed so that the link stays a link.
std::string save_target(const std::string& path) {
  char resolved[PATH_MAX];
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) &&
      ::realpath(path.c_str(), resolved) != nullptr) {
    return resolved;
  }
  return path;
}

// ENOENT means "File not found" when the folder exists and a bad path ("Invalid filename") when it
// does not, as the two are told apart on the system this file format comes from.
Io_error error_for(int err, const std::string& path) {
  if (err == ENOENT) {
    struct stat st {};
    if (::stat(folder_of(path).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
      return {Io_error::invalid_filename, err};
    }
  }
  return Io_error::from_errno(err);
}

}  // namespace

void testing_hooks::set_write_function(Write_fn fn) {
  write_function = fn;
}

std::string Io_error::text() const {
  switch (kind) {
    case file_not_found:
      return "File not found";
    case invalid_filename:
      return "Invalid filename";
    case too_many_open_files:
      return "Too many open files";
    case access_denied:
      return "File access denied";
    case read_beyond_end:
      return "Read beyond end of file";
    case disk_full:
      return "Disk full";
    case other:
      break;
  }
  return "I/O error " + std::to_string(code);
}

Io_error Io_error::from_errno(int err) {
  switch (err) {
    case ENOENT:
      return {file_not_found, err};
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
      return {invalid_filename, err};
    case EMFILE:
    case ENFILE:
      return {too_many_open_files, err};
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
      return {access_denied, err};
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return {disk_full, err};
    default:
      return {other, err};
  }
}

std::string image_file_bytes(const Param_image& image) {
  std::string bytes;
  bytes.reserve(param_file_size);
  for (int k = 1; k <= packet_count; ++k) {
    const Packet& p = image.packet(k);
    bytes.append(reinterpret_cast<const char*>(p.data()), p.size());
  }
  return bytes;
}

Param_image image_from_file_bytes(const uint8_t* bytes) {
  Param_image image;
  for (int k = 1; k <= packet_count; ++k) {
    Packet p;
    std::memcpy(p.data(), bytes + packet_size * (k - 1), packet_size);
    image.set_packet(k, p);
  }
  return image;
}

std::variant<Param_image, Io_error> load_image(const std::string& path) {
  if (path.empty()) return Io_error{Io_error::invalid_filename, ENOENT};
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return error_for(errno, path);
  uint8_t buffer[param_file_size];
  std::size_t got = 0;
  while (got < sizeof buffer) {
    const ssize_t n = ::read(fd, buffer + got, sizeof buffer - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      ::close(fd);
      return Io_error::from_errno(err);
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  if (got < sizeof buffer) return Io_error{Io_error::read_beyond_end, 100};
  return image_from_file_bytes(buffer);
}

namespace {

// Writes the 1536 bytes into a new temporary file in the folder of `target`, with `mode`, flushed
// to disk; its path.
std::variant<std::string, Io_error> write_temporary(const std::string& target,
                                                    const Param_image& image, mode_t mode) {
  std::string temp = folder_of(target) + "/.tirna520-save-XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return error_for(errno, target);
  const auto fail = [&](int err) {
    ::close(fd);
    ::unlink(temp.c_str());
    return Io_error::from_errno(err);
  };
  if (::fchmod(fd, mode) != 0) return fail(errno);
  const std::string bytes = image_file_bytes(image);
  if (!write_all(fd, bytes.data(), bytes.size())) return fail(errno);
  if (::fsync(fd) != 0) return fail(errno);
  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    return Io_error::from_errno(err);
  }
  return temp;
}

mode_t new_file_mode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// Makes a rename or link into the folder durable.
void sync_folder(const std::string& target) {
  const int dir = ::open(folder_of(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

}  // namespace

std::optional<Io_error> save_image(const std::string& path, const Param_image& image) {
  if (path.empty()) return Io_error{Io_error::invalid_filename, ENOENT};
  const std::string target = save_target(path);
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists) {
    if (S_ISDIR(old.st_mode)) return Io_error{Io_error::access_denied, EISDIR};
    // A write-protected file refuses a write in place; the rename below must not get round that.
    // A file without any write permission counts as write-protected even for root.
    if (::access(target.c_str(), W_OK) != 0) return Io_error::from_errno(errno);
    if ((old.st_mode & 0222) == 0) return Io_error{Io_error::access_denied, EACCES};
  }
  auto written = write_temporary(target, image, exists ? old.st_mode & 07777 : new_file_mode());
  if (auto* error = std::get_if<Io_error>(&written)) return *error;
  const std::string& temp = std::get<std::string>(written);
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    return Io_error::from_errno(err);
  }
  sync_folder(target);
  return std::nullopt;
}

std::variant<Save_new, Io_error> save_new_image(const std::string& path, const Param_image& image) {
  if (path.empty()) return Io_error{Io_error::invalid_filename, ENOENT};
  auto written = write_temporary(path, image, new_file_mode());
  if (auto* error = std::get_if<Io_error>(&written)) return *error;
  const std::string& temp = std::get<std::string>(written);
  // The file appears complete or not at all, and never in place of another: a rename that refuses
  // to replace, or a hard link where the file system has no such rename.
  int r = ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE);
  int err = r == 0 ? 0 : errno;
  if (r != 0 && (err == EINVAL || err == ENOSYS || err == EOPNOTSUPP)) {
    r = ::link(temp.c_str(), path.c_str());
    err = r == 0 ? 0 : errno;
    ::unlink(temp.c_str());
  } else if (r != 0) {
    ::unlink(temp.c_str());
  }
  if (r != 0) {
    if (err == EEXIST) return Save_new::exists;
    return Io_error::from_errno(err);
  }
  sync_folder(path);
  return Save_new::saved;
}

}  // namespace tirna
