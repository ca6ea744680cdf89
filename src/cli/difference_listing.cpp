#include "cli/difference_listing.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "cli/cli_text.h"

namespace tirna::cli {
namespace {

std::string byte_place(const Byte_difference& d) {
  char buf[48];
  if (d.header()) {
    std::snprintf(buf, sizeof buf, "packet %d header byte %d", d.packet, d.index);
  } else {
    std::snprintf(buf, sizeof buf, "0x%03X", d.address());
  }
  return buf;
}

}  // namespace

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

}  // namespace tirna::cli
