#pragma once
// The read command: all 128 packets of the radio's memory into the image.

#include "core/image/workspace.h"
#include "core/link/handshake.h"
#include "core/transfer/transfer_result.h"
#include "core/transfer/transfer_view.h"

namespace tirna {

// On success the image, band index, band limits and coding version come from the radio and the
// file name is emptied. On any failure the workspace is exactly as it was: the packets are read
// into a scratch image. Shows its own messages; the port is closed on every way out.
Transfer_result read_parameter_image(Workspace& ws, Link_session& session, Transfer_view& view);

// The same read into a workspace of its own, for a comparison with the radio: no success message
// and no refresh, so that the window keeps showing its own image. Its failure says what the
// read's failure says.
Transfer_result read_radio_image(Workspace& radio, Link_session& session, Transfer_view& view);

}  // namespace tirna
