#include "ui/app/icons.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace tirna {
namespace {

constexpr int side = 32;  // drawn at 32 px, scaled down by the tool bar and the menus

QPixmap canvas() {
  QPixmap pixmap(side, side);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

void draw_page(QPainter& p, QColor paper = QColor(250, 250, 250)) {
  QPainterPath page;
  page.moveTo(7, 3);
  page.lineTo(20, 3);
  page.lineTo(26, 9);
  page.lineTo(26, 29);
  page.lineTo(7, 29);
  page.closeSubpath();
  p.setPen(QPen(QColor(90, 90, 90), 1.5));
  p.setBrush(paper);
  p.drawPath(page);
  p.drawLine(QPointF(20, 3), QPointF(20, 9));
  p.drawLine(QPointF(20, 9), QPointF(26, 9));
}

void draw_radio(QPainter& p, QRectF body) {
  p.setPen(QPen(QColor(40, 40, 40), 1.5));
  p.setBrush(QColor(60, 70, 80));
  p.drawRoundedRect(body, 2, 2);
  // antenna
  p.setBrush(QColor(40, 40, 40));
  p.drawRect(QRectF(body.left() + body.width() * 0.2, body.top() - body.height() * 0.45,
                    body.width() * 0.14, body.height() * 0.45));
  // display and keys
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(150, 210, 120));
  p.drawRect(QRectF(body.left() + body.width() * 0.18, body.top() + body.height() * 0.12,
                    body.width() * 0.64, body.height() * 0.22));
  p.setBrush(QColor(200, 200, 200));
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      p.drawRect(QRectF(body.left() + body.width() * (0.18 + 0.23 * c),
                        body.top() + body.height() * (0.45 + 0.16 * r), body.width() * 0.16,
                        body.height() * 0.1));
    }
  }
}

void draw_arrow(QPainter& p, QPointF from, QPointF to, QColor color) {
  p.setPen(QPen(color, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawLine(from, to);
  const QPointF d = (to - from) / std::max(1.0, std::hypot((to - from).x(), (to - from).y()));
  const QPointF n(-d.y(), d.x());
  QPolygonF head;
  head << to + d * 2 << to - d * 5 + n * 5 << to - d * 5 - n * 5;
  p.setBrush(color);
  p.setPen(Qt::NoPen);
  p.drawPolygon(head);
}

QPixmap painted(Command_icon which) {
  QPixmap pixmap = canvas();
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  switch (which) {
    case Command_icon::new_file:
      draw_page(p);
      p.setPen(QPen(QColor(230, 170, 0), 2));
      p.drawLine(QPointF(22, 16), QPointF(30, 24));
      p.drawLine(QPointF(30, 16), QPointF(22, 24));
      p.drawLine(QPointF(26, 14), QPointF(26, 26));
      break;
    case Command_icon::open_file:
      p.setPen(QPen(QColor(150, 110, 20), 1.5));
      p.setBrush(QColor(240, 200, 90));
      p.drawRect(QRectF(3, 8, 24, 19));
      p.drawRect(QRectF(3, 5, 10, 4));
      p.setBrush(QColor(250, 220, 120));
      p.drawPolygon(QPolygonF({QPointF(7, 14), QPointF(30, 14), QPointF(27, 27), QPointF(3, 27)}));
      break;
    case Command_icon::save_file:
      p.setPen(QPen(QColor(30, 50, 110), 1.5));
      p.setBrush(QColor(60, 100, 190));
      p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
      p.setBrush(QColor(235, 235, 235));
      p.drawRect(QRectF(9, 4, 14, 9));
      p.setBrush(QColor(250, 250, 250));
      p.drawRect(QRectF(8, 18, 16, 10));
      break;
    case Command_icon::read_radio:
      draw_radio(p, QRectF(3, 12, 12, 18));
      draw_arrow(p, QPointF(17, 20), QPointF(28, 20), QColor(20, 140, 40));
      break;
    case Command_icon::write_radio:
      draw_radio(p, QRectF(17, 12, 12, 18));
      draw_arrow(p, QPointF(4, 20), QPointF(14, 20), QColor(200, 60, 20));
      break;
    case Command_icon::exit:
      p.setPen(QPen(QColor(90, 90, 90), 1.5));
      p.setBrush(QColor(200, 170, 130));
      p.drawRect(QRectF(5, 3, 14, 26));
      draw_arrow(p, QPointF(14, 16), QPointF(28, 16), QColor(190, 30, 30));
      break;
    case Command_icon::print:
      p.setPen(QPen(QColor(70, 70, 70), 1.5));
      p.setBrush(QColor(250, 250, 250));
      p.drawRect(QRectF(9, 3, 14, 10));
      p.setBrush(QColor(170, 170, 175));
      p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
      p.setBrush(QColor(250, 250, 250));
      p.drawRect(QRectF(9, 20, 14, 9));
      p.setPen(QPen(QColor(120, 120, 120), 1));
      p.drawLine(QPointF(11, 23), QPointF(21, 23));
      p.drawLine(QPointF(11, 26), QPointF(19, 26));
      break;
  }
  return pixmap;
}

const char* theme_name(Command_icon which) {
  switch (which) {
    case Command_icon::new_file:
      return "document-new";
    case Command_icon::open_file:
      return "document-open";
    case Command_icon::save_file:
      return "document-save";
    case Command_icon::exit:
      return "application-exit";
    case Command_icon::print:
      return "document-print";
    // No theme names "read from / write to a device"; our radio pictures say it better.
    case Command_icon::read_radio:
    case Command_icon::write_radio:
      return nullptr;
  }
  return nullptr;
}

}  // namespace

QIcon command_icon(Command_icon which) {
  const QIcon own(painted(which));
  const char* name = theme_name(which);
  if (name == nullptr) return own;
  return QIcon::fromTheme(QString::fromLatin1(name), own);
}

QIcon program_icon() {
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/tirna520-48.png"), QSize(48, 48));
  icon.addFile(QStringLiteral(":/icons/tirna520-256.png"), QSize(256, 256));
  return icon;
}

QPixmap radio_picture(QSize size) {
  QPixmap pixmap(size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal h = size.height();
  draw_radio(p, QRectF(size.width() * 0.08, h * 0.3, h * 0.42, h * 0.66));
  // the programming cable to a plug
  p.setPen(QPen(QColor(40, 40, 40), 2));
  p.setBrush(Qt::NoBrush);
  QPainterPath cable;
  cable.moveTo(size.width() * 0.08 + h * 0.42, h * 0.8);
  cable.cubicTo(size.width() * 0.6, h * 0.95, size.width() * 0.6, h * 0.35, size.width() * 0.8,
                h * 0.45);
  p.drawPath(cable);
  p.setBrush(QColor(60, 90, 160));
  p.drawRoundedRect(QRectF(size.width() * 0.8, h * 0.35, size.width() * 0.16, h * 0.2), 2, 2);
  return pixmap;
}

}  // namespace tirna
