#include "core/channels/channel_edits.h"

#include "core/channels/window_view.h"

namespace tirna {

void toggle_channel_off(Param_image& image, int n, bool ticked) {
  set_channel_in_use(image, n, !ticked);
}

void toggle_tx_inhibit(Param_image& image, int n, bool ticked) {
  set_tx_allowed(image, n, !ticked);
}

namespace {

bool transmit_column(int column) {
  return column == 3 || column == 4 || column == 5 || column == 8;
}

}  // namespace

Cell_block cell_block(const Param_image& image, int column, int n) {
  if (!channel_in_use(image, n)) return Cell_block::channel_off;
  if (transmit_column(column) && !tx_allowed(image, n)) return Cell_block::tx_inhibited;
  return Cell_block::none;
}

void click_cell(Param_image& image, Working_state& state, int column, int row,
                Cell_dialogs& dialogs) {
  if (column < 1 || column > 8 || row < 0 || row >= channel_count) return;
  state.modified = true;
  const int n = row + 1;
  if (cell_block(image, column, n) != Cell_block::none) return;
  switch (column) {
    case 1:
      dialogs.in_frq(n, Side::rx);
      return;
    case 2:
      dialogs.in_tone(n, Side::rx);
      return;
    case 3:
      dialogs.in_frq(n, Side::tx);
      return;
    case 4:
      dialogs.in_tone(n, Side::tx);
      return;
    default:
      toggle_channel_flag(image, n, flag_column(column).flag);
      return;
  }
}

}  // namespace tirna
