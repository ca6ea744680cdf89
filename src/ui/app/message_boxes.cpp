#include "ui/app/message_boxes.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "core/text/messages.h"

namespace tirna {
namespace {

QString displayed(const QString& text) {
  QString out = text;
  out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return out;
}

}  // namespace

Message_box::Message_box(Icon icon, const QString& caption, const QString& text,
                         StandardButtons buttons, QWidget* parent)
    : QMessageBox(icon, caption, displayed(text), buttons, parent) {}

void Message_box::showEvent(QShowEvent* event) {
  QMessageBox::showEvent(event);
  auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
  if (label == nullptr || !label->wordWrap()) return;
  int widest = 0;
  for (const QString& line : label->text().split(QLatin1Char('\n'))) {
    widest = std::max(widest, label->fontMetrics().horizontalAdvance(line));
  }
  const QScreen* s = screen();
  const int room = s != nullptr ? s->availableGeometry().width() - 40 : 1000;
  const int extra = width() - label->width();  // the icon, the margins
  if (widest + extra > room) return;  // wider than the screen: Qt's wrapping stands
  label->setWordWrap(false);
  layout()->invalidate();
  setFixedSize(layout()->totalSizeHint().expandedTo(QSize(widest + extra, 0)));
}

void Message_box::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && button(Yes) != nullptr && button(No) != nullptr) {
    event->accept();
    return;
  }
  QMessageBox::keyPressEvent(event);
}

QString qt_text(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

void show_message(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                  const QString& text) {
  Message_box box(icon, caption, text, QMessageBox::Ok, parent);
  box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
  box.exec();
}

bool ask_yes_no(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                const QString& text) {
  Message_box box(icon, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
  box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

void show_error_box(QWidget* parent, std::string_view failure_text) {
  show_message(parent, QMessageBox::Critical, qt_text(app_title),
               qt_text(with_full_stop(failure_text)));
}

}  // namespace tirna
