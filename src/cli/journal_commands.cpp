// journal verify and history: what the programming journal proves, and one radio's record in it.

#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <set>

#include "cli/commands.h"
#include "core/files/backup_file.h"
#include "core/fleet/journal_chain.h"
#include "core/text/messages.h"
#include "platform/files/safe_file.h"
#include "platform/programming_journal.h"

namespace tirna::cli {

namespace {

void verify(const std::string& given) {
  const Read_journal j = read_programming_journal(given, false);
  const Chain_verdict& v = j.chain;
  if (v.intact) {
    std::cout << j.path << ": the chain is intact, " << v.rows << " rows; the last row's SHA-256 "
              << v.last_row_sha256 << '\n';
    return;
  }
  std::cout << j.path << ": the chain breaks at ";
  if (v.broken_row == 0) {
    std::cout << "the header (line 1)";
  } else {
    std::cout << "row " << v.broken_row << " (line " << v.broken_line << ")";
  }
  std::cout << ": " << v.reason << '\n';
  throw Command_failed(exit_journal_broken, "");
}

// The backups of a radio: those its rows name that are still there, and those in folder named
// after it.
std::vector<std::string> backups_of(const std::string& number,
                                    const std::vector<const Journal_entry*>& rows,
                                    const std::string& folder) {
  std::set<std::string> found;
  std::error_code error;
  for (const Journal_entry* e : rows) {
    const std::string& path = e->cell("backup");
    if (!path.empty() && std::filesystem::is_regular_file(path, error)) found.insert(path);
  }
  if (!folder.empty()) {
    const std::string prefix = factory_number_part(number) + "-";
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
      const std::string name = entry.path().filename().string();
      if (name.starts_with(prefix) && name.ends_with(".tn5") && entry.is_regular_file(error)) {
        found.insert(entry.path().string());
      }
    }
  }
  return {found.begin(), found.end()};
}

// Whether the radio read back held what was written: empty when it was not read back.
std::string readback_check(const Journal_entry& e) {
  if (e.cell("readback_sha256").empty()) return "";
  if (e.cell("result") == result_text(Radio_result::readback_differs)) return "отличается";
  return e.cell("result") == result_text(Radio_result::done) ? "совпадает" : "";
}

struct History_options {
  std::string number, journal, backup_dir;
  bool json = false;
};

void history(const History_options& o) {
  const auto [path, text, chain] = read_programming_journal(o.journal);
  const std::vector<Journal_entry> entries = journal_entries(text);
  if (!chain.intact) {
    std::cerr << path << ": the chain breaks at row " << chain.broken_row
              << "; these rows may not be what was written (journal verify says why).\n";
  }
  std::vector<const Journal_entry*> rows;
  for (const Journal_entry& e : entries) {
    if (e.cell("factory_number") == o.number) rows.push_back(&e);
  }
  const std::vector<std::string> backups = backups_of(o.number, rows, o.backup_dir);
  if (o.json) {
    nlohmann::ordered_json json;
    json["factory_number"] = o.number;
    json["journal"] = path;
    json["rows"] = nlohmann::json::array();
    for (const Journal_entry* e : rows) {
      nlohmann::ordered_json row;
      row["row"] = e->row;
      for (const std::string& column : journal_column_names()) row[column] = e->cell(column);
      json["rows"].push_back(row);
    }
    json["backups"] = backups;
    std::cout << json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    return;
  }
  std::cout << "Радиостанция № " << o.number << ", журнал " << path << ", записей: " << rows.size()
            << '\n';
  for (const Journal_entry* e : rows) {
    std::cout << e->cell("time") << "  " << e->cell("command") << "  " << e->cell("result")
              << "  файл " << (e->cell("file").empty() ? "-" : e->cell("file")) << "  "
              << e->cell("user") << "@" << e->cell("station") << "  порт " << e->cell("port");
    if (const std::string check = readback_check(*e); !check.empty()) {
      std::cout << "  проверка чтением: " << check;
    }
    if (!e->cell("note").empty()) std::cout << "  (" << e->cell("note") << ")";
    std::cout << '\n';
  }
  if (backups.empty()) {
    std::cout << "Резервных копий нет.\n";
  } else {
    std::cout << "Резервные копии:\n";
    for (const std::string& b : backups) std::cout << "  " << b << '\n';
  }
}

}  // namespace

Read_journal read_programming_journal(const std::string& journal, bool foreign_fails) {
  Read_journal j;
  j.path = journal.empty() ? default_journal_path() : journal;
  if (j.path.empty()) throw Command_failed(exit_usage, "journal: no home folder; name the journal");
  auto read = read_file(j.path, journal_size_limit);
  if (const auto* error = std::get_if<Io_error>(&read)) {
    throw Command_failed(exit_file_error, j.path + ": " + with_full_stop(error->text()));
  }
  j.text = std::get<std::string>(std::move(read));
  j.chain = verify_journal(j.text, sha256_hex);
  if (foreign_fails && !j.chain.intact && j.chain.broken_row == 0) {
    throw Command_failed(exit_file_error, j.path + ": not a programming journal of tirna520.");
  }
  return j;
}

void add_journal_commands(CLI::App& app) {
  {
    auto* journal = app.add_subcommand(
        "journal", "The programming journal: every write to a radio, one row each, chained");
    journal->require_subcommand(1);
    auto* cmd = journal->add_subcommand(
        "verify",
        "Check the journal's chain: every row carries the SHA-256 of the row before it (the "
        "first row: of the header)");
    auto path = std::make_shared<std::string>();
    cmd->add_option("JOURNAL", *path,
                    "The journal (default: the user's, $XDG_DATA_HOME/tirna520/journal.csv)");
    cmd->footer(
        "Prints the row count and the last row's SHA-256 of an intact journal (keep it: a row\n"
        "removed from the end later shows against it), or the first row whose chain breaks:\n"
        "the row before it was changed, or rows were removed or moved (exit status 9).");
    cmd->callback([path] { verify(*path); });
  }
  {
    auto* cmd = app.add_subcommand(
        "history", "Every journal row of one radio, oldest first, with the backups kept of it");
    auto o = std::make_shared<History_options>();
    cmd->add_option("FACTORY_NUMBER", o->number, "The radio's factory number")->required();
    cmd->add_option("--journal", o->journal,
                    "The journal (default: the user's, $XDG_DATA_HOME/tirna520/journal.csv)")
        ->type_name("JOURNAL.csv");
    cmd->add_option("--backup-dir", o->backup_dir,
                    "Also list the backups of the radio in this folder (as write --backup-dir "
                    "and fleet name them)")
        ->type_name("DIR");
    cmd->add_flag("--json", o->json, "Print the rows and backups as JSON, for scripts");
    cmd->callback([o] { history(*o); });
  }
}

}  // namespace tirna::cli
