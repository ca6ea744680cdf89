#pragma once
// What the main window owns for the whole run: the image, its working state and the name of the
// parameter file the image belongs to (empty when none).

#include <string>

#include "core/image/param_image.h"
#include "core/image/working_state.h"

namespace tirna {

struct Workspace {
  Param_image image;
  Working_state state;
  std::string file_name;
};

// Start-up: working state as at start, the default image, no file.
inline Workspace start_up_workspace() {
  Workspace ws;
  new_blok(ws.image, ws.state.band_index, ws.state.coding_version);
  return ws;
}

}  // namespace tirna
