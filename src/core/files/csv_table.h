#pragma once
// Comma-separated tables as spreadsheets and radio programming tools write them: an optional UTF-8
// byte order mark, CR LF or LF line ends, fields in double quotes where they hold the separator,
// a quote or a line break (a quote inside doubled), and a separator of ',' or, where the decimal
// mark is the comma, ';' (a tab is taken too).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tirna {

struct Csv_record {
  int line = 0;  // the line of the file on which the record starts, from 1
  std::vector<std::string> fields;
  bool commented = false;  // the line began with '#' (not part of the first field)
};

struct Csv_table {
  char separator = ',';
  std::vector<Csv_record> records;  // the header is records[0]
};

struct Csv_syntax_error {
  int line = 0;
  std::string reason;
};

// Reads a table one record at a time, so that a large table need not be held whole; a record read
// once can be read again from its place. The separator is the one of ',', ';' and tab that occurs
// most often outside quotes in the first record that is not a comment. Empty lines are skipped; a
// line starting with '#' is a comment, read as a record marked so (programs like CHIRP skip such
// lines).
class Csv_reader {
 public:
  explicit Csv_reader(std::string_view text);

  // Where a record begins in the text.
  struct Place {
    std::size_t offset = 0;
    int line = 1;
  };

  char separator() const { return separator_; }
  // The next record into `record`, whose storage is reused: false at the end of the text, and at
  // a quoted field left open (then error() holds it).
  bool next(Csv_record& record);
  // Where the record that next() read last begins.
  Place last() const { return last_; }
  // The next read begins at a place that last() gave.
  void seek(Place place);
  const std::optional<Csv_syntax_error>& error() const { return error_; }

 private:
  std::string_view text_;  // without the byte order mark
  char separator_ = ',';
  std::size_t at_ = 0;
  int line_ = 1;
  Place last_;
  std::optional<Csv_syntax_error> error_;
};

// Reads a whole table (as Csv_reader reads its records).
std::variant<Csv_table, Csv_syntax_error> read_csv(std::string_view text);

// One record with its CR LF line end; fields are quoted where they must be.
std::string csv_line(const std::vector<std::string>& fields, char separator = ',');

}  // namespace tirna
