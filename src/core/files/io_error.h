#pragma once
// The file errors the file commands report, with the text the error box shows.

#include <string>

namespace tirna {

struct Io_error {
  enum Kind {
    file_not_found,
    invalid_filename,
    too_many_open_files,
    access_denied,
    read_beyond_end,
    disk_full,
    too_large,  // an input longer than the program reads (a CSV table, a text file)
    other,
  };
  Kind kind = other;
  int code = 0;  // the system's error number, for "I/O error %d"
  std::string text() const;
  static Io_error from_errno(int err);
};

}  // namespace tirna
