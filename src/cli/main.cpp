// tirna520-cli: new, show and the other commands of the technician's command line.

#include <iostream>

#include "cli/commands.h"

int main(int argc, char** argv) {
  using namespace tirna::cli;
  CLI::App app{"tirna520-cli: programming tool for the Тирна-520 radio, from the command line"};
  app.require_subcommand(1);
  app.footer(exit_status_help);
  app.set_help_all_flag("--help-all", "Print help for every command");
  add_file_commands(app);
  add_report_command(app);
  add_link_commands(app);
  add_verify_command(app);
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
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return exit_usage;
  } catch (const Command_failed& e) {
    if (e.what()[0] != '\0') std::cerr << e.what() << '\n';
    return e.status;
  }
  return exit_ok;
}
