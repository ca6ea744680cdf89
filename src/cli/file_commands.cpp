// new and show.

#include <iostream>

#include "cli/commands.h"
#include "cli/show_format.h"
#include "core/text/messages.h"
#include "platform/files/safe_file.h"

namespace tirna::cli {

Workspace open_or_fail(const std::string& path) {
  Workspace ws = start_up_workspace();
  if (const auto error = open_parameter_file(safe_files(), ws, path)) {
    throw Command_failed(exit_file_error, path + ": " + with_full_stop(error->text()));
  }
  return ws;
}

void save_or_fail(Workspace& ws, const std::string& path) {
  if (const auto error = save_parameter_file(safe_files(), ws, path)) {
    throw Command_failed(exit_file_error, path + ": " + with_full_stop(error->text()));
  }
}

void add_file_commands(CLI::App& app) {
  {
    auto* cmd = app.add_subcommand("new", "Write the default parameter image to a file");
    struct Options {
      int band = 0;
      int coding_version = 2;
      std::string output;
    };
    auto options = std::make_shared<Options>();
    cmd->add_option("--band", options->band, "Band index: 0 = 148-174 MHz, 1 = 450-470 MHz")
        ->check(CLI::IsMember({0, 1}));
    cmd->add_option("--coding-version", options->coding_version,
                    "Frequency coding version (3 or less: old coding, 4 or more: new coding)")
        ->check(CLI::Range(0, 255));
    cmd->add_option("-o,--output", options->output, "The parameter file to write (*.tn5)")
        ->required();
    cmd->callback([options] {
      Workspace ws;
      ws.state.band_index = options->band;
      ws.state.coding_version = static_cast<uint8_t>(options->coding_version);
      new_blok(ws.image, ws.state.band_index, ws.state.coding_version);
      save_or_fail(ws, options->output);
    });
  }
  {
    auto* cmd = app.add_subcommand(
        "show", "Show a parameter file as the window shows it after opening the file");
    struct Options {
      std::string file;
      bool json = false;
    };
    auto options = std::make_shared<Options>();
    cmd->add_option("FILE", options->file, "The parameter file (*.tn5)")->required();
    cmd->add_flag("--json", options->json,
                  "One JSON object: the 178 report parameters, band_index, coding_version, time");
    cmd->callback([options] {
      const Workspace ws = open_or_fail(options->file);
      const Window_view view = fresh_window_view(ws);
      std::cout << (options->json ? show_json(ws, view) : show_listing(ws, view));
    });
  }
}

}  // namespace tirna::cli
