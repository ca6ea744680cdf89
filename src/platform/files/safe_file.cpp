#include "platform/files/safe_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <ctime>
#include <filesystem>
#include <memory>

#include "platform/files/save_policy.h"

namespace tirna {
namespace {

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

Io_error not_a_regular_file(const struct stat& st) {
  return {Io_error::access_denied, S_ISDIR(st.st_mode) ? EISDIR : EACCES};
}

bool write_all(int fd, const char* data, std::size_t size, off_t offset = -1) {
  while (size > 0) {
    const ssize_t n = offset < 0 ? ::write(fd, data, size) : ::pwrite(fd, data, size, offset);
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
    if (offset >= 0) offset += n;
  }
  return true;
}

// Reads until the end or until more than `limit` bytes came; false with errno on a read error.
bool read_up_to(int fd, std::size_t limit, std::string& out) {
  char buffer[16384];
  while (out.size() <= limit) {
    const std::size_t want = std::min(sizeof buffer, limit + 1 - out.size());
    const ssize_t n = ::read(fd, buffer, want);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) break;
    out.append(buffer, static_cast<std::size_t>(n));
  }
  return true;
}

bool may_follow(const struct stat& link, const std::string& folder) {
  struct stat dir {};
  return ::stat(folder.c_str(), &dir) == 0 && may_follow_link(::geteuid(), link, dir);
}

struct Target {
  std::string path;  // the file a save replaces: the end of the chain of links
  bool exists = false;
  struct stat st {};
};

std::variant<Target, Io_error> resolve_target(const std::string& path) {
  if (path.empty()) return Io_error{Io_error::invalid_filename, ENOENT};
  // What the path ends at, through every kind of link (/dev/stdout and /proc/self/fd/1 included):
  // anything but a regular file is refused before a link is looked at.
  struct stat end {};
  if (::stat(path.c_str(), &end) == 0 && !S_ISREG(end.st_mode)) return not_a_regular_file(end);
  Target t;
  t.path = path;
  for (int hops = 0;; ++hops) {
    struct stat ls {};
    if (::lstat(t.path.c_str(), &ls) != 0) {
      if (errno != ENOENT) return error_for(errno, t.path);
      struct stat dir {};
      if (::stat(folder_of(t.path).c_str(), &dir) != 0 || !S_ISDIR(dir.st_mode)) {
        return Io_error{Io_error::invalid_filename, ENOENT};
      }
      return t;
    }
    if (!S_ISLNK(ls.st_mode)) {
      if (!S_ISREG(ls.st_mode)) return not_a_regular_file(ls);
      t.exists = true;
      t.st = ls;
      return t;
    }
    if (hops == max_link_hops) return Io_error{Io_error::invalid_filename, ELOOP};
    if (!may_follow(ls, folder_of(t.path))) return Io_error{Io_error::access_denied, EACCES};
    char link[PATH_MAX];
    const ssize_t n = ::readlink(t.path.c_str(), link, sizeof link - 1);
    if (n < 0) return error_for(errno, t.path);
    t.path = link_destination(t.path, std::string(link, static_cast<std::size_t>(n)));
  }
}

// A write-protected file refuses a write in place; the rename must not get round that. A file
// without any write permission counts as write-protected even for root.
std::optional<Io_error> write_protected(const Target& t) {
  if (!t.exists) return std::nullopt;
  if (::access(t.path.c_str(), W_OK) != 0) return Io_error::from_errno(errno);
  if ((t.st.st_mode & 0222) == 0) return Io_error{Io_error::access_denied, EACCES};
  return std::nullopt;
}

void remove_stale_temps(const std::string& folder) {
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
  if (!dir) return;
  const uid_t me = ::geteuid();
  const std::time_t now = std::time(nullptr);
  while (const dirent* e = ::readdir(dir.get())) {
    struct stat st {};
    if (!std::string_view(e->d_name).starts_with(save_temp_prefix) ||
        ::fstatat(::dirfd(dir.get()), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
      continue;
    }
    if (stale_temporary(e->d_name, st, me, now)) ::unlinkat(::dirfd(dir.get()), e->d_name, 0);
  }
}

// A new temporary file in the folder of target, created with 0666 less the umask (as a new file
// of the user's gets) and open for writing.
std::variant<Temporary_file, Io_error> create_temporary(const std::string& target) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::array<unsigned char, 6> random{};
    if (::getrandom(random.data(), random.size(), 0) != static_cast<ssize_t>(random.size())) {
      return Io_error::from_errno(errno);
    }
    std::string path = folder_of(target) + "/" + temporary_name(random);
    Descriptor file(
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (file) return Temporary_file(std::move(file), std::move(path));
    if (errno != EEXIST) return error_for(errno, target);
  }
  return Io_error::from_errno(EEXIST);
}

// Writes the bytes to a temporary file, flushes them to disk and closes it.
std::optional<Io_error> finish(Temporary_file& temp, std::string_view bytes) {
  const int fd = temp.file().get();
  if (!write_all(fd, bytes.data(), bytes.size()) || ::fsync(fd) != 0) {
    return Io_error::from_errno(errno);
  }
  if (const int err = temp.file().close()) return Io_error::from_errno(err);
  return std::nullopt;
}

// Makes a rename or link into the folder durable.
void sync_folder(const std::string& path) {
  const Descriptor dir(::open(folder_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir) ::fsync(dir.get());
}

struct Rename_outcome {
  std::optional<Io_error> error;  // none: saved
  bool in_place_instead = false;  // the folder or the ownership stands in the way
};

Rename_outcome save_by_rename(const Target& t, std::string_view bytes) {
  auto created = create_temporary(t.path);
  if (auto* error = std::get_if<Io_error>(&created)) {
    return {*error, t.exists && in_place_can_help(error->code)};
  }
  Temporary_file& temp = std::get<Temporary_file>(created);
  const int fd = temp.file().get();
  if (t.exists) {
    // Owner (root only) and group first: a change of owner clears the set-id bits.
    struct stat now {};
    const bool root = ::geteuid() == 0;
    ::fstat(fd, &now);
    if ((root && now.st_uid != t.st.st_uid) || now.st_gid != t.st.st_gid) {
      if (::fchown(fd, root ? t.st.st_uid : static_cast<uid_t>(-1), t.st.st_gid) != 0) {
        const int err = errno;
        return {Io_error::from_errno(err), in_place_can_help(err)};
      }
    }
    if (::fchmod(fd, t.st.st_mode & 07777) != 0) return {Io_error::from_errno(errno), false};
  }
  if (auto error = finish(temp, bytes)) return {error, false};
  if (::rename(temp.path().c_str(), t.path.c_str()) != 0) {
    const int err = errno;
    return {Io_error::from_errno(err), t.exists && in_place_can_help(err)};
  }
  temp.placed();
  sync_folder(t.path);
  return {};
}

// Writes over the file itself, keeping a copy of its old contents in memory to put back when the
// write fails.
std::optional<Io_error> save_in_place(const Target& t, std::string_view bytes) {
  Descriptor file(::open(t.path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!file) return error_for(errno, t.path);
  const int fd = file.get();
  struct stat st {};
  if (::fstat(fd, &st) != 0 || swapped(st, t.st)) return Io_error{Io_error::access_denied, EACCES};
  if (st.st_size > in_place_copy_limit) return Io_error{Io_error::too_large, EFBIG};
  std::string old;
  if (!read_up_to(fd, static_cast<std::size_t>(st.st_size), old))
    return Io_error::from_errno(errno);
  if (!write_all(fd, bytes.data(), bytes.size(), 0) ||
      ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0 || ::fsync(fd) != 0) {
    const int err = errno;
    write_all(fd, old.data(), old.size(), 0);
    if (::ftruncate(fd, static_cast<off_t>(old.size())) == 0) ::fsync(fd);
    return Io_error::from_errno(err);
  }
  if (const int err = file.close()) return Io_error::from_errno(err);
  return std::nullopt;
}

// Gives a finished temporary file the name path, never in place of another file: a rename that
// refuses to replace, or a hard link where the file system has no such rename. 0 or the error
// number; the temporary name is gone either way.
int place_new(Temporary_file temp, const std::string& path) {
  if (::renameat2(AT_FDCWD, temp.path().c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0) {
    temp.placed();
    return 0;
  }
  const int err = errno;
  if (err != EINVAL && err != ENOSYS && err != EOPNOTSUPP) return err;
  return ::link(temp.path().c_str(), path.c_str()) == 0 ? 0 : errno;
}

class Safe_files final : public File_store {
 public:
  std::variant<std::string, Io_error> read(const std::string& path, std::size_t limit,
                                           Beyond_limit beyond) const override {
    return read_file(path, limit, beyond);
  }
  std::optional<Io_error> save(const std::string& path, std::string_view bytes) const override {
    return save_file(path, bytes);
  }
  std::variant<Save_new, Io_error> save_new(const std::string& path,
                                            std::string_view bytes) const override {
    return save_new_file(path, bytes);
  }
  std::optional<Io_error> append(const std::string& path, std::size_t limit,
                                 const Append_text& text) const override {
    return append_locked(path, limit, text);
  }
};

}  // namespace

std::variant<std::string, Io_error> read_file(const std::string& path, std::size_t limit,
                                              Beyond_limit beyond) {
  if (path.empty()) return Io_error{Io_error::invalid_filename, ENOENT};
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return error_for(errno, path);
  if (!S_ISREG(st.st_mode)) return not_a_regular_file(st);
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!file) return error_for(errno, path);
  if (::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode)) return not_a_regular_file(st);
  const bool refuse = beyond == Beyond_limit::refuse;
  if (refuse && static_cast<unsigned long long>(st.st_size) > limit) {
    return Io_error{Io_error::too_large, EFBIG};
  }
  std::string bytes;
  if (!read_up_to(file.get(), limit, bytes)) return Io_error::from_errno(errno);
  if (bytes.size() > limit) {
    if (refuse) return Io_error{Io_error::too_large, EFBIG};
    bytes.resize(limit);
  }
  return bytes;
}

std::variant<std::string, Io_error> read_stream(int fd, std::size_t limit) {
  std::string bytes;
  if (!read_up_to(fd, limit, bytes)) return Io_error::from_errno(errno);
  if (bytes.size() > limit) return Io_error{Io_error::too_large, EFBIG};
  return bytes;
}

std::optional<File_identity> file_identity(const std::string& path) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return std::nullopt;
  return File_identity{st.st_dev, st.st_ino};
}

