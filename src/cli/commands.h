#pragma once
// Each command group registers its subcommands on the application. A subcommand's callback
// throws Command_failed to end with a status; the message goes to stderr.

#include <CLI/CLI.hpp>
#include <stdexcept>
#include <string>

#include "cli/exit_status.h"
#include "core/files/file_commands.h"
#include "core/fleet/journal_chain.h"

namespace tirna::cli {

struct Command_failed : std::runtime_error {
  Command_failed(Exit_status s, const std::string& message)
      : std::runtime_error(message), status(s) {}
  Exit_status status;
};

// Opens a parameter file as the window's Open command does, or fails with status 3 and the file
// error's text.
Workspace open_or_fail(const std::string& path);
// Saves atomically, or fails with status 3.
void save_or_fail(Workspace& ws, const std::string& path);

void add_file_commands(CLI::App& app);
// report FILE -o OUT.pdf
void add_report_command(CLI::App& app);
// certificate -o CERT.pdf: the journal's rows as the shop's proof.
void add_certificate_command(CLI::App& app);
// read, write, read-extra, write-extra: transfers with the radio.
void add_link_commands(CLI::App& app);
// verify: the radio against what a write of a file sends.
void add_verify_command(CLI::App& app);
void add_fleet_command(CLI::App& app);
// --journal JOURNAL.csv of the commands that write to a radio.
void add_journal_option(CLI::App* cmd, std::string& journal);
// journal verify, history, certificate: what the programming journal proves.
void add_journal_commands(CLI::App& app);
// The journal --journal names (empty: the user's), read whole, and its chain: what journal
// verify, history and certificate start from. A file that is no programming journal at all
// (its header) fails with exit_file_error when `foreign_fails`.
struct Read_journal {
  std::string path, text;
  Chain_verdict chain;
};
Read_journal read_programming_journal(const std::string& journal, bool foreign_fails = true);
void add_set_command(CLI::App& app);
void add_csv_commands(CLI::App& app);
void add_diff_command(CLI::App& app);
// list-ports and doctor: the machine's serial ports, and why the radio does not answer.
void add_port_commands(CLI::App& app);
void add_doctor_command(CLI::App& app);
// demo: the window against the simulated radio.
void add_demo_command(CLI::App& app);

}  // namespace tirna::cli
