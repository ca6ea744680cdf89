#include "test_support.h"

#include <fstream>
#include <sstream>

namespace tirna::test {

std::vector<uint8_t> hex(const std::string& text) {
  std::vector<uint8_t> out;
  std::istringstream in(text);
  std::string word;
  while (in >> word) out.push_back(static_cast<uint8_t>(std::stoi(word, nullptr, 16)));
  return out;
}

std::vector<uint8_t> memory(const Param_image& image, int from, int count) {
  std::vector<uint8_t> out;
  for (int a = from; a < from + count; ++a) out.push_back(image.byte(a));
  return out;
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace tirna::test
