#pragma once
// Edits of the channel table. Each changes the image (and the modified flag where the table's
// rules say so); the caller then refreshes with print_wind_blok.

#include "core/image/channel_record.h"

namespace tirna {

// The dialogs a cell click can open (in_frq and in_tone of the window).
class Cell_dialogs {
 public:
  virtual ~Cell_dialogs() = default;
  virtual void in_frq(int n, Side side) = 0;
  virtual void in_tone(int n, Side side) = 0;
};

// Box n ("Канал выключен") and box 20+n ("Запрет передачи") toggled by the user.
void toggle_channel_off(Param_image& image, int n, bool ticked);
void toggle_tx_inhibit(Param_image& image, int n, bool ticked);

// Why a click on a cell would change nothing: the channel is off, or the column belongs to the
// transmitter (3, 4, 5, 8) and transmission is inhibited.
enum class Cell_block { none, channel_off, tx_inhibited };
Cell_block cell_block(const Param_image& image, int column, int n);

// A mouse click on cell (column 1..8, row 0..15): sets the modified flag, then acts by column when
// the channel is in use (and, for the transmit columns 3, 4, 5 and 8, may transmit). Column 0
// does nothing.
void click_cell(Param_image& image, Working_state& state, int column, int row,
                Cell_dialogs& dialogs);

}  // namespace tirna
