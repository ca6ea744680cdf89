#pragma once
// Parameter files (*.tn5): the 128 packets of the image, 12 bytes each, 1536 bytes, nothing else.

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "core/image/param_image.h"

namespace tirna {

inline constexpr int param_file_size = packet_count * packet_size;  // 1536

// The file errors the file commands report, with the text the error box shows.
struct Io_error {
  enum Kind {
    file_not_found,
    invalid_filename,
    too_many_open_files,
    access_denied,
    read_beyond_end,
    disk_full,
    other,
  };
  Kind kind = other;
  int code = 0;  // the system's error number, for "I/O error %d"
  std::string text() const;
  static Io_error from_errno(int err);
};

// Reads the first 1536 bytes of a file; bytes past them are ignored. Nothing is validated.
std::variant<Param_image, Io_error> load_image(const std::string& path);

// Writes the 1536 bytes so that the previous file survives any failure: a temporary file in the
// same folder, flushed to disk, then renamed over the target (which keeps its permissions). A
// target the user may not write gives access_denied, as a write in place would.
std::optional<Io_error> save_image(const std::string& path, const Param_image& image);

// Writes the 1536 bytes to a new file at path, complete or not at all, and never in place of an
// existing file: `exists` then, and nothing is written.
enum class Save_new { saved, exists };
std::variant<Save_new, Io_error> save_new_image(const std::string& path, const Param_image& image);

// The file bytes of an image, and the image of 1536 (or more) bytes.
std::string image_file_bytes(const Param_image& image);
Param_image image_from_file_bytes(const uint8_t* bytes);  // reads exactly 1536 bytes

namespace testing_hooks {
// Replaces write(2) for save_image; for tests of a full disk. nullptr restores write(2).
using Write_fn = long (*)(int fd, const void* data, unsigned long size);
void set_write_function(Write_fn fn);
}  // namespace testing_hooks

}  // namespace tirna
