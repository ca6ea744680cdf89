#pragma once
// One edit of several channels at once (the table's "Изменить каналы..."): each field is either
// left as each channel has it or set on every selected channel. It is made of the assignments
// `set` takes (by the report names), so that the same rules and the check of every channel apply.
// Channels that are off take no edit, as in the window, and the transmitter's fields of an
// inhibited transmitter neither (unless the edit itself allows transmission).

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/image/param_image.h"

namespace tirna {

struct Bulk_channel_edit {
  std::optional<bool> tx_inhibited;  // the box "Запрет передачи"
  // The flag columns 5 (power) to 8 (busy lock-out): true for the cell's text of a set bit
  // ("  Понижен.", "  12,5 кГц", "  Выключен", "   Включен"), false for the other.
  std::array<std::optional<bool>, 4> flags;
  std::optional<std::string> rx_subtone, tx_subtone;  // as the table shows a sub-tone
  bool empty() const;
};

// The assignments that make the edit on the channels (1..16), the transmit-inhibit box of each
// first.
std::vector<std::pair<std::string, std::string>> bulk_assignments(
    const Param_image& image, const std::vector<int>& channels, const Bulk_channel_edit& edit);

}  // namespace tirna
