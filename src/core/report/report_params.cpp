#include "core/report/report_params.h"

#include "core/image/frequency.h"

namespace tirna {

std::vector<Report_parameter> report_parameters(const Window_view& view,
                                                std::string_view memo_text) {
  static constexpr const char* cell_names[] = {"f_rx", "st_rx", "f_tx", "st_tx",
                                               "pow",  "band",  "skan", "busy"};
  std::vector<Report_parameter> params;
  params.reserve(report_parameter_count);
  params.push_back({"model", view.extra.model});
  params.push_back({"nomer", view.extra.factory_number});
  params.push_back({"frq", band_text(view.band_selector)});
  for (int n = 1; n <= channel_count; ++n) {
    const Channel_row_view& row = view.rows[n - 1];
    const std::string suffix = std::to_string(n);
    params.push_back({"no_kan" + suffix, row.off_ticked ? "V" : ""});
    params.push_back({"no_tx" + suffix, row.tx_inhibit_ticked ? "V" : ""});
    for (int c = 1; c < table_columns; ++c) {
      params.push_back({cell_names[c - 1] + suffix, row.cells[c]});
    }
  }
  params.push_back({"memo1", std::string(memo_text)});
  for (int slot = 0; slot < settings_count; ++slot) {
    params.push_back({"osn" + std::to_string(slot + 1), view.settings.text(slot)});
  }
  return params;
}

}  // namespace tirna
