#pragma once
// The 178 named report parameters, taken from what the window shows: model, nomer, frq; ten per
// channel (no_kanN, no_txN, f_rxN, st_rxN, f_txN, st_txN, powN, bandN, skanN, busyN); memo1;
// osn1..osn14.

#include <string>
#include <string_view>
#include <vector>

#include "core/channels/window_view.h"

namespace tirna {

inline constexpr int report_parameter_count = 178;

struct Report_parameter {
  std::string name;
  std::string text;  // UTF-8; memo1 with "\n" line breaks
};

// memo_text is the free-text box as it stands, which may hold typing not yet in the image.
std::vector<Report_parameter> report_parameters(const Window_view& view,
                                                std::string_view memo_text);

// The same for a window whose box shows the image's free text.
inline std::vector<Report_parameter> report_parameters(const Window_view& view) {
  return report_parameters(view, view.extra.free_text);
}

}  // namespace tirna
