#include "core/files/csv_table.h"

namespace tirna {
namespace {

constexpr std::string_view utf8_bom = "\xEF\xBB\xBF";

char detect_separator(std::string_view text) {
  int commas = 0, semicolons = 0, tabs = 0;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '\n') break;
    commas += c == ',';
    semicolons += c == ';';
    tabs += c == '\t';
  }
  if (semicolons > commas && semicolons >= tabs) return ';';
  if (tabs > commas && tabs > semicolons) return '\t';
  return ',';
}

bool blank_line(std::string_view rest) {
  return rest.empty() || rest[0] == '\n' || rest.substr(0, 2) == "\r\n";
}

}  // namespace

std::variant<Csv_table, Csv_syntax_error> read_csv(std::string_view text) {
  if (text.substr(0, utf8_bom.size()) == utf8_bom) text.remove_prefix(utf8_bom.size());
  // The first line that is neither blank nor a comment decides the separator.
  std::size_t first = 0;
  while (first < text.size() && (blank_line(text.substr(first)) || text[first] == '#')) {
    const std::size_t end = text.find('\n', first);
    first = end == std::string_view::npos ? text.size() : end + 1;
  }
  Csv_table table;
  table.separator = detect_separator(text.substr(first));

  std::size_t i = 0;
  int line = 1;
  while (i < text.size()) {
    if (blank_line(text.substr(i))) {
      const std::size_t end = text.find('\n', i);
      i = end == std::string_view::npos ? text.size() : end + 1;
      ++line;
      continue;
    }
    Csv_record record;
    record.line = line;
    if (text[i] == '#') {
      record.commented = true;
      ++i;
    }
    std::string field;
    bool quoted = false;  // inside a quoted part of the field
    bool end_of_record = false;
    while (!end_of_record) {
      if (i >= text.size()) {
        if (quoted) return Csv_syntax_error{record.line, "a quoted field is not closed"};
        end_of_record = true;
        break;
      }
      const char c = text[i++];
      if (quoted) {
        if (c == '"') {
          if (i < text.size() && text[i] == '"') {
            field += '"';
            ++i;
          } else {
            quoted = false;
          }
        } else {
          if (c == '\n') ++line;
          field += c;
        }
      } else if (c == '"') {
        quoted = true;
      } else if (c == table.separator) {
        record.fields.push_back(std::move(field));
        field.clear();
      } else if (c == '\n') {
        ++line;
        end_of_record = true;
      } else if (c == '\r' && (i >= text.size() || text[i] == '\n')) {
        // the CR of a CR LF line end
      } else {
        field += c;
      }
    }
    record.fields.push_back(std::move(field));
    table.records.push_back(std::move(record));
  }
  return table;
}

std::string csv_line(const std::vector<std::string>& fields, char separator) {
  std::string out;
  for (std::size_t k = 0; k < fields.size(); ++k) {
    if (k > 0) out += separator;
    const std::string& f = fields[k];
    if (f.find_first_of(std::string{separator, '"', '\r', '\n'}) == std::string::npos) {
      out += f;
      continue;
    }
    out += '"';
    for (char c : f) {
      if (c == '"') out += '"';
      out += c;
    }
    out += '"';
  }
  return out + "\r\n";
}

}  // namespace tirna
