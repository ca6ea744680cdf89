#pragma once
// Every file the program reads or writes goes through here, so that no input can stall it or make
// it read without bound, and no save can lose the old file, replace anything but a regular file,
// follow a link that another user planted, or take a shared file away from its owner.
// POSIX system calls, no Qt: the simulator saves its radios' memories through here too. The
// rules themselves are save_policy.h.

#include <sys/types.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "core/files/file_store.h"
#include "core/files/io_error.h"
#include "platform/files/descriptor.h"

namespace tirna {

// Reads a regular file. Anything else (a folder, a FIFO, a device, a socket) is access_denied
// without being opened, so that it can neither block nor have side effects; the file is opened
// without blocking all the same, in case it was swapped in between.
std::variant<std::string, Io_error> read_file(const std::string& path, std::size_t limit,
                                              Beyond_limit beyond = Beyond_limit::refuse);

// Reads a stream (standard input) to its end, at most limit bytes: more is too_large.
std::variant<std::string, Io_error> read_stream(int fd, std::size_t limit);

// The file a path names (links followed), to tell whether two paths are one file.
struct File_identity {
  dev_t device = 0;
  ino_t inode = 0;
  friend bool operator==(const File_identity&, const File_identity&) = default;
};
std::optional<File_identity> file_identity(const std::string& path);
// True when both paths name the same file, whatever names they use: the same device and inode when
// both exist, else the same path once links in the existing part of each are resolved.
bool same_file(const std::string& a, const std::string& b);

// Saves bytes at path so that the previous file survives any failure:
// - The path may be a symbolic link only when the user or root owns it, and in a world-writable
//   sticky folder (/tmp) only when the user or the folder's owner does (the kernel's
//   protected_symlinks rule); the link stays a link and its target is saved.
// - Only a regular file is ever replaced: a folder, device, FIFO or socket is access_denied, as is
//   a file the user may not write (or one without any write permission, even for root).
// - Normally a temporary file beside the target is written, flushed to disk and renamed over it,
//   with the old file's permissions and group (and owner, for root).
// - Where that would change the file's owner or group (a file shared with another user) or the
//   folder does not let the user replace it (no write permission on the folder, or a sticky folder
//   and another owner), the file is written in place instead: its old contents are kept in memory
//   and written back when the write fails, so that owner, group, permissions and links stay.
// - Temporary files of an earlier save that was killed (older than a minute, the user's own) are
//   removed from the folder.
std::optional<Io_error> save_file(const std::string& path, std::string_view bytes);

// Checks, without writing anything, that save_file could write path: the link rules, a regular
// file or none, and the right to write the file or its folder.
std::optional<Io_error> check_save_target(const std::string& path);

// Writes bytes to a new file at path, complete or not at all, and never in place of an existing
// file (`exists` then, and nothing is written).
std::variant<Save_new, Io_error> save_new_file(const std::string& path, std::string_view bytes);

// Opens a file that is written as it grows (a log), emptied first, by the rules of a save: a link
// only as save_file follows one, only a regular file or a new one.
std::variant<Descriptor, Io_error> open_growing_file(const std::string& path);

// Appends what text makes of the file's contents (a log whose rows are chained), under an exclusive
// lock (flock) on the file from the read to the sync, so that appenders in other processes and
// threads take turns. The path by the rules of a save: a link only as save_file follows one, only
// a regular file or a new one; a write-protected file is refused.
std::optional<Io_error> append_locked(const std::string& path, std::size_t limit,
                                      const Append_text& text);

// The core's files, read and saved by the functions above.
const File_store& safe_files();

}  // namespace tirna
