#include "core/edit/bulk_edit.h"

#include "core/catalogue/catalogue.h"
#include "core/channels/window_view.h"

namespace tirna {
namespace {

// The report name of the cell of table column c (1..8), or of the box (0 off, 1 transmit).
std::string cell_name(Parameter_kind kind, int column, int n) {
  for (const Parameter* p : channel_parameters()) {
    if (p->kind == kind && p->column == column) return std::string(p->name) + std::to_string(n);
  }
  return {};
}

}  // namespace

bool Bulk_channel_edit::empty() const {
  for (const auto& f : flags) {
    if (f) return false;
  }
  return !tx_inhibited && !rx_subtone && !tx_subtone;
}

std::vector<std::pair<std::string, std::string>> bulk_assignments(
    const Param_image& image, const std::vector<int>& channels, const Bulk_channel_edit& edit) {
  std::vector<std::pair<std::string, std::string>> out;
  for (const int n : channels) {
    if (n < 1 || n > channel_count || !channel_in_use(image, n)) continue;
    bool transmits = tx_allowed(image, n);
    if (edit.tx_inhibited) {
      out.emplace_back(cell_name(Parameter_kind::channel_box, 1, n), *edit.tx_inhibited ? "V" : "");
      transmits = !*edit.tx_inhibited;
    }
    for (int column = 5; column <= 8; ++column) {
      const auto& wanted = edit.flags[column - 5];
      const Flag_column& f = flag_column(column);
      if (!wanted || (f.transmit && !transmits)) continue;
      out.emplace_back(cell_name(Parameter_kind::channel_cell, column, n),
                       std::string(*wanted ? f.set_text : f.clear_text));
    }
    if (edit.rx_subtone) {
      out.emplace_back(cell_name(Parameter_kind::channel_cell, 2, n), *edit.rx_subtone);
    }
    if (edit.tx_subtone && transmits) {
      out.emplace_back(cell_name(Parameter_kind::channel_cell, 4, n), *edit.tx_subtone);
    }
  }
  return out;
}

}  // namespace tirna
