#pragma once
// Draws the parameter report page (core/report/report_layout.h) with given parameter texts onto
// any paint device: a printer, the print preview, a PDF or an image. QtGui only, so that
// `tirna520-cli report` can use it without Widgets.

#include <QDate>
#include <QFont>
#include <QRectF>
#include <QString>
#include <vector>

#include "core/report/report_layout.h"
#include "core/report/report_params.h"

class QIODevice;
class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

namespace tirna::ui {

// "9 декабря 2026 г."
QString report_date(const QDate& date);

// A4 portrait with no margins, so that painting starts at the paper's top-left corner.
void set_report_page(QPagedPaintDevice& device);

// One text of the page as it will be drawn on a device: its box and the lines shown inside it
// (one for a single-line text; the wrapped lines of the free text), all in device pixels.
struct Placed_text {
  std::size_t element = 0;  // index into report_layout().texts
  QRectF box;
  QFont font;
  struct Line {
    QPointF top_left;
    QString text;
  };
  std::vector<Line> lines;
};

// Where every text of the layout goes on the device and what it shows there.
std::vector<Placed_text> place_report_texts(QPaintDevice& device,
                                            const std::vector<Report_parameter>& params,
                                            const QString& date_text,
                                            const Report_layout& layout = report_layout());

// Draws the page. The painter's device must have its origin at the paper's top-left corner;
// inches become device pixels through the device's resolution. Texts stay inside their boxes:
// a single-line text too long for its box is shortened with "…", the free text is wrapped and
// cut at the bottom of its box. Missing parameters print as empty texts.
// Another page of the same kind (the programming certificate) is drawn by the same rules from
// its own layout.
void paint_report(QPainter& painter, const std::vector<Report_parameter>& params,
                  const QString& date_text, const Report_layout& layout = report_layout());

// Writes the page as a one-page PDF to out (open for writing). False when painting could not
// start on it.
bool write_report_pdf(QIODevice& out, const std::vector<Report_parameter>& params,
                      const QString& date_text);

// Writes pages of one layout, each with its parameters, as one PDF titled title.
bool write_pages_pdf(QIODevice& out, const Report_layout& layout,
                     const std::vector<std::vector<Report_parameter>>& pages,
                     const QString& date_text, const QString& title);

}  // namespace tirna::ui
