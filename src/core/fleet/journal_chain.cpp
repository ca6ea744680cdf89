#include "core/fleet/journal_chain.h"

#include <algorithm>

#include "core/files/csv_table.h"
#include "core/text/messages.h"

namespace tirna {

namespace {

// The journal's lines, each with its line end; a last line without one is kept as it is.
std::vector<std::string_view> lines_of(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::size_t size = end == std::string_view::npos ? text.size() : end + 1;
    lines.push_back(text.substr(0, size));
    text.remove_prefix(size);
  }
  return lines;
}

// The separator of a header of this program's journal, or none for any other first line.
std::optional<char> header_separator(std::string_view header) {
  for (const char separator : {',', ';'}) {
    if (header == journal_start(separator)) return separator;
  }
  return std::nullopt;
}

std::vector<std::string> fields_of(std::string_view line) {
  Csv_reader reader(line);
  Csv_record record;
  if (!reader.next(record)) return {};
  return record.fields;
}

std::string file_error(const std::string& path, const Io_error& error) {
  return path + ": " + with_full_stop(error.text());
}

std::string foreign_journal(const std::string& path) {
  return path +
         ": not a programming journal of this version of tirna520 (its header differs); name "
         "another journal.";
}

}  // namespace

Chain_verdict verify_journal(std::string_view journal, Sha256_hex sha256) {
  Chain_verdict v;
  const std::vector<std::string_view> lines = lines_of(journal);
  if (lines.empty() || !header_separator(lines[0])) {
    v.broken_line = 1;
    v.reason = lines.empty() ? "the journal is empty" : "the header is not a journal's header";
    return v;
  }
  const std::size_t columns = journal_column_names().size();
  std::string previous = sha256(lines[0]);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    v.broken_row = static_cast<int>(i);
    v.broken_line = static_cast<int>(i) + 1;
    if (!line.ends_with("\r\n")) {
      v.reason = "the row is cut short";
      return v;
    }
    const std::vector<std::string> fields = fields_of(line);
    if (fields.size() != columns) {
      v.reason =
          "the row has " + std::to_string(fields.size()) + " cells, not " + std::to_string(columns);
      return v;
    }
    if (fields.back() != previous) {
      v.reason = i == 1 ? "it does not follow the header: a row before it was removed, or the "
                          "row was changed or moved"
                        : "it does not follow row " + std::to_string(i - 1) +
                              ": that row was changed, or rows were removed or moved";
      return v;
    }
    previous = sha256(line);
  }
  v.intact = true;
  v.rows = static_cast<int>(lines.size()) - 1;
  v.broken_row = v.broken_line = 0;
  v.last_row_sha256 = previous;
  return v;
}

const std::string& Journal_entry::cell(std::string_view column) const {
  static const std::string none;
  const auto& names = journal_column_names();
  const auto at = std::find(names.begin(), names.end(), column);
  const auto i = static_cast<std::size_t>(at - names.begin());
  return i < cells.size() ? cells[i] : none;
}

std::vector<Journal_entry> journal_entries(std::string_view journal) {
  std::vector<Journal_entry> entries;
  const auto table = read_csv(journal);
  const auto* t = std::get_if<Csv_table>(&table);
  if (t == nullptr || t->records.empty() || t->records[0].fields != journal_column_names()) {
    return entries;
  }
  const std::size_t columns = journal_column_names().size();
  for (std::size_t i = 1; i < t->records.size(); ++i) {
    if (t->records[i].commented) continue;
    Journal_entry e;
    e.row = static_cast<int>(i);
    e.cells = t->records[i].fields;
    e.cells.resize(columns);
    for (std::string& cell : e.cells) {
      // Undoes the apostrophe that keeps a spreadsheet from taking a cell for a formula.
      if (cell.size() > 1 && cell[0] == '\'' &&
          std::string_view("=+-@").find(cell[1]) != std::string_view::npos) {
        cell.erase(0, 1);
      }
    }
    entries.push_back(std::move(e));
  }
  return entries;
}

Journal_writer::Journal_writer(const File_store& files, std::string path, Sha256_hex sha256,
                               char new_separator)
    : files_(files), path_(std::move(path)), sha256_(sha256), new_separator_(new_separator) {}

std::optional<std::string> Journal_writer::open(Journal_contents* contents) {
  const auto read = files_.read(path_, journal_size_limit, Beyond_limit::refuse);
  if (const auto* error = std::get_if<Io_error>(&read)) {
    if (error->kind == Io_error::file_not_found) return std::nullopt;
    return file_error(path_, *error);
  }
  const std::string& text = std::get<std::string>(read);
  if (text.empty()) return std::nullopt;
  if (!header_separator(lines_of(text).front())) return foreign_journal(path_);
  if (contents != nullptr) *contents = read_journal(text);
  return std::nullopt;
}

std::optional<std::string> Journal_writer::start() {
  return add(nullptr);
}

std::optional<std::string> Journal_writer::append(const Journal_row& row) {
  return add(&row);
}

std::optional<std::string> Journal_writer::add(const Journal_row* row) {
  bool foreign = false;
  const auto error = files_.append(path_, journal_size_limit, [&](std::string_view contents) {
    std::string added;
    std::string previous;
    char separator = new_separator_;
    if (contents.empty()) {
      added = journal_start(separator);
      previous = sha256_(added);
    } else {
      const std::vector<std::string_view> lines = lines_of(contents);
      const auto own = header_separator(lines.front());
      if (!own) {
        foreign = true;
        return std::string();
      }
      separator = *own;
      std::string last(lines.back());
      if (!last.ends_with('\n')) {
        // A row cut short by an append that was killed: it stays (verify names it), and the
        // next row starts on a line of its own.
        added = "\r\n";
        last += added;
      }
      previous = sha256_(last);
    }
    if (row != nullptr) added += journal_line(*row, separator, previous);
    return added;
  });
  if (error) return file_error(path_, *error);
  if (foreign) return foreign_journal(path_);
  return std::nullopt;
}

}  // namespace tirna
