#include <gtest/gtest.h>

#include <map>
#include <set>

#include "core/image/workspace.h"
#include "core/report/report_layout.h"
#include "core/report/report_params.h"

namespace tirna {
namespace {

const Report_text* find_text(Report_field field, const std::string& text) {
  for (const auto& t : report_layout().texts) {
    if (t.field == field && t.text == text) return &t;
  }
  return nullptr;
}

TEST(ReportLayout, EveryReportParameterHasExactlyOnePlace) {
  const Workspace ws = start_up_workspace();
  Window_view view;
  print_wind_blok(view, ws.image, ws.state);
  std::multiset<std::string> placed;
  for (const auto& t : report_layout().texts) {
    if (t.field == Report_field::parameter) placed.insert(t.text);
  }
  ASSERT_EQ(placed.size(), 178u);
  for (const auto& p : report_parameters(view)) EXPECT_EQ(placed.count(p.name), 1u) << p.name;
}

TEST(ReportLayout, PageIsA4PortraitWithArialAndOnePointLines) {
  const Report_layout& l = report_layout();
  EXPECT_NEAR(l.page_width * 25.4, 210.0, 1e-9);
  EXPECT_NEAR(l.page_height * 25.4, 297.0, 1e-9);
  EXPECT_EQ(l.font_family, "Arial");
  EXPECT_EQ(l.line_width_pt, 1.0);
  ASSERT_EQ(l.lines.size(), 2u);
  for (const auto& rule : l.lines) {
    EXPECT_EQ(rule.x1, 0.7);
    EXPECT_EQ(rule.x2, 7.8);
    EXPECT_EQ(rule.y1, rule.y2);
  }
  EXPECT_EQ(l.lines[0].y1, 0.4);
  EXPECT_EQ(l.lines[1].y1, 11.3);
}

TEST(ReportLayout, ChannelRowsStandInTheirColumns) {
  const std::map<std::string, double> columns = {
      {"no_kan", 1.2}, {"no_tx", 1.5}, {"f_rx", 1.7}, {"st_rx", 2.44}, {"f_tx", 3.1},
      {"st_tx", 3.85}, {"pow", 4.6},   {"band", 5.3}, {"skan", 5.9},   {"busy", 6.9}};
  for (int n = 1; n <= 16; ++n) {
    const double top = 2.6 + 0.2 * (n - 1);
    for (const auto& [name, left] : columns) {
      const Report_text* t = find_text(Report_field::parameter, name + std::to_string(n));
      ASSERT_NE(t, nullptr) << name << n;
      EXPECT_DOUBLE_EQ(t->left, left);
      EXPECT_DOUBLE_EQ(t->top, top);
      EXPECT_EQ(t->font_pt, 8);
      EXPECT_TRUE(t->bold);
    }
    // The channel number: a fixed text at 0.94 for one digit, 0.9 for two.
    bool found = false;
    for (const auto& t : report_layout().texts) {
      if (t.field == Report_field::fixed && t.text == std::to_string(n) && t.top == top) {
        EXPECT_DOUBLE_EQ(t.left, n < 10 ? 0.94 : 0.9);
        found = true;
      }
    }
    EXPECT_TRUE(found) << n;
  }
}

TEST(ReportLayout, HeadingsIdentificationSettingsAndFreeText) {
  struct Expect {
    Report_field field;
    const char* text;
    double left, top, pt;
    bool bold;
  };
  const Expect expected[] = {
      {Report_field::organisation, "", 0.8, 0.2, 8, false},
      {Report_field::fixed, "ПО Тирна-520", 7.0, 0.2, 8, false},
      {Report_field::fixed, "Модель :", 2.7, 0.6, 10, true},
      {Report_field::fixed, "Заводской № :", 2.7, 0.8, 10, true},
      {Report_field::fixed, "Частотный диапазон :", 2.7, 1.0, 10, true},
      {Report_field::parameter, "model", 4.3, 0.6, 10, true},
      {Report_field::parameter, "nomer", 4.3, 0.8, 10, true},
      {Report_field::parameter, "frq", 4.3, 1.0, 10, true},
      {Report_field::fixed, "Параметры каналов", 3.4, 1.3, 12, true},
      {Report_field::fixed, "Основные настройки радиостанции", 2.92, 5.9, 12, true},
      {Report_field::fixed, "Дополнительная информация", 3.1, 9.1, 12, true},
      {Report_field::fixed, "Таймер запрета повторного выхода на передачу :", 1.2, 6.6, 8, true},
      {Report_field::fixed, "Кнопка \"ШПД\" :", 1.2, 8.6, 8, true},
      {Report_field::parameter, "osn1", 5.1, 6.2, 8, true},
      {Report_field::parameter, "osn14", 5.1, 8.8, 8, true},
      {Report_field::parameter, "memo1", 1.6, 9.4, 8, true},
      {Report_field::print_date, "", 6.9, 11.3, 8, false},
  };
  for (const auto& e : expected) {
    const Report_text* t = find_text(e.field, e.text);
    ASSERT_NE(t, nullptr) << e.text;
    EXPECT_DOUBLE_EQ(t->left, e.left) << e.text;
    EXPECT_DOUBLE_EQ(t->top, e.top) << e.text;
    EXPECT_EQ(t->font_pt, e.pt) << e.text;
    EXPECT_EQ(t->bold, e.bold) << e.text;
  }
  const Report_text* memo = find_text(Report_field::parameter, "memo1");
  EXPECT_TRUE(memo->multi_line);
  EXPECT_DOUBLE_EQ(memo->width, 5.5);
  EXPECT_DOUBLE_EQ(memo->height, 1.1);
  EXPECT_EQ(find_text(Report_field::fixed, "Таймер запрета повторного выхода на предачу :"),
            nullptr);
}

TEST(ReportLayout, ColumnCaptionsAreJoinedToTheirColumns) {
  struct Expect {
    const char* caption;
    double left, top, line_x, line_top;
  };
  const Expect expected[] = {
      {"Номер канала", 1.12, 1.53, 0.97, 1.6},
      {"Канал выключен", 1.41, 1.73, 1.25, 1.8},
      {"Запрет передачи", 1.69, 1.93, 1.55, 2.0},
      {"Частота прм (МГц)", 2.11, 2.13, 1.97, 2.2},
      {"Субтон прм", 2.11, 2.33, 2.9, 2.4},
      {"Частота прд (МГц)", 3.52, 2.13, 3.37, 2.2},
      {"Субтон прд", 3.52, 2.33, 4.31, 2.4},
      {"Запрет передачи на занятом канале", 5.15, 1.54, 7.29, 1.6},
      {"Мощность передачи", 5.1, 1.73, 4.94, 1.8},
      {"Ширина канала", 5.74, 1.93, 5.59, 2.0},
      {"Сканирование", 6.35, 2.14, 6.21, 2.2},
  };
  const Report_layout& l = report_layout();
  ASSERT_EQ(l.connectors.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const Report_connector& c = l.connectors[i];
    const Report_text& caption = l.texts[static_cast<std::size_t>(c.caption)];
    EXPECT_EQ(caption.text, expected[i].caption);
    EXPECT_DOUBLE_EQ(caption.left, expected[i].left);
    EXPECT_DOUBLE_EQ(caption.top, expected[i].top);
    EXPECT_EQ(caption.font_pt, 8);
    EXPECT_TRUE(caption.bold);
    EXPECT_DOUBLE_EQ(c.x, expected[i].line_x);
    EXPECT_DOUBLE_EQ(c.top, expected[i].line_top);
    EXPECT_DOUBLE_EQ(c.bottom, 2.5);
  }
}

struct Box {
  double left, top, right, bottom;
  bool intersects(const Box& o) const {
    return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
  }
};

Box box_of(const Report_text& t) {
  return {t.left, t.top, t.left + t.width, t.top + t.height};
}

TEST(ReportLayout, NoTextBoxReachesIntoAnotherOrOverALine) {
  const Report_layout& l = report_layout();
  for (std::size_t i = 0; i < l.texts.size(); ++i) {
    const Box a = box_of(l.texts[i]);
    EXPECT_GT(a.right, a.left) << l.texts[i].text;
    EXPECT_LE(a.right, l.page_width - 0.15) << l.texts[i].text;
    EXPECT_LE(a.bottom, l.page_height - 0.15) << l.texts[i].text;
    for (std::size_t j = i + 1; j < l.texts.size(); ++j) {
      EXPECT_FALSE(a.intersects(box_of(l.texts[j]))) << l.texts[i].text << " / " << l.texts[j].text;
    }
    // The date stands on the bottom rule: a 1 pt line at a text's top edge lies in the room
    // above the capitals, so the lines are checked against the box from 0.01 inch lower.
    const double thin = 0.005;
    const Box ink{a.left, a.top + 0.01, a.right, a.bottom};
    for (const auto& rule : l.lines) {
      EXPECT_FALSE(ink.intersects({rule.x1, rule.y1 - thin, rule.x2, rule.y2 + thin}))
          << l.texts[i].text;
    }
    for (const auto& c : l.connectors) {
      EXPECT_FALSE(a.intersects({c.x - thin, c.top, c.x + thin, c.bottom}))
          << l.texts[i].text << " / connector at " << c.x;
      // The horizontal part runs towards its own caption only.
      if (c.caption != static_cast<int>(i) && c.x < l.texts[c.caption].left) {
        EXPECT_FALSE(a.intersects({c.x, c.top - thin, l.texts[c.caption].left, c.top + thin}))
            << l.texts[i].text;
      }
    }
  }
}

TEST(ReportLayout, CaptionsWithTheirConnectorOnTheRightEndBeforeIt) {
  const Report_layout& l = report_layout();
  for (const auto& c : l.connectors) {
    const Report_text& caption = l.texts[static_cast<std::size_t>(c.caption)];
    if (c.x > caption.left) {
      // Room for the gap and a visible piece of the horizontal line.
      EXPECT_LE(caption.left + caption.width + l.connector_gap + 0.02, c.x + 1e-9) << caption.text;
    }
    EXPECT_NEAR(c.top, caption.top + caption.height / 2, 0.02) << caption.text;
  }
}

TEST(ReportDate, LongLocalForm) {
  EXPECT_EQ(report_date_text(2026, 12, 9), "9 декабря 2026 г.");
  EXPECT_EQ(report_date_text(2027, 1, 31), "31 января 2027 г.");
  EXPECT_EQ(report_date_text(2026, 5, 1), "1 мая 2026 г.");
  EXPECT_EQ(report_date_text(2026, 9, 30), "30 сентября 2026 г.");
}

}  // namespace
}  // namespace tirna
