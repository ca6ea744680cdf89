#pragma once
// The write command: channels, settings, identification block and the programming time (38
// packets) to a radio of the image's band, in the radio's frequency coding.

#include <optional>

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

// The steps of the write that change the image before it is sent, for whoever needs to know what a
// write sends (the read-back check) without sending it.

// Bits 0-1 of the settings byte 0x2BC are 0 afterwards: no control sets them, every write clears
// them before anything else.
void clear_bits_cleared_by_write(Param_image& image);
// Why the image may not be written to any radio, before one is asked: packets to be written that
// carry the header of another address (corrupt_headers), or channels that fail the check of every
// channel (refused_channels, the message naming them). Nothing when it may.
struct Write_refusal {
  Link_status status;
  Message message;
};
std::optional<Write_refusal> write_refusal(const Param_image& image, uint8_t coding_version);

// True when the radio's band code (identification byte 5) is one of the two bands and the image's
// (0x2D2).
bool radio_fits_band(const Radio_identification& radio, const Param_image& image);
// The channel records are in the coding of radio_version and the coding version and version byte
// are radio_version afterwards (nothing changes when both are the same new-coding version).
void adopt_radio_coding(Workspace& ws, uint8_t radio_version);

}  // namespace tirna