bool same_file(const std::string& a, const std::string& b) {
  const auto ia = file_identity(a), ib = file_identity(b);
  if (ia || ib) return ia == ib;
  std::error_code ea, eb;
  const auto ca = std::filesystem::weakly_canonical(a, ea);
  const auto cb = std::filesystem::weakly_canonical(b, eb);
  return !ea && !eb && ca == cb;
}

std::optional<Io_error> check_save_target(const std::string& path) {
  auto resolved = resolve_target(path);
  if (auto* error = std::get_if<Io_error>(&resolved)) return *error;
  const Target& t = std::get<Target>(resolved);
  if (t.exists) return write_protected(t);
  if (::access(folder_of(t.path).c_str(), W_OK | X_OK) != 0) return error_for(errno, t.path);
  return std::nullopt;
}

std::optional<Io_error> save_file(const std::string& path, std::string_view bytes) {
  auto resolved = resolve_target(path);
  if (auto* error = std::get_if<Io_error>(&resolved)) return *error;
  const Target& t = std::get<Target>(resolved);
  if (auto error = write_protected(t)) return error;
  remove_stale_temps(folder_of(t.path));
  if (rename_keeps_owner(::geteuid(), t.exists, t.st.st_uid)) {
    const Rename_outcome r = save_by_rename(t, bytes);
    if (!r.error) return std::nullopt;
    if (!r.in_place_instead) return r.error;
  }
  return save_in_place(t, bytes);
}

