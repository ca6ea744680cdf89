#pragma once
// Comparing two parameter images as the window shows them: the report parameters that differ,
// then the bytes whose difference the window does not show (areas it never shows, bits it
// ignores, packet headers).

#include <cstdint>
#include <string>
#include <vector>

#include "core/image/param_image.h"

namespace tirna {

struct Parameter_difference {
  std::string name;
  std::string a, b;  // UTF-8, as the report gets them
};

struct Byte_difference {
  int packet = 1;  // 1..128
  int index = 0;   // byte of the packet, 0..11; 0..3 are the header
  uint8_t a = 0, b = 0;
  bool header() const { return index < 4; }
  int address() const { return packet_address(packet) + index - 4; }  // data bytes only
};

struct Image_comparison {
  std::vector<Parameter_difference> parameters;
  std::vector<Byte_difference> bytes;
  bool same() const { return parameters.empty() && bytes.empty(); }
};

// What the window shows of an image opened from a file: the 178 report parameters, then
// coding_version and time (the additional-data page's label), as name and text.
std::vector<std::pair<std::string, std::string>> shown_parameters(const Param_image& image);

// Each image is shown as the window shows it after opening a file that holds it. A differing byte
// is listed unless putting it alone into each image changes what that image shows (so a byte that
// one of the two images does not show, such as the frequency of a channel that is off there, is
// listed); every differing header byte is listed.
Image_comparison compare_images(const Param_image& a, const Param_image& b);

}  // namespace tirna
