#pragma once
// What `show` prints: the window's shown state as a readable listing or as one JSON object.

#include <string>

#include "core/channels/window_view.h"
#include "core/image/workspace.h"

namespace tirna::cli {

// The view a freshly started window shows after the workspace was opened into it.
Window_view fresh_window_view(const Workspace& ws);

std::string show_listing(const Workspace& ws, const Window_view& view);
// The 178 report parameters, then band_index, coding_version and time.
std::string show_json(const Workspace& ws, const Window_view& view);

}  // namespace tirna::cli
