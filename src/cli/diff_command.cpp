// diff: two parameter files as the window shows them, then the bytes it does not show.

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>
#include <sstream>

#include "cli/cli_text.h"
#include "cli/commands.h"
#include "core/report/image_compare.h"

namespace tirna::cli {
namespace {

std::string hex_byte(uint8_t b) {
  char buf[4];
  std::snprintf(buf, sizeof buf, "%02X", b);
  return buf;
}

std::string byte_place(const Byte_difference& d) {
  char buf[48];
  if (d.header()) {
    std::snprintf(buf, sizeof buf, "packet %d header byte %d", d.packet, d.index);
  } else {
    std::snprintf(buf, sizeof buf, "0x%03X", d.address());
  }
  return buf;
}

std::string difference_listing(const Image_comparison& c, const std::string& a,
                               const std::string& b) {
  std::ostringstream out;
  if (!c.parameters.empty()) {
    std::size_t name_width = display_width("parameter");
    std::size_t a_width = display_width(a);
    for (const auto& p : c.parameters) {
      name_width = std::max(name_width, display_width(p.name));
      a_width = std::max(a_width, display_width(in_quotes(p.a)));
    }
    out << padded("parameter", name_width + 2) << padded(a, a_width + 2) << b << '\n';
    for (const auto& p : c.parameters) {
      out << padded(p.name, name_width + 2) << padded(in_quotes(p.a), a_width + 2) << in_quotes(p.b)
          << '\n';
    }
  }
  if (!c.bytes.empty()) {
    if (!c.parameters.empty()) out << '\n';
    out << "bytes the window does not show:\n";
    std::size_t place_width = display_width("address");
    for (const auto& d : c.bytes) place_width = std::max(place_width, byte_place(d).size());
    const std::size_t a_width = std::max<std::size_t>(display_width(a), 2);
    out << padded("address", place_width + 2) << padded(a, a_width + 2) << b << '\n';
    for (const auto& d : c.bytes) {
      out << padded(byte_place(d), place_width + 2) << padded(hex_byte(d.a), a_width + 2)
          << hex_byte(d.b) << '\n';
    }
  }
  return out.str();
}

}  // namespace

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
