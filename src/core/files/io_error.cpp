#include "core/files/io_error.h"

#include <cerrno>

namespace tirna {

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
    case too_large:
      return "File too large";
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
#ifdef EDQUOT  // POSIX, not C++: Windows has no disk quotas of this kind
    case EDQUOT:
#endif
    case EFBIG:
      return {disk_full, err};
    default:
      return {other, err};
  }
}

}  // namespace tirna
