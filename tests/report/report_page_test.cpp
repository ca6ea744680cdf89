// The page as it is drawn: Arial or its metric twin, every text inside its box, nothing shortened
// that the radio can hold, overlong texts shortened or wrapped inside their boxes.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPdfWriter>
#include <map>

#include "core/image/subtone.h"
#include "core/pages/settings.h"
#include "core/report/report_layout.h"
#include "report_test_support.h"
#include "ui/report/report_painter.h"

namespace tirna {
namespace {

using ui::Placed_text;

struct Page_device {
  QBuffer buffer;
  QPdfWriter writer{&buffer};
  Page_device() { ui::set_report_page(writer); }
};

std::vector<Placed_text> place(QPaintDevice& device, const std::vector<Report_parameter>& params,
                               const QString& date = QStringLiteral("30 сентября 2026 г.")) {
  return ui::place_report_texts(device, params, date);
}

const Report_text& element(const Placed_text& p) {
  return report_layout().texts[p.element];
}

// Every shown line lies inside its box, measured with the font on the device it is drawn on.
void expect_inside_boxes(QPaintDevice& device, const std::vector<Placed_text>& placed) {
  for (const Placed_text& p : placed) {
    const QFontMetricsF metrics(p.font, &device);
    for (const auto& line : p.lines) {
      EXPECT_LE(line.top_left.x() + metrics.horizontalAdvance(line.text), p.box.right() + 0.5)
          << element(p).text << ": " << line.text.toStdString();
      EXPECT_GE(line.top_left.x(), p.box.left());
      if (element(p).multi_line) {
        EXPECT_LE(line.top_left.y() + metrics.height(), p.box.bottom() + 0.5)
            << line.text.toStdString();
      }
    }
  }
}

TEST(ReportPage, ArialIsArialOrLiberationSans) {
  QFont font(QStringLiteral("Arial"));
  font.setStyleHint(QFont::SansSerif);
  const QString family = QFontInfo(font).family();
  EXPECT_TRUE(family == QStringLiteral("Arial") || family == QStringLiteral("Liberation Sans"))
      << family.toStdString();
}

TEST(ReportPage, FixedTextsAndTheDateAreShownWhole) {
  Page_device page;
  const auto placed = place(page.writer, test::start_up_parameters());
  ASSERT_EQ(placed.size(), report_layout().texts.size());
  for (const Placed_text& p : placed) {
    const Report_text& t = element(p);
    ASSERT_EQ(p.lines.size(), 1u) << t.text;  // the empty free text too: one empty line
    if (t.field == Report_field::fixed) {
      EXPECT_EQ(p.lines.front().text.toStdString(), t.text);
    }
    if (t.field == Report_field::organisation) {
      EXPECT_EQ(p.lines.front().text.toStdString(), report_organisation);
    }
    if (t.field == Report_field::print_date) {
      EXPECT_EQ(p.lines.front().text, QStringLiteral("30 сентября 2026 г."));
    }
  }
  expect_inside_boxes(page.writer, placed);
}

// The widest text each parameter can get from the window.
std::map<std::string, std::vector<std::string>> possible_values() {
  std::map<std::string, std::vector<std::string>> values;
  values["model"] = {"Тирна-ШШШШШШШШШШШШШШШШ", "Тирна-WWWWWWWWWWWWWWWW"};
  values["nomer"] = {"ШШШШШШШ", "WWWWWWW", "0000000"};
  values["frq"] = {"148МГц - 174МГц (П23)", "450МГц - 470МГц (П45)"};
  std::vector<std::string> subtones = {" Выключен"};
  for (auto tone : ctcss_list) subtones.push_back("  CTC " + std::string(tone));
  for (auto code : dcs_list) {
    subtones.push_back("   DCS " + std::string(code));
    subtones.push_back("  -DCS " + std::string(code));
  }
  subtones.push_back("  -DCS 777");  // any 9-bit value a file may hold
  const std::vector<std::string> frequencies = {"  160,000000", "  474,993750", "  1638,393750",
                                                "  3276,787500"};
  for (int n = 1; n <= 16; ++n) {
    const std::string s = std::to_string(n);
    values["no_kan" + s] = values["no_tx" + s] = {"V"};
    values["f_rx" + s] = values["f_tx" + s] = frequencies;
    values["st_rx" + s] = values["st_tx" + s] = subtones;
    values["pow" + s] = {"  Понижен.", "  Повышен."};
    values["band" + s] = {"  12,5 кГц", "   25 кГц"};
    values["skan" + s] = values["busy" + s] = {"  Выключен", "   Включен"};
  }
  for (int slot = 0; slot < settings_count; ++slot) {
    auto& list = values["osn" + std::to_string(slot + 1)];
    for (auto form : {Squelch_form::long_form, Squelch_form::short_form}) {
      for (const auto& item : setting_items(slot, form)) list.push_back(item);
    }
  }
  std::string memo;
  for (int i = 0; i < 96; ++i) memo += "Ш";
  memo += "\n";
  for (int i = 0; i < 94; ++i) memo += "Ж";
  values["memo1"] = {memo, std::string(192, 'W')};
  return values;
}

TEST(ReportPage, EveryTextTheRadioCanHoldFitsWithoutShortening) {
  Page_device page;
  const auto values = possible_values();
  // The widest value of each single-line parameter, measured with its font on the device.
  std::map<std::string, std::string> widest;
  for (const Placed_text& p : place(page.writer, test::start_up_parameters())) {
    const Report_text& t = element(p);
    if (t.field != Report_field::parameter || t.multi_line) continue;
    const QFontMetricsF metrics(p.font, &page.writer);
    double widest_advance = -1;
    for (const std::string& value : values.at(t.text)) {
      const double advance = metrics.horizontalAdvance(QString::fromStdString(value));
      if (advance > widest_advance) {
        widest_advance = advance;
        widest[t.text] = value;
      }
    }
  }
  // Each round prints every parameter's widest value, and one of the free texts.
  for (const std::string& memo : values.at("memo1")) {
    std::vector<Report_parameter> params;
    for (const auto& [name, value] : widest) params.push_back({name, value});
    params.push_back({"memo1", memo});
    const auto placed = place(page.writer, params);
    expect_inside_boxes(page.writer, placed);
    for (const Placed_text& p : placed) {
      const Report_text& t = element(p);
      if (t.field != Report_field::parameter) continue;
      if (t.multi_line) {
        QString joined;
        for (const auto& line : p.lines) joined += line.text;
        QString expected = QString::fromStdString(memo);
        expected.remove(u'\n');
        EXPECT_EQ(joined, expected) << "the free text lost characters";
      } else {
        EXPECT_EQ(p.lines.front().text.toStdString(), widest.at(t.text)) << t.text;
      }
    }
  }
}

TEST(ReportPage, OverlongTextsStayInsideTheirBoxes) {
  Page_device page;
  std::vector<Report_parameter> params = test::start_up_parameters();
  for (auto& p : params) {
    p.text = p.name == "memo1" ? "" : std::string(3, ' ') + std::string(120, 'W');
  }
  std::string memo;
  for (int line = 0; line < 30; ++line) {
    memo += "строка " + std::to_string(line) + " " + std::string(150, 'M') + "\r\n";
  }
  for (auto& p : params) {
    if (p.name == "memo1") p.text = memo;
  }
  const auto placed = place(page.writer, params);
  expect_inside_boxes(page.writer, placed);
  for (const Placed_text& p : placed) {
    const Report_text& t = element(p);
    if (t.field != Report_field::parameter) continue;
    ASSERT_FALSE(p.lines.empty()) << t.text;
    EXPECT_TRUE(p.lines.back().text.endsWith(QChar(0x2026))) << t.text;
    if (t.multi_line) {
      EXPECT_GE(p.lines.size(), 6u);
      // Wrapped at the blank first, inside the long word where it has none.
      EXPECT_EQ(p.lines[0].text, QStringLiteral("строка 0"));
      EXPECT_TRUE(p.lines[1].text.startsWith(QStringLiteral("MMMMMMMMMM")));
    }
  }
}

TEST(ReportPage, FreeTextKeepsItsLineBreaks) {
  Page_device page;
  const auto placed = place(page.writer, test::channel3_off_parameters());
  for (const Placed_text& p : placed) {
    if (!element(p).multi_line) continue;
    ASSERT_EQ(p.lines.size(), 2u);
    EXPECT_EQ(p.lines[0].text, QStringLiteral("Бригада 7"));
    EXPECT_EQ(p.lines[1].text, QStringLiteral("смена"));
    EXPECT_GT(p.lines[1].top_left.y(), p.lines[0].top_left.y());
  }
}

}  // namespace
}  // namespace tirna