std::variant<Descriptor, Io_error> open_growing_file(const std::string& path) {
  auto resolved = resolve_target(path);
  if (auto* error = std::get_if<Io_error>(&resolved)) return *error;
  const Target& t = std::get<Target>(resolved);
  if (!t.exists) {
    Descriptor file(
        ::open(t.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!file) return error_for(errno, t.path);
    return file;
  }
  if (auto error = write_protected(t)) return *error;
  Descriptor file(
      ::open(t.path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!file) return error_for(errno, t.path);
  struct stat st {};
  if (::fstat(file.get(), &st) != 0 || swapped(st, t.st) || ::ftruncate(file.get(), 0) != 0) {
    return Io_error{Io_error::access_denied, EACCES};  // swapped under us
  }
  return file;
}

std::optional<Io_error> append_locked(const std::string& path, std::size_t limit,
                                      const Append_text& text) {
  auto resolved = resolve_target(path);
  if (auto* error = std::get_if<Io_error>(&resolved)) return *error;
  const Target& t = std::get<Target>(resolved);
  if (auto error = write_protected(t)) return error;
  Descriptor file(
      ::open(t.path.c_str(),
             O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666));
  if (!file) return error_for(errno, t.path);
  const int fd = file.get();
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || (t.exists && swapped(st, t.st))) {
    return Io_error{Io_error::access_denied, EACCES};  // swapped under us
  }
  // Released when the descriptor closes, on every way out.
  while (::flock(fd, LOCK_EX) != 0) {
    if (errno != EINTR) return Io_error::from_errno(errno);
  }
  std::string contents;
  if (::lseek(fd, 0, SEEK_SET) < 0 || !read_up_to(fd, limit, contents)) {
    return Io_error::from_errno(errno);
  }
  if (contents.size() > limit) return Io_error{Io_error::too_large, EFBIG};
  const std::string added = text(contents);
  if (!write_all(fd, added.data(), added.size()) || ::fdatasync(fd) != 0) {
    // A part of a row would break the file's chain: the file is cut back to what it held.
    const int err = errno;
    if (::ftruncate(fd, static_cast<off_t>(contents.size())) == 0) ::fdatasync(fd);
    return Io_error::from_errno(err);
  }
  if (!t.exists) sync_folder(t.path);
  if (const int err = file.close()) return Io_error::from_errno(err);
  return std::nullopt;
}

std::variant<Save_new, Io_error> save_new_file(const std::string& path, std::string_view bytes) {
  if (path.empty()) return Io_error{Io_error::invalid_filename, ENOENT};
  remove_stale_temps(folder_of(path));
  auto created = create_temporary(path);
  if (auto* error = std::get_if<Io_error>(&created)) return *error;
  Temporary_file& temp = std::get<Temporary_file>(created);
  if (auto error = finish(temp, bytes)) return *error;
  if (const int err = place_new(std::move(temp), path)) {
    if (err == EEXIST) return Save_new::exists;
    return Io_error::from_errno(err);
  }
  sync_folder(path);
  return Save_new::saved;
}

const File_store& safe_files() {
  static const Safe_files files;
  return files;
}

}  // namespace tirna
