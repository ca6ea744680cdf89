#pragma once
// The files the core reads and saves, as the machine keeps them: the core turns images and tables
// into bytes and back, and asks a File_store for the bytes of a path. The platform's store
// (platform/files/safe_file.h) reads without stalling or without bound, and saves so that no
// failure loses the old file; the core's tests keep their files in memory.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "core/files/io_error.h"

namespace tirna {

// What the program reads at most: a CSV table, a free text, config.ini.
inline constexpr std::size_t csv_size_limit = std::size_t{4} << 20;
inline constexpr std::size_t text_file_size_limit = std::size_t{16} << 10;
inline constexpr std::size_t config_size_limit = std::size_t{16} << 20;

// What to do with a file longer than the limit: refuse it (too_large) or read only its start.
enum class Beyond_limit { refuse, ignore };

// What an append adds to a file, given the file's bytes so far (empty for a new file).
using Append_text = std::function<std::string(std::string_view contents)>;

// How a save of a new file ended when it did not fail: saved, or a file of that name was there
// already (and nothing was written).
enum class Save_new { saved, exists };

class File_store {
 public:
  virtual ~File_store() = default;
  // The bytes of a regular file, at most limit of them (see Beyond_limit).
  virtual std::variant<std::string, Io_error> read(const std::string& path, std::size_t limit,
                                                   Beyond_limit beyond) const = 0;
  // Replaces the file at path (or makes it) with bytes; on failure the previous file is kept.
  virtual std::optional<Io_error> save(const std::string& path, std::string_view bytes) const = 0;
  // Makes a new file at path, complete or not at all, never in place of an existing one.
  virtual std::variant<Save_new, Io_error> save_new(const std::string& path,
                                                    std::string_view bytes) const = 0;
  // Appends to the file at path (made when missing) what `text` makes of its contents (at most
  // limit bytes of them), and puts it on the disk. Appenders take turns, in other processes too:
  // the file is locked from the reading of its contents until the appended bytes are synced, so
  // that what is appended follows exactly the contents it was made from.
  virtual std::optional<Io_error> append(const std::string& path, std::size_t limit,
                                         const Append_text& text) const = 0;
};

}  // namespace tirna
