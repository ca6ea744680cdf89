#pragma once
// The read-back check: does the radio's memory hold what a write sends? Only the 38 packets a write
// sends count; the rest of the radio's memory (model text, factory number, free text, unused areas)
// is the radio's own and no write changes it.

#include <cstdint>

#include "core/image/workspace.h"
#include "core/compare/image_compare.h"

namespace tirna {

// Whether the date and time of the last programming (0x3C0-0x3CD) take part: every write stamps
// them anew, so only a check that knows the stamp sent can compare them.
enum class Time_stamp { compared, ignored };

// The image that a write of ws to a radio of version radio_version sends, apart from the time
// stamp: bits 0-1 of 0x2BC cleared, the channel records in the radio's coding, the version byte the
// radio's version. Made by the write's own steps, so the check and the write cannot disagree.
Param_image image_as_written(Workspace ws, uint8_t radio_version);

// The differences between what a write sends (`sent`) and the radio's memory (`radio`) in the
// packets the write sends, as compare_images reports them (a: sent, b: radio): the report
// parameters that differ, then the bytes the window does not show, headers included.
Image_comparison compare_with_radio(const Param_image& sent, const Param_image& radio,
                                    Time_stamp time);

}  // namespace tirna
