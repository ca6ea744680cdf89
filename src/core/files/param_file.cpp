#include "core/files/param_file.h"

#include <cstring>

namespace tirna {

std::string image_file_bytes(const Param_image& image) {
  std::string bytes;
  bytes.reserve(param_file_size);
  for (int k = 1; k <= packet_count; ++k) {
    const Packet& p = image.packet(k);
    bytes.append(reinterpret_cast<const char*>(p.data()), p.size());
  }
  return bytes;
}

Param_image image_from_file_bytes(const uint8_t* bytes) {
  Param_image image;
  for (int k = 1; k <= packet_count; ++k) {
    Packet p;
    std::memcpy(p.data(), bytes + packet_size * (k - 1), packet_size);
    image.set_packet(k, p);
  }
  return image;
}

std::variant<Param_image, Io_error> load_image(const File_store& files, const std::string& path) {
  auto read = files.read(path, param_file_size, Beyond_limit::ignore);
  if (auto* error = std::get_if<Io_error>(&read)) return *error;
  const std::string& bytes = std::get<std::string>(read);
  if (bytes.size() < param_file_size) return Io_error{Io_error::read_beyond_end, 100};
  return image_from_file_bytes(reinterpret_cast<const uint8_t*>(bytes.data()));
}

std::optional<Io_error> save_image(const File_store& files, const std::string& path,
                                   const Param_image& image) {
  return files.save(path, image_file_bytes(image));
}

std::variant<Save_new, Io_error> save_new_image(const File_store& files, const std::string& path,
                                                const Param_image& image) {
  return files.save_new(path, image_file_bytes(image));
}

}  // namespace tirna
