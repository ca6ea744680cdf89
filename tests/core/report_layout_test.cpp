#include <gtest/gtest.h>

#include <map>
#include <set>

#include "core/image/workspace.h"
#include "core/report/certificate.h"
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

TEST(ReportLayout, FreeTextBoxAndTheReportsOwnCaptionSpelling) {
  const Report_text* memo = find_text(Report_field::parameter, "memo1");
  ASSERT_NE(memo, nullptr);
  EXPECT_TRUE(memo->multi_line);
  EXPECT_DOUBLE_EQ(memo->width, 5.5);
  EXPECT_DOUBLE_EQ(memo->height, 1.1);
  // The report reads "передачу" where the settings page reads "предачу".
  EXPECT_NE(find_text(Report_field::fixed, "Таймер запрета повторного выхода на передачу :"),
            nullptr);
  EXPECT_EQ(find_text(Report_field::fixed, "Таймер запрета повторного выхода на предачу :"),
            nullptr);
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

// The programming certificate is drawn by the same rules: its page is held to them too.
TEST(ReportLayout, NoTextBoxReachesIntoAnotherOrOverALine) {
  for (const Report_layout* page : {&report_layout(), &certificate_layout()}) {
    const Report_layout& l = *page;
    for (std::size_t i = 0; i < l.texts.size(); ++i) {
      const Box a = box_of(l.texts[i]);
      EXPECT_GT(a.right, a.left) << l.texts[i].text;
      EXPECT_LE(a.right, l.page_width - 0.15) << l.texts[i].text;
      EXPECT_LE(a.bottom, l.page_height - 0.15) << l.texts[i].text;
      for (std::size_t j = i + 1; j < l.texts.size(); ++j) {
        EXPECT_FALSE(a.intersects(box_of(l.texts[j])))
            << l.texts[i].text << " / " << l.texts[j].text;
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
