#pragma once
// The file commands on the workspace, without dialogs: New, Open, Save (as), and the confirmed
// band change, which rebuilds the image like New.

#include <optional>
#include <string>

#include "core/files/param_file.h"
#include "core/image/workspace.h"

namespace tirna {

// New (answered Yes): the default image for the selected band and current coding, no file name.
void new_parameter_image(Workspace& ws);

// Open: reads the file into a scratch image and takes it over only when complete; then the band
// index (0x2D2: zero gives 0, anything else 1), the coding version (0x2D1), frq_set and the file
// name. On an error nothing changes.
std::optional<Io_error> open_parameter_file(const File_store& files, Workspace& ws,
                                            const std::string& path);

// Save / Save as: writes the image to path; on success the file name becomes path and the modified
// flag is cleared. On an error nothing changes.
std::optional<Io_error> save_parameter_file(const File_store& files, Workspace& ws,
                                            const std::string& path);

// The band selector picked a band other than the current one and the user confirmed: frq_set,
// then the default image for the new band in the current coding, no file name.
void change_band(Workspace& ws, int band_index);

// Band index and coding version as an opened file gives them.
int band_index_of(const Param_image& image);
uint8_t coding_version_of(const Param_image& image);

}  // namespace tirna
