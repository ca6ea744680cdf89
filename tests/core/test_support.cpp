#include "test_support.h"

#include <cstdlib>
#include <filesystem>
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

std::string temp_folder() {
  namespace fs = std::filesystem;
  std::string pattern = (fs::temp_directory_path() / "tirna-test-XXXXXX").string();
  const char* made = ::mkdtemp(pattern.data());
  if (made == nullptr) std::abort();
  static std::vector<std::string> made_folders;
  static const struct Cleanup {
    ~Cleanup() {
      for (const auto& f : made_folders) {
        std::error_code ec;
        fs::permissions(f, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(f, ec);
      }
    }
  } cleanup;
  made_folders.push_back(made);
  return made;
}

void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace tirna::test
