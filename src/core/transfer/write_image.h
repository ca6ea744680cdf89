#pragma once
// The write command: channels, settings, identification block and the programming time (38
// packets) to a radio of the image's band, in the radio's frequency coding.

#include "core/image/workspace.h"
#include "core/link/handshake.h"
#include "core/pages/extra_data.h"
#include "core/transfer/transfer_result.h"
#include "core/transfer/transfer_view.h"

namespace tirna {

// Changes the image as the write does (bits 0-1 of 0x2BC, the coding, the version byte, the time
// stamp) and keeps those changes whatever the ending. Refuses an image whose packets to be sent do
// not carry their own headers, before the port is opened. Shows its own messages; the port is
// closed on every way out.
Transfer_result write_parameter_image(Workspace& ws, Link_session& session, Transfer_view& view,
                                      const Clock& local_time = system_local_time);

}  // namespace tirna
