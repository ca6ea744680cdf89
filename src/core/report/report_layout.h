#pragma once
// The printed parameter report as data: one A4 portrait page with its texts, lines and caption
// connectors, in inches from the paper's top-left corner. The painter (src/ui/report) draws this
// and nothing else, so the printer, the preview and `tirna520-cli report` give the same page.

#include <string>
#include <string_view>
#include <vector>

namespace tirna {

enum class Report_field {
  fixed,         // text holds the text to print
  parameter,     // text holds the name of a report parameter
  organisation,  // the issuing organisation (left header)
  print_date,    // the date of printing in the long date form
};

struct Report_text {
  double left = 0;    // left edge of the text
  double top = 0;     // top edge of the text's line
  double width = 0;   // the text stays inside [left, left + width]; the next neighbour starts after
  double height = 0;  // one line, or the box of a multi-line text
  double font_pt = 8;
  bool bold = false;
  Report_field field = Report_field::fixed;
  std::string text;
  bool multi_line = false;  // wrapped inside the box and cut at its bottom
};

// A straight line, 1 pt wide.
struct Report_line {
  double x1, y1, x2, y2;
};

// A column caption joined to its column: a vertical line at x from top down to bottom, and a
// horizontal line at top from x to the nearer end of the caption's text (the caption's middle
// lies at top).
struct Report_connector {
  int caption;  // index into Report_layout::texts
  double x;
  double top;
  double bottom;
};

struct Report_layout {
  double page_width = 0;   // A4: 210 mm
  double page_height = 0;  // A4: 297 mm
  double line_width_pt = 1;
  double connector_gap = 0;  // between a connector's horizontal line and the caption's text
  std::string font_family;
  std::vector<Report_text> texts;
  std::vector<Report_line> lines;
  std::vector<Report_connector> connectors;
};

const Report_layout& report_layout();

// A text of a page: its line at top from left, its box ending a small gap before right (where
// the next text on its line starts), one line of the font high.
Report_text report_text_at(double left, double top, double right, double pt, bool bold,
                           Report_field field, std::string text);

// The organisation named in the left header.
inline constexpr std::string_view report_organisation = "ООО «Тирна-Связь»";

// The long local date form: "9 декабря 2026 г.".
std::string report_date_text(int year, int month, int day);

}  // namespace tirna
