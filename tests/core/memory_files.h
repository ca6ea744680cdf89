#pragma once
// Files kept in memory, for the core's tests of what it reads and saves: no disk, the same on
// every system. The file layer's own rules are tested on a real disk in tests/platform.

#include <cerrno>
#include <map>

#include "core/files/file_store.h"

namespace tirna::test {

class Memory_files : public File_store {
 public:
  mutable std::map<std::string, std::string> files;
  std::optional<Io_error> failure;  // while set, every read and save fails with it

  std::variant<std::string, Io_error> read(const std::string& path, std::size_t limit,
                                           Beyond_limit beyond) const override {
    if (failure) return *failure;
    const auto it = files.find(path);
    if (it == files.end()) return Io_error{Io_error::file_not_found, ENOENT};
    if (it->second.size() > limit && beyond == Beyond_limit::refuse) {
      return Io_error{Io_error::too_large, EFBIG};
    }
    return it->second.substr(0, limit);
  }
  std::optional<Io_error> save(const std::string& path, std::string_view bytes) const override {
    if (failure) return failure;
    files[path] = bytes;
    return std::nullopt;
  }
  std::variant<Save_new, Io_error> save_new(const std::string& path,
                                            std::string_view bytes) const override {
    if (failure) return *failure;
    return files.emplace(path, bytes).second ? Save_new::saved : Save_new::exists;
  }
  std::optional<Io_error> append(const std::string& path, std::size_t limit,
                                 const Append_text& text) const override {
    if (failure) return failure;
    std::string& file = files[path];
    if (file.size() > limit) return Io_error{Io_error::too_large, EFBIG};
    file += text(file);
    return std::nullopt;
  }
};

}  // namespace tirna::test
