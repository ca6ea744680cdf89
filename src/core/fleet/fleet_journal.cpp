#include "core/fleet/fleet_journal.h"

#include <algorithm>
#include <cstdio>

#include "core/files/csv_table.h"
#include "core/image/param_image.h"
#include "core/text/format.h"

namespace tirna {

namespace {

constexpr std::string_view bom = "\xEF\xBB\xBF";

int column(const std::vector<std::string>& header, std::string_view name) {
  for (std::size_t i = 0; i < header.size(); ++i) {
    if (trimmed(header[i]) == name) return static_cast<int>(i);
  }
  return -1;
}

// A spreadsheet takes a cell that starts with =, +, - or @ for a formula: a factory number or a
// file name from outside must stay a text, so such a cell starts with an apostrophe.
std::string cell_text(std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  if (!text.empty() && std::string_view("=+-@").find(text[0]) != std::string_view::npos) {
    return "'" + text;
  }
  return text;
}

std::string cell_value(std::string text) {
  if (text.size() > 1 && text[0] == '\'' &&
      std::string_view("=+-@").find(text[1]) != std::string_view::npos) {
    text.erase(0, 1);
  }
  return text;
}

// The columns of the first fleet journals come first, in their order, so that scripts reading
// those by position keep working.
const std::vector<std::string> journal_columns = {"time",
                                                  "port",
                                                  "factory_number",
                                                  "model",
                                                  "band",
                                                  "version",
                                                  "file",
                                                  "file_sha256",
                                                  "backup",
                                                  "result",
                                                  "exit_status",
                                                  "note",
                                                  "station",
                                                  "user",
                                                  "command",
                                                  "sent_sha256",
                                                  "readback_sha256",
                                                  "previous_row_sha256"};

// Least to most.
constexpr Exit_status status_order[] = {
    exit_ok,        exit_differs,       exit_usage,    exit_file_error, exit_port,
    exit_no_answer, exit_band_mismatch, exit_readback, exit_refused,    exit_interrupted};

int rank(Exit_status s) {
  const auto* at = std::find(std::begin(status_order), std::end(status_order), s);
  // A status of another command (doctor's) ranks with the file errors: the machine's trouble.
  if (at == std::end(status_order)) return rank(exit_file_error);
  return static_cast<int>(at - std::begin(status_order));
}

}  // namespace

Exit_status worse_status(Exit_status a, Exit_status b) {
  return rank(b) > rank(a) ? b : a;
}

const std::vector<std::string>& journal_column_names() {
  return journal_columns;
}

std::string_view result_text(Radio_result result) {
  switch (result) {
    case Radio_result::done:
      return "done";
    case Radio_result::already_done:
      return "already done";
    case Radio_result::read_failed:
      return "read failed";
    case Radio_result::band_refused:
      return "band refused";
    case Radio_result::backup_failed:
      return "backup not saved";
    case Radio_result::write_failed:
      return "write failed";
    case Radio_result::text_failed:
      return "text write failed";
    case Radio_result::readback_differs:
      return "read-back differs";
    case Radio_result::readback_failed:
      return "read-back failed";
    case Radio_result::stopped:
      return "stopped";
    case Radio_result::matches:
      return "matches";
    case Radio_result::differs:
      return "differs";
  }
  return "";
}

std::string journal_time(const Local_time& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

std::string journal_start(char separator) {
  return std::string(bom) + csv_line(journal_columns, separator);
}

std::string journal_line(const Journal_row& row, char separator, std::string_view previous_sha256) {
  return csv_line(
      {journal_time(row.time), cell_text(row.port), cell_text(row.factory_number),
       cell_text(row.model), cell_text(row.band),
       row.version < 0 ? std::string() : std::to_string(row.version), cell_text(row.file),
       row.file_sha256, cell_text(row.backup), std::string(result_text(row.result)),
       std::to_string(row.exit_status), cell_text(row.note), cell_text(row.station),
       cell_text(row.user), cell_text(row.command), row.sent_sha256, row.readback_sha256,
       std::string(previous_sha256)},
      separator);
}

Journal_contents read_journal(std::string_view journal) {
  Journal_contents contents;
  const auto table = read_csv(journal);
  const auto* t = std::get_if<Csv_table>(&table);
  if (t == nullptr || t->records.empty()) return contents;
  contents.separator = t->separator;
  const auto& header = t->records.front().fields;
  const int number = column(header, "factory_number");
  const int sha = column(header, "file_sha256");
  const int result = column(header, "result");
  if (number < 0 || sha < 0 || result < 0) return contents;
  for (std::size_t i = 1; i < t->records.size(); ++i) {
    const auto& f = t->records[i].fields;
    if (t->records[i].commented || static_cast<int>(f.size()) <= std::max({number, sha, result})) {
      continue;
    }
    const std::string n = trimmed(cell_value(f[number]));
    if (!n.empty() && f[result] == result_text(Radio_result::done)) {
      contents.done.emplace(n, trimmed(f[sha]));
    }
  }
  return contents;
}

std::variant<Free_texts, std::string> read_free_texts(std::string_view csv) {
  const auto table = read_csv(csv);
  if (const auto* error = std::get_if<Csv_syntax_error>(&table)) {
    return "line " + std::to_string(error->line) + ": " + error->reason;
  }
  const auto& t = std::get<Csv_table>(table);
  if (t.records.empty())
    return std::string("the table is empty; it needs the columns factory_number,text");
  const auto& header = t.records.front().fields;
  const int number = column(header, "factory_number");
  const int text = column(header, "text");
  if (number < 0 || text < 0) {
    return "line " + std::to_string(t.records.front().line) +
           ": the header needs the columns factory_number and text";
  }
  Free_texts texts;
  for (std::size_t i = 1; i < t.records.size(); ++i) {
    const Csv_record& r = t.records[i];
    if (r.commented) continue;
    const std::string where = "line " + std::to_string(r.line) + ": ";
    if (static_cast<int>(r.fields.size()) <= std::max(number, text)) {
      return where + "the row has fewer fields than the header";
    }
    const std::string n = trimmed(r.fields[number]);
    if (n.empty()) return where + "no factory number";
    if (texts.by_factory_number.count(n) != 0) return where + "the factory number " + n + " twice";
    const auto bytes = free_text_bytes(r.fields[text]);
    if (!bytes) return where + "the text of " + n + " has characters the radio cannot show";
    if (bytes->size() > static_cast<std::size_t>(mem::free_text_size)) {
      return where + "the text of " + n + " is longer than the radio's 192 bytes";
    }
    texts.by_factory_number.emplace(n, *bytes);
  }
  return texts;
}

}  // namespace tirna
