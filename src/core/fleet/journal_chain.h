#pragma once
// The programming journal as a chain: every row ends with the SHA-256 of the bytes of the row
// before it (the first row: of the header, byte order mark and line end included), so that a row
// edited, removed, moved or cut short after it was written breaks the chain where it stood. The
// journal is appended to under a lock on the file (File_store::append), so that several programs
// writing to one journal keep one chain.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/files/file_store.h"
#include "core/fleet/fleet_journal.h"

namespace tirna {

// SHA-256 of bytes as 64 lowercase hexadecimal digits. The core has no hash of its own: the
// front ends pass the platform's.
using Sha256_hex = std::string (*)(std::string_view bytes);

// The journal is read up to this size.
inline constexpr std::size_t journal_size_limit = std::size_t{256} << 20;

// What `journal verify` finds.
struct Chain_verdict {
  bool intact = false;
  int rows = 0;                 // intact: the rows after the header
  int broken_row = 0;           // not intact: the first row (from 1, the header not counted) that
                                // does not follow the one before it; 0 when the header is wrong
  int broken_line = 0;          // that row's line in the file, from 1
  std::string reason;           // not intact: why, in a few words
  std::string last_row_sha256;  // intact: of the last row (of the header when no rows)
};
Chain_verdict verify_journal(std::string_view journal, Sha256_hex sha256);

// One row of a journal by its column names; missing cells are empty.
struct Journal_entry {
  int row = 0;                     // from 1
  std::vector<std::string> cells;  // in the order of journal_column_names()
  const std::string& cell(std::string_view column) const;
};
// The rows of a journal with the header of this program, in file order; nothing when the text is
// not such a journal.
std::vector<Journal_entry> journal_entries(std::string_view journal);

// Appends rows to one journal file. Failures come back as the text to show ("path: reason."):
// the callers report them after the transfer, which they never stop or undo.
class Journal_writer {
 public:
  // new_separator: the separator of a journal this writer starts (the locale's).
  Journal_writer(const File_store& files, std::string path, Sha256_hex sha256, char new_separator);

  // The journal as it is now (what it holds as done, its separator), or why it cannot be written
  // to: unreadable, or a table with another header (a journal of an older version of this
  // program, or no journal at all), which is never appended to.
  std::optional<std::string> open(Journal_contents* contents = nullptr);
  // Writes the header when the journal is new or empty.
  std::optional<std::string> start();
  // Appends the row, chained to the last row the file holds at that moment, and syncs it.
  std::optional<std::string> append(const Journal_row& row);

  const std::string& path() const { return path_; }

 private:
  std::optional<std::string> add(const Journal_row* row);

  const File_store& files_;
  std::string path_;
  Sha256_hex sha256_;
  char new_separator_;
};

}  // namespace tirna
