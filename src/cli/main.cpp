// tirna520-cli: new, show and the other commands of the technician's command line.

#include <filesystem>
#include <iostream>
#include <new>
#include <string>

#include "cli/commands.h"
#include "cli/terminal_output.h"
#include "core/text/messages.h"

namespace {

// A message of a library on one line.
std::string one_line(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  // Every failure ends in a message and an exit status; none may end the process otherwise.
  using namespace tirna::cli;
  const Terminal_escaping escaping;
  CLI::App app{"tirna520-cli: programming tool for the Тирна-520 radio, from the command line"};
  app.require_subcommand(1);
  app.footer(exit_status_help());
  app.set_help_all_flag("--help-all", "Print help for every command");
  app.set_version_flag("--version", "tirna520-cli " TIRNA_VERSION);
  add_file_commands(app);
  add_report_command(app);
  add_link_commands(app);
  add_verify_command(app);
  add_fleet_command(app);
  add_journal_commands(app);
  add_certificate_command(app);
  add_set_command(app);
  add_csv_commands(app);
  add_diff_command(app);
  add_port_commands(app);
  add_demo_command(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return exit_usage;
  } catch (const Command_failed& e) {
    if (e.what()[0] != '\0') std::cerr << e.what() << '\n';
    return e.status;
  } catch (const std::bad_alloc&) {
    std::cerr << "tirna520-cli: not enough memory\n";
    return exit_file_error;
  } catch (const std::filesystem::filesystem_error& e) {
    // A file error that a command did not turn into its own message: the path and the reason.
    std::cerr << e.path1().string() << ": "
              << tirna::with_full_stop(tirna::Io_error::from_errno(e.code().value()).text())
              << '\n';
    return exit_file_error;
  } catch (const std::exception& e) {
    std::cerr << "tirna520-cli: " << one_line(e.what()) << '\n';
    return exit_file_error;
  } catch (...) {
    std::cerr << "tirna520-cli: unexpected failure\n";
    return exit_file_error;
  }
  return exit_ok;
}
