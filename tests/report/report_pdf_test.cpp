// The report's PDF read back by poppler: one A4 page, every parameter on its line with its
// Cyrillic intact, and every text where the layout puts it.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QFontMetricsF>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <cmath>

#include "core/pages/settings.h"
#include "core/report/report_layout.h"
#include "report_test_support.h"
#include "ui/report/report_painter.h"

namespace tirna {
namespace {

const QString print_date = QStringLiteral("9 декабря 2026 г.");

struct Written_pdf {
  QTemporaryDir dir;
  QString path;
  explicit Written_pdf(const std::vector<Report_parameter>& params) {
    path = dir.filePath(QStringLiteral("report.pdf"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_TRUE(ui::write_report_pdf(file, params, print_date));
  }
  QStringList layout_lines() const {
    return test::pdf_text(path, {QStringLiteral("-layout")}).split(u'\n');
  }
};

// The one line of the page text that matches; the words of a text as one pattern with any run of
// blanks between them.
QString line_matching(const QStringList& lines, const QString& pattern) {
  const QRegularExpression re(pattern);
  QString found;
  for (const QString& line : lines) {
    if (re.match(line).hasMatch()) {
      EXPECT_TRUE(found.isEmpty()) << "more than one line matches " << pattern.toStdString();
      found = line;
    }
  }
  EXPECT_FALSE(found.isEmpty()) << "no line matches " << pattern.toStdString();
  return found;
}

QString words(const QStringList& texts) {
  QStringList parts;
  for (const QString& t : texts) {
    const QString simple = t.simplified();
    if (!simple.isEmpty())
      parts << QRegularExpression::escape(simple).replace(QStringLiteral("\\ "),
                                                          QStringLiteral("\\s+"));
  }
  return parts.join(QStringLiteral("\\s+"));
}

QString value(const std::vector<Report_parameter>& params, const std::string& name) {
  for (const auto& p : params) {
    if (p.name == name) return QString::fromStdString(p.text);
  }
  ADD_FAILURE() << "no parameter " << name;
  return {};
}

void expect_channel_rows_and_settings(const QStringList& lines,
                                      const std::vector<Report_parameter>& params) {
  static const char* cells[] = {"no_kan", "no_tx", "f_rx", "st_rx", "f_tx",
                                "st_tx",  "pow",   "band", "skan",  "busy"};
  for (int n = 1; n <= 16; ++n) {
    QStringList row{QString::number(n)};
    for (const char* cell : cells) row << value(params, cell + std::to_string(n));
    line_matching(lines, QStringLiteral("^\\s*") + words(row) + QStringLiteral("\\s*$"));
  }
  for (int k = 1; k <= 14; ++k) {
    const QString caption = QString::fromUtf8(setting_entry(k - 1).report_caption);
    line_matching(lines, QStringLiteral("^\\s*") +
                             words({caption, value(params, "osn" + std::to_string(k))}) +
                             QStringLiteral("\\s*$"));
  }
  line_matching(lines, words({QStringLiteral("Модель :"), value(params, "model")}));
  line_matching(lines, words({QStringLiteral("Частотный диапазон :"), value(params, "frq")}));
}

TEST(ReportPdf, StartUpImageHasEveryParameterOnItsLine) {
  const auto params = test::start_up_parameters();
  const Written_pdf pdf(params);
  const QStringList lines = pdf.layout_lines();
  expect_channel_rows_and_settings(lines, params);
  line_matching(lines,
                words({QStringLiteral("ООО «Тирна-Связь»"), QStringLiteral("ПО Тирна-520")}));
  line_matching(lines, QStringLiteral("^\\s*Заводской № :\\s*$"));
  line_matching(lines, QStringLiteral("^\\s*9 декабря 2026 г\\.$"));
  line_matching(lines, QStringLiteral("Номер канала\\s+Запрет передачи на занятом канале"));
  line_matching(lines,
                QStringLiteral("Частота прм \\(МГц\\)\\s+Частота прд \\(МГц\\)\\s+Сканирование"));
  line_matching(lines, QStringLiteral("Таймер запрета повторного выхода на передачу :"));
  for (const QString& heading :
       {QStringLiteral("Параметры каналов"), QStringLiteral("Основные настройки радиостанции"),
        QStringLiteral("Дополнительная информация")}) {
    line_matching(lines, QStringLiteral("^\\s*") + heading + QStringLiteral("$"));
  }
  for (int n = 1; n <= 16; ++n) {
    EXPECT_EQ(value(params, "pow" + std::to_string(n)), QStringLiteral("  Повышен."));
    EXPECT_EQ(value(params, "no_kan" + std::to_string(n)), QString());
  }
}

TEST(ReportPdf, ChannelOffAndEditedFreeText) {
  const auto params = test::channel3_off_parameters();
  ASSERT_EQ(params.size(), 178u);
  EXPECT_EQ(value(params, "no_kan3"), QStringLiteral("V"));
  EXPECT_EQ(value(params, "f_rx3"), QString());
  EXPECT_EQ(value(params, "memo1"), test::edited_memo);
  const Written_pdf pdf(params);
  const QStringList lines = pdf.layout_lines();
  expect_channel_rows_and_settings(lines, params);
  line_matching(lines, QStringLiteral("^\\s*3\\s+V\\s*$"));
  line_matching(lines, QStringLiteral("^\\s*Бригада 7\\s*$"));
  line_matching(lines, QStringLiteral("^\\s*смена\\s*$"));
}

// Words with their boxes in points, as pdftotext -bbox gives them.
struct Word {
  QString text;
  double x_min, y_min;
};

std::vector<Word> bbox_words(const QString& pdf_path, double* page_width, double* page_height) {
  std::vector<Word> found;
  QXmlStreamReader xml(test::pdf_text(pdf_path, {QStringLiteral("-bbox")}));
  int pages = 0;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    const auto a = xml.attributes();
    if (xml.name() == QStringLiteral("page")) {
      ++pages;
      *page_width = a.value(QStringLiteral("width")).toDouble();
      *page_height = a.value(QStringLiteral("height")).toDouble();
    } else if (xml.name() == QStringLiteral("word")) {
      const double x = a.value(QStringLiteral("xMin")).toDouble();
      const double y = a.value(QStringLiteral("yMin")).toDouble();
      found.push_back({xml.readElementText(), x, y});
    }
  }
  EXPECT_EQ(pages, 1);
  return found;
}

TEST(ReportPdf, TextsStandWhereTheLayoutPutsThem) {
  const auto params = test::start_up_parameters();
  const Written_pdf pdf(params);
  double width = 0, height = 0;
  const auto found = bbox_words(pdf.path, &width, &height);
  EXPECT_NEAR(width, 595, 1);  // A4 portrait in points
  EXPECT_NEAR(height, 842, 1);

  // Leading blanks move a text's first ink right by their width, measured in points.
  QBuffer buffer;
  QPdfWriter points(&buffer);
  points.setResolution(72);
  const auto placed = ui::place_report_texts(points, params, print_date);

  int checked = 0;
  for (const ui::Placed_text& p : placed) {
    const Report_text& t = report_layout().texts[p.element];
    const QString text = p.lines.front().text;
    if (text.trimmed().isEmpty()) continue;
    const qsizetype blanks =
        text.size() - QString(text).remove(QRegularExpression(QStringLiteral("^ +"))).size();
    const QString first_word = text.trimmed().split(u' ').front();
    const double x =
        t.left * 72 + QFontMetricsF(p.font, &points).horizontalAdvance(text.left(blanks));
    const double y = t.top * 72;
    double best = 1e9;
    for (const Word& w : found) {
      if (w.text == first_word) best = std::min(best, std::hypot(w.x_min - x, w.y_min - y));
    }
    EXPECT_LT(best, 0.6) << t.text << " " << first_word.toStdString() << " at " << t.left << ", "
                         << t.top;
    ++checked;
  }
  EXPECT_EQ(checked, 66 + 16 * 8);  // every non-empty text of the start-up page
}

}  // namespace
}  // namespace tirna
