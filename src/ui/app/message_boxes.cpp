#include "ui/app/message_boxes.h"

#include <QPushButton>

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

QString qt_text(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

void show_message(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                  const QString& text) {
  QMessageBox box(icon, caption, displayed(text), QMessageBox::Ok, parent);
  box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
  box.exec();
}

bool ask_yes_no(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                const QString& text) {
  QMessageBox box(icon, caption, displayed(text), QMessageBox::Yes | QMessageBox::No, parent);
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
