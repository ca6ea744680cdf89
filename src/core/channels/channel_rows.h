#pragma once
// Rearranging the channel table as a shop does every day: moving the selected channels up or down,
// inserting an empty channel, deleting channels, sorting the channels in use by receive
// frequency. A channel moves as its whole 16-byte record, so that nothing of it (bits no control
// shows included) is lost or mixed with another's. Each is one change of the image; the caller
// records it for undo and sets the modified flag.

#include <cstdint>
#include <vector>

#include "core/image/channel_record.h"

namespace tirna {

// The record of an empty channel: the default channel of the image's band and coding, switched
// off.
Channel_record_bytes empty_channel(const Param_image& image, uint8_t coding_version);

// Moves each selected channel (1..16) one place up (by -1) or down (+1), past the channel next to
// it; a block of selected channels moves together, and one already at the end stays. The
// selection afterwards.
std::vector<int> move_channels(Param_image& image, std::vector<int> selected, int by);

// Inserts an empty channel at channel n: n..15 shift down one place and channel 16 is dropped.
void insert_empty_channel(Param_image& image, int n, uint8_t coding_version);

// Deletes the selected channels: the ones after them shift up, and the last places get empty
// channels.
void delete_channels(Param_image& image, std::vector<int> selected, uint8_t coding_version);

// Sorts the channels in use by receive frequency (channels of one frequency keep their order) into
// the places the channels in use take; channels that are off keep theirs.
void sort_channels_by_receive_frequency(Param_image& image, uint8_t coding_version);

}  // namespace tirna
