#pragma once
// Reading and writing the additional data: model text, factory number, free text and programming
// time. Neither looks at the band or the coding version.

#include <array>
#include <string_view>

#include "core/image/workspace.h"
#include "core/link/handshake.h"
#include "core/pages/extra_data.h"
#include "core/transfer/transfer_result.h"
#include "core/transfer/transfer_view.h"

namespace tirna {

// The packets each transfer moves, in order.
inline constexpr std::array<int, 29> extra_read_packets = {
    93,  89,  90,  97,  98,  99,  100, 101, 102, 103, 104, 105, 106, 107, 108,
    109, 110, 111, 112, 113, 114, 115, 116, 117, 118, 119, 120, 121, 122};
inline constexpr std::array<int, 26> extra_write_packets = {
    97,  98,  99,  100, 101, 102, 103, 104, 105, 106, 107, 108, 109,
    110, 111, 112, 113, 114, 115, 116, 117, 118, 119, 120, 121, 122};

// Packets 93, 89, 90 and 97-122 into the image, taken over only when all have arrived. No message
// on success; the port is closed on every way out.
Transfer_result read_additional_data(Workspace& ws, Link_session& session, Transfer_view& view);

// The free text (code-page-1251 bytes, CR LF line breaks) and the current time into packets
// 97-122, which are then sent. Refuses an image whose packets 97-122 do not carry their own
// headers, before the port is opened. No message on success.
Transfer_result write_additional_data(Workspace& ws, Link_session& session, Transfer_view& view,
                                      std::string_view cp1251_text,
                                      const Clock& local_time = system_local_time);

}  // namespace tirna
