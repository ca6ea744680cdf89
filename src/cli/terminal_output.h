#pragma once
// Every text the command line writes to standard output and standard error passes one filter:
// control characters (C0 and DEL) are shown escaped, as "\u001b", so that a factory number, free
// text, model text or file name holding ESC sequences cannot move the cursor, recolour the screen
// or rewrite what a technician reads. Line breaks pass. The program's own controls (the progress
// bar's carriage return, the fleet's live lines, the bell) and the bytes of data written to
// standard output (a PDF, a CSV table) go through raw_out() and raw_err().

#include <ostream>

namespace tirna::cli {

// While it lives, std::cout and std::cerr escape control characters. One at a time.
class Terminal_escaping {
 public:
  Terminal_escaping();
  ~Terminal_escaping();
  Terminal_escaping(const Terminal_escaping&) = delete;
  Terminal_escaping& operator=(const Terminal_escaping&) = delete;
};

// The streams as they are, without the filter (std::cout and std::cerr when none is installed).
// Writes to them and to the filtered streams keep their order.
std::ostream& raw_out();
std::ostream& raw_err();

}  // namespace tirna::cli
