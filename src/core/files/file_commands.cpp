#include "core/files/file_commands.h"

#include "core/image/frequency.h"

namespace tirna {

void new_parameter_image(Workspace& ws) {
  new_blok(ws.image, ws.state.band_index, ws.state.coding_version);
  ws.file_name.clear();
}

int band_index_of(const Param_image& image) {
  return image.byte(mem::band_code) == 0 ? 0 : 1;
}

uint8_t coding_version_of(const Param_image& image) {
  return image.byte(mem::version_byte);
}

std::optional<Io_error> open_parameter_file(const File_store& files, Workspace& ws,
                                            const std::string& path) {
  auto loaded = load_image(files, path);
  if (auto* error = std::get_if<Io_error>(&loaded)) return *error;
  ws.image = std::get<Param_image>(loaded);
  ws.state.coding_version = coding_version_of(ws.image);
  frq_set(ws.state, band_index_of(ws.image));
  ws.file_name = path;
  return std::nullopt;
}

std::optional<Io_error> save_parameter_file(const File_store& files, Workspace& ws,
                                            const std::string& path) {
  if (auto error = save_image(files, path, ws.image)) return error;
  ws.file_name = path;
  ws.state.modified = false;
  return std::nullopt;
}

void change_band(Workspace& ws, int band_index) {
  frq_set(ws.state, band_index);
  new_parameter_image(ws);
}

}  // namespace tirna
