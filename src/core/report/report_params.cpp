#include "core/report/report_params.h"

#include "core/image/frequency.h"

namespace tirna {

std::string shown_parameter_text(const Window_view& view, const Parameter& p, int number,
                                 std::string_view memo_text) {
  switch (p.kind) {
    case Parameter_kind::model:
      return view.extra.model;
    case Parameter_kind::factory_number:
      return view.extra.factory_number;
    case Parameter_kind::band:
      return band_text(view.band_selector);
    case Parameter_kind::channel_box: {
      const Channel_row_view& row = view.rows[number - 1];
      return (p.column == 0 ? row.off_ticked : row.tx_inhibit_ticked) ? "V" : "";
    }
    case Parameter_kind::channel_cell:
      return view.rows[number - 1].cells[p.column];
    case Parameter_kind::free_text:
      return std::string(memo_text);
    case Parameter_kind::setting:
      return view.settings.text(number - 1);
  }
  return "";
}

std::vector<Report_parameter> report_parameters(const Window_view& view,
                                                std::string_view memo_text) {
  std::vector<Report_parameter> params;
  params.reserve(report_parameter_count);
  bool channels_done = false;
  int slot = 0;
  for (const Parameter& p : catalogue) {
    switch (p.kind) {
      case Parameter_kind::channel_box:
      case Parameter_kind::channel_cell:
        // All channel parameters of channel 1, then of channel 2, ...
        if (channels_done) break;
        channels_done = true;
        for (int n = 1; n <= channel_count; ++n) {
          for (const Parameter* c : channel_parameters()) {
            params.push_back({std::string(c->name) + std::to_string(n),
                              shown_parameter_text(view, *c, n, memo_text)});
          }
        }
        break;
      case Parameter_kind::setting:
        ++slot;
        params.push_back({std::string(p.name), shown_parameter_text(view, p, slot, memo_text)});
        break;
      default:
        params.push_back({std::string(p.name), shown_parameter_text(view, p, 0, memo_text)});
        break;
    }
  }
  return params;
}

}  // namespace tirna
