#include "ui/report/report_painter.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextLayout>

#include "core/report/report_layout.h"
#include "core/text/messages.h"

namespace tirna::ui {
namespace {

QString q(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

struct Device_scale {
  double x, y;  // device pixels per inch
  explicit Device_scale(const QPaintDevice& device)
      : x(device.logicalDpiX()), y(device.logicalDpiY()) {}
  QPointF point(double left, double top) const { return {left * x, top * y}; }
  QRectF rect(double left, double top, double width, double height) const {
    return {left * x, top * y, width * x, height * y};
  }
};

QFont report_font(const Report_layout& layout, const Report_text& t) {
  QFont font(q(layout.font_family));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(t.font_pt);
  font.setBold(t.bold);
  return font;
}

QString field_text(const Report_text& t, const QHash<QString, QString>& params,
                   const QString& date_text) {
  switch (t.field) {
    case Report_field::fixed:
      return q(t.text);
    case Report_field::parameter:
      return params.value(q(t.text));
    case Report_field::organisation:
      return q(report_organisation);
    case Report_field::print_date:
      return date_text;
  }
  return {};
}

// The free text: wrapped at word boundaries (anywhere inside a word too long for a line), only
// whole lines inside the box; when some text does not fit, the last line shown ends with "…".
std::vector<Placed_text::Line> wrap_in_box(QPaintDevice& device, const QFont& font,
                                           const QRectF& box, QString text) {
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  text.replace(QLatin1Char('\n'), QChar::LineSeparator);
  QTextLayout layout(text, font, &device);
  QTextOption option(Qt::AlignLeft);
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);

  std::vector<Placed_text::Line> lines;
  bool cut = false;
  double y = 0;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(box.width());
    if (y + line.height() > box.height()) {
      cut = true;
      break;
    }
    QString shown = text.mid(line.textStart(), line.textLength());
    while (!shown.isEmpty() && (shown.back() == QChar::LineSeparator || shown.back().isSpace())) {
      shown.chop(1);
    }
    lines.push_back({QPointF(box.left(), box.top() + y), shown});
    y += line.height();
  }
  layout.endLayout();
  if (cut && !lines.empty()) {
    const QFontMetricsF metrics(font, &device);
    QString& last = lines.back().text;
    last = metrics.elidedText(last + QChar(0x2026), Qt::ElideRight, box.width());
  }
  return lines;
}

}  // namespace

QString report_date(const QDate& date) {
  return q(report_date_text(date.year(), date.month(), date.day()));
}

void set_report_page(QPagedPaintDevice& device) {
  device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                   QMarginsF(0, 0, 0, 0), QPageLayout::Inch));
}

std::vector<Placed_text> place_report_texts(QPaintDevice& device,
                                            const std::vector<Report_parameter>& params,
                                            const QString& date_text, const Report_layout& layout) {
  const Device_scale scale(device);
  QHash<QString, QString> values;
  for (const auto& p : params) values.insert(q(p.name), q(p.text));

  std::vector<Placed_text> placed;
  placed.reserve(layout.texts.size());
  for (std::size_t i = 0; i < layout.texts.size(); ++i) {
    const Report_text& t = layout.texts[i];
    Placed_text p;
    p.element = i;
    p.font = report_font(layout, t);
    p.box = scale.rect(t.left, t.top, t.width, t.height);
    const QString text = field_text(t, values, date_text);
    if (t.multi_line) {
      p.lines = wrap_in_box(device, p.font, p.box, text);
    } else {
      const QFontMetricsF metrics(p.font, &device);
      QString one_line = text;
      one_line.replace(QRegularExpression(QStringLiteral("[\\r\\n]+")), QStringLiteral(" "));
      p.lines.push_back(
          {p.box.topLeft(), metrics.elidedText(one_line, Qt::ElideRight, p.box.width())});
    }
    placed.push_back(std::move(p));
  }
  return placed;
}

void paint_report(QPainter& painter, const std::vector<Report_parameter>& params,
                  const QString& date_text, const Report_layout& layout) {
  QPaintDevice& device = *painter.device();
  const Device_scale scale(device);
  const std::vector<Placed_text> placed = place_report_texts(device, params, date_text, layout);

  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(Qt::black);
  for (const Placed_text& p : placed) {
    painter.setFont(p.font);
    const QFontMetricsF metrics(p.font, &device);
    for (const auto& line : p.lines) {
      painter.drawText(QRectF(line.top_left, QSizeF(p.box.width(), metrics.height())),
                       Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, line.text);
    }
  }

  QPen pen(Qt::black);
  pen.setWidthF(layout.line_width_pt / 72.0 * scale.y);
  pen.setCapStyle(Qt::FlatCap);
  painter.setPen(pen);
  for (const Report_line& l : layout.lines) {
    painter.drawLine(scale.point(l.x1, l.y1), scale.point(l.x2, l.y2));
  }
  for (const Report_connector& c : layout.connectors) {
    const Placed_text& caption = placed[static_cast<std::size_t>(c.caption)];
    const double left = caption.box.left();
    const double right =
        left + QFontMetricsF(caption.font, &device).horizontalAdvance(caption.lines.front().text);
    const QPointF corner = scale.point(c.x, c.top);
    const double gap = layout.connector_gap * scale.x;
    painter.drawLine(corner, scale.point(c.x, c.bottom));
    painter.drawLine(corner, QPointF(corner.x() < left ? left - gap : right + gap, corner.y()));
  }
  painter.restore();
}

bool write_report_pdf(QIODevice& out, const std::vector<Report_parameter>& params,
                      const QString& date_text) {
  return write_pages_pdf(out, report_layout(), {params}, date_text,
                         QStringLiteral("Параметры радиостанции"));
}

bool write_pages_pdf(QIODevice& out, const Report_layout& layout,
                     const std::vector<std::vector<Report_parameter>>& pages,
                     const QString& date_text, const QString& title) {
  QPdfWriter writer(&out);
  set_report_page(writer);
  writer.setCreator(q(app_title));
  writer.setTitle(title);
  QPainter painter;
  if (!painter.begin(&writer)) return false;
  for (std::size_t i = 0; i < pages.size(); ++i) {
    if (i > 0 && !writer.newPage()) return false;
    paint_report(painter, pages[i], date_text, layout);
  }
  return painter.end();
}

}  // namespace tirna::ui
