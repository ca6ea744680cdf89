#include "core/channels/channel_edits.h"

namespace tirna {

void toggle_channel_off(Param_image& image, int n, bool ticked) {
  set_channel_in_use(image, n, !ticked);
}

void toggle_tx_inhibit(Param_image& image, int n, bool ticked) {
  set_tx_allowed(image, n, !ticked);
}

void click_cell(Param_image& image, Working_state& state, int column, int row,
                Cell_dialogs& dialogs) {
  if (column < 1 || column > 8 || row < 0 || row >= channel_count) return;
  state.modified = true;
  const int n = row + 1;
  if (!channel_in_use(image, n)) return;
  switch (column) {
    case 1:
      dialogs.in_frq(n, Side::rx);
      return;
    case 2:
      dialogs.in_tone(n, Side::rx);
      return;
    case 6:
      toggle_channel_flag(image, n, Channel_flag::narrow);
      return;
    case 7:
      toggle_channel_flag(image, n, Channel_flag::no_scan);
      return;
    default:
      break;
  }
  if (!tx_allowed(image, n)) return;
  switch (column) {
    case 3:
      dialogs.in_frq(n, Side::tx);
      return;
    case 4:
      dialogs.in_tone(n, Side::tx);
      return;
    case 5:
      toggle_channel_flag(image, n, Channel_flag::low_power);
      return;
    case 8:
      toggle_channel_flag(image, n, Channel_flag::busy_lockout);
      return;
  }
}

}  // namespace tirna
