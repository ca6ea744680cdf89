// diff: two parameter files as the window shows them, then the bytes it does not show.

#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "cli/difference_listing.h"

namespace tirna::cli {

void add_diff_command(CLI::App& app) {
  auto* cmd = app.add_subcommand(
      "diff", "Compare two parameter files: the report parameters that differ, then other bytes");
  struct Options {
    std::string a, b;
  };
  auto options = std::make_shared<Options>();
  cmd->add_option("A", options->a, "The first parameter file")->required();
  cmd->add_option("B", options->b, "The second parameter file")->required();
  cmd->footer(
      "Each file is shown as the window shows it after opening it. First the report parameters "
      "(the names of\n`show --json`, then coding_version and time) whose texts differ, side by "
      "side; then, by address,\nthe differing bytes whose difference the window does not show: "
      "areas it never shows, bits it\nignores, a channel's fields while it is off, packet "
      "headers. Exit status 1 when the files differ,\n0 when they are the same.");
  cmd->callback([options] {
    const Workspace a = open_or_fail(options->a);
    const Workspace b = open_or_fail(options->b);
    const Image_comparison c = compare_images(a.image, b.image);
    if (c.same()) return;
    std::cout << difference_listing(c, options->a, options->b);
    throw Command_failed(exit_differs, "");
  });
}

}  // namespace tirna::cli
