#pragma once
// The one edit operation of the window's pages: what the user does to a box, a cell or a settings
// list, made by the rules of its page (the squelch-key / power-selection linkage included), with
// the modified flag where those rules set it, and ended by the one refresh. The window's handlers
// and `tirna520-cli set` both make their edits through it.

#include "core/channels/channel_edits.h"
#include "core/channels/window_view.h"
#include "core/image/workspace.h"

namespace tirna {

struct Edit {
  enum Kind {
    box_focus,     // the input focus entered one of the 32 boxes: sets the modified flag only
    box_toggle,    // box `number` (1..16 "Канал выключен", 21..36 "Запрет передачи") ticked or not
    cell_click,    // a mouse click on cell (column `number`, row `row`)
    setting_pick,  // item `item` picked in the settings list of slot `number`
  };
  Kind kind = box_focus;
  int number = 0;
  int row = 0;
  int item = 0;  // box_toggle: 1 ticked, 0 cleared

  static Edit focus() { return {box_focus, 0, 0, 0}; }
  static Edit toggle(int box, bool ticked) { return {box_toggle, box, 0, ticked ? 1 : 0}; }
  static Edit click(int column, int row) { return {cell_click, column, row, 0}; }
  static Edit pick(int slot, int item) { return {setting_pick, slot, 0, item}; }
};

// What an edit needs of the window it is made in: the two entry dialogs a cell click opens, and
// the refresh that draws the pages from the image.
class Edit_host : public Cell_dialogs {
 public:
  virtual void print_wind_blok() = 0;
};

// Makes the edit on the workspace, given what the window shows now (the squelch-key list's form
// and selection decide a power-selection pick), then refreshes through the host. A click on the
// row labels (column 0) does nothing at all.
void apply_edit(Workspace& ws, const Window_view& shown, const Edit& edit, Edit_host& host);

}  // namespace tirna
