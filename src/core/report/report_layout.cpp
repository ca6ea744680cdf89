#include "core/report/report_layout.h"

#include <array>

#include "core/channels/window_view.h"
#include "core/pages/settings.h"

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

// Left edges of the ten channel parameters and the parameter names, in column order.
struct Column {
  const char* name;
  double left;
};
constexpr std::array<Column, 10> channel_columns = {{{"no_kan", 1.2},
                                                     {"no_tx", 1.5},
                                                     {"f_rx", 1.7},
                                                     {"st_rx", 2.44},
                                                     {"f_tx", 3.1},
                                                     {"st_tx", 3.85},
                                                     {"pow", 4.6},
                                                     {"band", 5.3},
                                                     {"skan", 5.9},
                                                     {"busy", 6.9}}};

// Column captions: text, left, top, the connector's x and top, and where the caption's box ends
// (before the next thing on its line: a caption, a connector crossing its line, or its own
// connector when that runs on its right).
struct Caption {
  const char* text;
  double left, top;
  double line_x, line_top;
  double box_right;
};
constexpr std::array<Caption, 11> column_captions = {{
    {"Номер канала", 1.12, 1.53, 0.97, 1.6, 5.15},
    {"Канал выключен", 1.41, 1.73, 1.25, 1.8, 4.94},
    {"Запрет передачи", 1.69, 1.93, 1.55, 2.0, 4.94},
    {"Частота прм (МГц)", 2.11, 2.13, 1.97, 2.2, 3.37},
    {"Субтон прм", 2.11, 2.33, 2.9, 2.4, 2.9 - own_connector_room},
    {"Частота прд (МГц)", 3.52, 2.13, 3.37, 2.2, 4.94},
    {"Субтон прд", 3.52, 2.33, 4.31, 2.4, 4.31 - own_connector_room},
    {"Запрет передачи на занятом канале", 5.15, 1.54, 7.29, 1.6, 7.29 - own_connector_room},
    {"Мощность передачи", 5.1, 1.73, 4.94, 1.8, 7.29},
    {"Ширина канала", 5.74, 1.93, 5.59, 2.0, 7.29},
    {"Сканирование", 6.35, 2.14, 6.21, 2.2, 7.29},
}};

Report_text text_at(double left, double top, double right, double pt, bool bold, Report_field field,
                    std::string text) {
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

  const char* id_captions[] = {"Модель :", "Заводской № :", "Частотный диапазон :"};
  const char* id_values[] = {"model", "nomer", "frq"};
  for (int i = 0; i < 3; ++i) {
    const double top = 0.6 + 0.2 * i;
    t.push_back(fixed(2.7, top, 4.3, 10, true, id_captions[i]));
    t.push_back(parameter(4.3, top, right_limit, 10, true, id_values[i]));
  }

  t.push_back(fixed(3.4, 1.3, right_limit, 12, true, "Параметры каналов"));
  for (const Caption& c : column_captions) {
    t.push_back(fixed(c.left, c.top, c.box_right, 8, true, c.text));
    l.connectors.push_back(
        {static_cast<int>(t.size()) - 1, c.line_x, c.line_top, connector_bottom});
  }

  for (int n = 1; n <= channel_count; ++n) {
    const double top = rows_top + row_step * (n - 1);
    const std::string suffix = std::to_string(n);
    t.push_back(fixed(n < 10 ? 0.94 : 0.9, top, channel_columns[0].left, 8, true, suffix));
    for (std::size_t c = 0; c < channel_columns.size(); ++c) {
      const double right =
          c + 1 < channel_columns.size() ? channel_columns[c + 1].left : right_limit;
      t.push_back(parameter(channel_columns[c].left, top, right, 8, true,
                            channel_columns[c].name + suffix));
    }
  }

  t.push_back(fixed(2.92, 5.9, right_limit, 12, true, "Основные настройки радиостанции"));
  for (int k = 1; k <= settings_count; ++k) {
    const double top = settings_top + settings_step * (k - 1);
    t.push_back(fixed(1.2, top, 5.1, 8, true, setting_entry(k - 1).report_caption));
    t.push_back(parameter(5.1, top, right_limit, 8, true, "osn" + std::to_string(k)));
  }

  t.push_back(fixed(3.1, 9.1, right_limit, 12, true, "Дополнительная информация"));
  Report_text memo = parameter(1.6, 9.4, 1.6 + 5.5 + gap, 8, true, "memo1");
  memo.height = 1.1;
  memo.multi_line = true;
  t.push_back(memo);

  l.lines.push_back({rule_left, 11.3, rule_right, 11.3});
  t.push_back(text_at(6.9, 11.3, date_right_limit, 8, false, Report_field::print_date, ""));
  return l;
}

}  // namespace

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
