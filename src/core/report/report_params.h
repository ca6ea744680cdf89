#pragma once
// The named report parameters, taken from what the window shows, in the catalogue's order: model,
// nomer, frq; the channel parameters for each channel (no_kanN, no_txN, f_rxN, st_rxN, f_txN,
// st_txN, powN, bandN, skanN, busyN); memo1; osn1..osn14. Their count is report_parameter_count.

#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/channels/window_view.h"

namespace tirna {

struct Report_parameter {
  std::string name;
  std::string text;  // UTF-8; memo1 with "\n" line breaks
};

// The text the window shows for a parameter: of channel n for the channel parameters, of the
// setting's slot for the settings (number 1..14); memo_text for the free text.
std::string shown_parameter_text(const Window_view& view, const Parameter& p, int number,
                                 std::string_view memo_text);

// memo_text is the free-text box as it stands, which may hold typing not yet in the image.
std::vector<Report_parameter> report_parameters(const Window_view& view,
                                                std::string_view memo_text);

// The same for a window whose box shows the image's free text.
inline std::vector<Report_parameter> report_parameters(const Window_view& view) {
  return report_parameters(view, view.extra.free_text);
}

}  // namespace tirna
