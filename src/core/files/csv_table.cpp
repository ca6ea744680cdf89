#include "core/files/csv_table.h"

#include <algorithm>

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

// Where the line that holds `from` ends, past its '\n'.
std::size_t next_line(std::string_view text, std::size_t from) {
  const std::size_t end = text.find('\n', from);
  return end == std::string_view::npos ? text.size() : end + 1;
}

}  // namespace

Csv_reader::Csv_reader(std::string_view text) : text_(text) {
  if (text_.substr(0, utf8_bom.size()) == utf8_bom) text_.remove_prefix(utf8_bom.size());
  // The first line that is neither blank nor a comment decides the separator.
  std::size_t first = 0;
  while (first < text_.size() && (blank_line(text_.substr(first)) || text_[first] == '#')) {
    first = next_line(text_, first);
  }
  separator_ = detect_separator(text_.substr(first));
}

void Csv_reader::seek(Place place) {
  at_ = place.offset;
  line_ = place.line;
  error_.reset();
}

bool Csv_reader::next(Csv_record& record) {
  while (at_ < text_.size() && blank_line(text_.substr(at_))) {
    at_ = next_line(text_, at_);
    ++line_;
  }
  if (at_ >= text_.size() || error_) return false;
  last_ = {at_, line_};
  record.line = line_;
  record.commented = text_[at_] == '#';
  if (record.commented) ++at_;
  // The fields' strings are reused from record to record: a large table costs no allocation per
  // cell.
  std::size_t count = 0;
  const auto next_field = [&record, &count]() -> std::string& {
    if (count == record.fields.size()) record.fields.emplace_back();
    std::string& field = record.fields[count++];
    field.clear();
    return field;
  };
  std::string* field = &next_field();
  const char plain_end_chars[] = {separator_, '"', '\r', '\n'};
  const std::string_view plain_end(plain_end_chars, sizeof plain_end_chars);
  bool quoted = false;  // inside a quoted part of the field
  while (at_ < text_.size()) {
    if (!quoted) {
      // A run of plain characters at once.
      const std::size_t end = std::min(text_.find_first_of(plain_end, at_), text_.size());
      field->append(text_.substr(at_, end - at_));
      at_ = end;
      if (at_ == text_.size()) break;
    }
    const char c = text_[at_++];
    if (quoted) {
      if (c == '"') {
        if (at_ < text_.size() && text_[at_] == '"') {
          *field += '"';
          ++at_;
        } else {
          quoted = false;
        }
      } else {
        if (c == '\n') ++line_;
        *field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == separator_) {
      field = &next_field();
    } else if (c == '\n') {
      ++line_;
      break;
    } else if (c == '\r' && (at_ >= text_.size() || text_[at_] == '\n')) {
      // the CR of a CR LF line end
    } else {
      *field += c;
    }
  }
  if (quoted) {
    error_ = Csv_syntax_error{record.line, "a quoted field is not closed"};
    return false;
  }
  record.fields.resize(count);
  return true;
}

std::variant<Csv_table, Csv_syntax_error> read_csv(std::string_view text) {
  Csv_reader reader(text);
  Csv_table table;
  table.separator = reader.separator();
  Csv_record record;
  while (reader.next(record)) {
    table.records.push_back(std::move(record));
    record = {};
  }
  if (reader.error()) return *reader.error();
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
