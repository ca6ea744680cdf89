#pragma once
// The programming journal of this machine's user, as the window and the command line append to
// it: where it lives ($XDG_DATA_HOME/tirna520/journal.csv unless another is named), who and where
// a row is written by, the SHA-256 the rows carry, the separator a new journal gets.

#include <optional>
#include <string>
#include <string_view>

#include "core/fleet/journal_chain.h"
#include "core/image/param_image.h"

namespace tirna {

// SHA-256 of bytes as 64 lowercase hexadecimal digits.
std::string sha256_hex(std::string_view bytes);
// Of the image's 1024 memory bytes, in address order.
std::string image_sha256(const Param_image& image);

// The separator a spreadsheet of the user's locale expects: ";" where the decimal mark is ",".
// The locale of the process is left as it was.
char locale_list_separator();

// <the user's program folder>/journal.csv (see user_program_folder); empty without a home.
std::string default_journal_path();

class Programming_journal {
 public:
  // path empty: the default journal, whose folder is made when missing.
  explicit Programming_journal(std::string path = {});

  // A row of this machine and user for a command ("write", "window write", ...), stamped now.
  Journal_row row(std::string command) const;
  // Reads the journal as it is (see Journal_writer::open): none, or why it cannot be used.
  std::optional<std::string> open(Journal_contents* contents = nullptr);
  // Writes the header of a new or empty journal: none, or the failure.
  std::optional<std::string> start();
  // Appends the row (chained, under the journal's lock, synced): none, or the failure to report.
  std::optional<std::string> append(const Journal_row& row);
  Journal_writer& writer() { return writer_; }
  const std::string& path() const { return writer_.path(); }

 private:
  std::optional<std::string> prepare();

  bool is_default_;
  Journal_writer writer_;
};

}  // namespace tirna
