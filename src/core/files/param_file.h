#pragma once
// Parameter files (*.tn5): the 128 packets of the image, 12 bytes each, 1536 bytes, nothing else.

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "core/files/file_store.h"
#include "core/files/io_error.h"
#include "core/image/param_image.h"

namespace tirna {

inline constexpr int param_file_size = packet_count * packet_size;  // 1536

// Reads the first 1536 bytes of a regular file; bytes past them are ignored. Nothing is validated.
std::variant<Param_image, Io_error> load_image(const File_store& files, const std::string& path);

// Writes the 1536 bytes by the store's save: the previous file survives any failure.
std::optional<Io_error> save_image(const File_store& files, const std::string& path,
                                   const Param_image& image);

// Writes the 1536 bytes to a new file at path, complete or not at all, and never in place of an
// existing file: `exists` then, and nothing is written.
std::variant<Save_new, Io_error> save_new_image(const File_store& files, const std::string& path,
                                                const Param_image& image);

// The file bytes of an image, and the image of 1536 (or more) bytes.
std::string image_file_bytes(const Param_image& image);
Param_image image_from_file_bytes(const uint8_t* bytes);  // reads exactly 1536 bytes

}  // namespace tirna
