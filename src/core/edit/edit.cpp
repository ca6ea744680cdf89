#include "core/edit/edit.h"

#include "core/pages/settings.h"

namespace tirna {

void apply_edit(Workspace& ws, const Window_view& shown, const Edit& edit, Edit_host& host) {
  switch (edit.kind) {
    case Edit::box_focus:
      ws.state.modified = true;
      return;  // nothing to redraw
    case Edit::box_toggle:
      // The toggle itself does not set the modified flag: the focus entering the box did.
      if (edit.number <= channel_count) {
        toggle_channel_off(ws.image, edit.number, edit.item != 0);
      } else {
        toggle_tx_inhibit(ws.image, edit.number - 20, edit.item != 0);
      }
      break;
    case Edit::cell_click:
      if (edit.number == 0) return;  // the row labels
      click_cell(ws.image, ws.state, edit.number, edit.row, host);
      break;
    case Edit::setting_pick:
      ws.state.modified = true;
      if (edit.number == power_select_slot) {
        power_select_change(ws.image, shown.settings.squelch_form,
                            shown.settings.selection[squelch_key_slot], edit.item);
      } else {
        write_setting(ws.image, edit.number, edit.item);  // the squelch key by its form
      }
      break;
  }
  host.print_wind_blok();
}

}  // namespace tirna
