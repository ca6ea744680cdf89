#include "core/report/report_layout.h"

#include <array>

#include "core/catalogue/catalogue.h"

namespace tirna {
namespace {

constexpr double page_width = 210.0 / 25.4;
constexpr double page_height = 297.0 / 25.4;
// Right end of the texts that have no neighbour to their right: a little past the rules, inside
// what printers can print. The date, which starts at 6.9, may run further for the long months.
constexpr double right_limit = 7.9;
constexpr double date_right_limit = 8.1;
// Room left between a text's box and the neighbour that follows on its line.
constexpr double gap = 0.02;
// Arial's line: ascent and descent come to 1.15 of the font size.
constexpr double line_height(double pt) {
  return pt * 1.15 / 72.0;
}

constexpr double rule_left = 0.7, rule_right = 7.8;
constexpr double rows_top = 2.6, row_step = 0.2;
constexpr double settings_top = 6.2, settings_step = 0.2;
constexpr double connector_bottom = 2.5;
constexpr double connector_gap = 0.03;
// A caption whose connector runs on its right keeps room for the gap and a piece of that line.
constexpr double own_connector_room = connector_gap + 0.03;

// Column captions: the channel parameter whose report caption it shows (the channel number's
// caption is the layout's own), left, top, the connector's x and top, and where the caption's box
// ends (before the next thing on its line: a caption, a connector crossing its line, or its own
// connector when that runs on its right).
struct Caption {
  const char* parameter;  // nullptr: "Номер канала"
  double left, top;
  double line_x, line_top;
  double box_right;
};
constexpr std::array<Caption, 11> column_captions = {{
    {nullptr, 1.12, 1.53, 0.97, 1.6, 5.15},
    {"no_kan", 1.41, 1.73, 1.25, 1.8, 4.94},
    {"no_tx", 1.69, 1.93, 1.55, 2.0, 4.94},
    {"f_rx", 2.11, 2.13, 1.97, 2.2, 3.37},
    {"st_rx", 2.11, 2.33, 2.9, 2.4, 2.9 - own_connector_room},
    {"f_tx", 3.52, 2.13, 3.37, 2.2, 4.94},
    {"st_tx", 3.52, 2.33, 4.31, 2.4, 4.31 - own_connector_room},
    {"busy", 5.15, 1.54, 7.29, 1.6, 7.29 - own_connector_room},
    {"pow", 5.1, 1.73, 4.94, 1.8, 7.29},
    {"band", 5.74, 1.93, 5.59, 2.0, 7.29},
    {"skan", 6.35, 2.14, 6.21, 2.2, 7.29},
}};

std::string report_caption_of(const char* parameter) {
  return parameter == nullptr ? "Номер канала"
                              : std::string(parameter_named(parameter)->report_caption);
}

Report_text text_at(double left, double top, double right, double pt, bool bold, Report_field field,
                    std::string text) {
  return report_text_at(left, top, right, pt, bold, field, std::move(text));
}

Report_text fixed(double left, double top, double right, double pt, bool bold, std::string text) {
  return text_at(left, top, right, pt, bold, Report_field::fixed, std::move(text));
}

Report_text parameter(double left, double top, double right, double pt, bool bold,
                      std::string name) {
  return text_at(left, top, right, pt, bold, Report_field::parameter, std::move(name));
}

Report_layout make_layout() {
  Report_layout l;
  l.page_width = page_width;
  l.page_height = page_height;
  l.line_width_pt = 1;
  l.connector_gap = connector_gap;
  l.font_family = "Arial";
  auto& t = l.texts;

  t.push_back(text_at(0.8, 0.2, 7.0, 8, false, Report_field::organisation, ""));
  t.push_back(fixed(7.0, 0.2, right_limit, 8, false, "ПО Тирна-520"));
  l.lines.push_back({rule_left, 0.4, rule_right, 0.4});

  // The identification: the catalogue's labels and the band, one line each.
  double top = 0.6;
  for (const Parameter& p : catalogue) {
    if (p.kind != Parameter_kind::model && p.kind != Parameter_kind::factory_number &&
        p.kind != Parameter_kind::band) {
      continue;
    }
    t.push_back(fixed(2.7, top, 4.3, 10, true, std::string(p.report_caption)));
    t.push_back(parameter(4.3, top, right_limit, 10, true, std::string(p.name)));
    top += 0.2;
  }

  t.push_back(fixed(3.4, 1.3, right_limit, 12, true, "Параметры каналов"));
  for (const Caption& c : column_captions) {
    t.push_back(fixed(c.left, c.top, c.box_right, 8, true, report_caption_of(c.parameter)));
    l.connectors.push_back(
        {static_cast<int>(t.size()) - 1, c.line_x, c.line_top, connector_bottom});
  }

  const auto& columns = channel_parameters();
  for (int n = 1; n <= channel_count; ++n) {
    const double row_top = rows_top + row_step * (n - 1);
    const std::string suffix = std::to_string(n);
    t.push_back(fixed(n < 10 ? 0.94 : 0.9, row_top, columns[0]->report_left, 8, true, suffix));
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const double right = c + 1 < columns.size() ? columns[c + 1]->report_left : right_limit;
      t.push_back(parameter(columns[c]->report_left, row_top, right, 8, true,
                            std::string(columns[c]->name) + suffix));
    }
  }

  t.push_back(fixed(2.92, 5.9, right_limit, 12, true, "Основные настройки радиостанции"));
  for (int slot = 0; slot < settings_count; ++slot) {
    const Parameter& p = setting_entry(slot);
    const double setting_top = settings_top + settings_step * slot;
    t.push_back(fixed(1.2, setting_top, 5.1, 8, true, std::string(p.report_caption)));
    t.push_back(parameter(5.1, setting_top, right_limit, 8, true, std::string(p.name)));
  }

  const Parameter& free_text = *parameter_named("memo1");
  t.push_back(fixed(3.1, 9.1, right_limit, 12, true, std::string(free_text.report_caption)));
  Report_text memo = parameter(1.6, 9.4, 1.6 + 5.5 + gap, 8, true, std::string(free_text.name));
  memo.height = 1.1;
  memo.multi_line = true;
  t.push_back(memo);

  l.lines.push_back({rule_left, 11.3, rule_right, 11.3});
  t.push_back(text_at(6.9, 11.3, date_right_limit, 8, false, Report_field::print_date, ""));
  return l;
}

}  // namespace

Report_text report_text_at(double left, double top, double right, double pt, bool bold,
                           Report_field field, std::string text) {
  Report_text t;
  t.left = left;
  t.top = top;
  t.width = right - gap - left;
  t.height = line_height(pt);
  t.font_pt = pt;
  t.bold = bold;
  t.field = field;
  t.text = std::move(text);
  return t;
}

const Report_layout& report_layout() {
  static const Report_layout layout = make_layout();
  return layout;
}

std::string report_date_text(int year, int month, int day) {
  static constexpr const char* months[] = {"января",   "февраля", "марта",  "апреля",
                                           "мая",      "июня",    "июля",   "августа",
                                           "сентября", "октября", "ноября", "декабря"};
  const char* name = month >= 1 && month <= 12 ? months[month - 1] : "";
  return std::to_string(day) + " " + name + " " + std::to_string(year) + " г.";
}

}  // namespace tirna
