#pragma once
// Helpers shared by the core tests.

#include <string>
#include <vector>

#include "core/image/param_image.h"

namespace tirna::test {

// "00 64 0C" -> bytes.
std::vector<uint8_t> hex(const std::string& text);

// The bytes of addresses [from, from + count).
std::vector<uint8_t> memory(const Param_image& image, int from, int count);

// A file from outside as it is (CHIRP's tables in tests/data).
std::string read_file(const std::string& path);

}  // namespace tirna::test
