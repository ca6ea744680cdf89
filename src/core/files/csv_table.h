#pragma once
// Comma-separated tables as spreadsheets and radio programming tools write them: an optional UTF-8
// byte order mark, CR LF or LF line ends, fields in double quotes where they hold the separator,
// a quote or a line break (a quote inside doubled), and a separator of ',' or, where the decimal
// mark is the comma, ';' (a tab is taken too).

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

// Reads a whole table. The separator is the one of ',', ';' and tab that occurs most often outside
// quotes in the first record that is not a comment. Empty lines are skipped; a line starting
// with '#' is a comment, read as a record marked so (programs like CHIRP skip such lines).
std::variant<Csv_table, Csv_syntax_error> read_csv(std::string_view text);

// One record with its CR LF line end; fields are quoted where they must be.
std::string csv_line(const std::vector<std::string>& fields, char separator = ',');

}  // namespace tirna
