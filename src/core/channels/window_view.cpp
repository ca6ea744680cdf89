#include "core/channels/window_view.h"

#include "core/image/frequency.h"
#include "core/image/subtone.h"
#include "core/pages/extra_data.h"

namespace tirna {

const Flag_column& flag_column(int column) {
  // Column 7 reads the other way round from column 8: a set bit means "not scanned".
  static const std::array<Flag_column, 4> columns = {{
      {5, Channel_flag::low_power, "  Понижен.", "  Повышен.", true},
      {6, Channel_flag::narrow, "  12,5 кГц", "   25 кГц", false},
      {7, Channel_flag::no_scan, "  Выключен", "   Включен", false},
      {8, Channel_flag::busy_lockout, "   Включен", "  Выключен", true},
  }};
  return columns[column - 5];
}

std::string channel_label(int n) {
  return (n < 10 ? " " : "") + std::to_string(n);
}

Window_view::Window_view() {
  for (int n = 1; n <= channel_count; ++n) rows[n - 1].cells[0] = channel_label(n);
}

void refresh_channel_row(Channel_row_view& row, const Param_image& image, int n,
                         uint8_t coding_version) {
  // pr_kan_en
  const bool in_use = channel_in_use(image, n);
  row.off_ticked = !in_use;
  row.tx_box_enabled = in_use;
  if (!in_use) {
    for (int c = 1; c < table_columns; ++c) row.cells[c].clear();
    return;
  }
  row.cells[1] = blok_to_frq_str(image, n, Side::rx, coding_version);
  row.cells[2] = blok_to_stone_str(image, n, Side::rx);
  // pr_tx_en
  const bool tx = tx_allowed(image, n);
  row.tx_inhibit_ticked = !tx;
  if (tx) {
    row.cells[3] = blok_to_frq_str(image, n, Side::tx, coding_version);
    row.cells[4] = blok_to_stone_str(image, n, Side::tx);
  } else {
    for (int c : {3, 4, 5, 8}) row.cells[c].clear();
  }
  for (int c = 5; c <= 8; ++c) {
    const Flag_column& f = flag_column(c);
    if (f.transmit && !tx) continue;
    row.cells[c] = channel_flag(image, n, f.flag) ? f.set_text : f.clear_text;
  }
}

void print_wind_blok(Window_view& view, const Param_image& image, const Working_state& state) {
  for (int n = 1; n <= channel_count; ++n) {
    refresh_channel_row(view.rows[n - 1], image, n, state.coding_version);
  }
  view.band_selector = state.band_index;

  view.settings.squelch_form = squelch_form_for(image);
  for (int slot = 0; slot < settings_count; ++slot) {
    view.settings.selection[slot] = read_setting(image, slot);
  }

  view.extra.factory_number = factory_number_label(image);
  view.extra.time = time_label(image);
  view.extra.free_text = free_text(image);
  view.extra.model = model_label(image);
}

}  // namespace tirna
