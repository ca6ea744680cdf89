#include "ui/channels/frequency_dialog.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "ui/app/message_boxes.h"

namespace tirna {

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TForm3"));
  setAttribute(Qt::WA_WindowPropagation);
  // A title and nothing else: the dialog is left through its buttons, Enter or Escape.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setFixedSize(230, 96);

  edit_ = new QLineEdit(this);
  edit_->setObjectName(QStringLiteral("AdvEdit1"));
  edit_->setMaxLength(frequency_field_max_length);
  QFont large(QStringLiteral("Arial"));
  large.setPixelSize(24);
  large.setBold(true);
  edit_->setFont(large);
  edit_->setGeometry(12, 10, 206, 36);
  // Characters only come in through the key filter; input methods would bypass it.
  edit_->setAttribute(Qt::WA_InputMethodEnabled, false);
  edit_->installEventFilter(this);

  yes_ = new QPushButton(QStringLiteral("Да"), this);
  yes_->setObjectName(QStringLiteral("Button1"));
  yes_->setGeometry(24, 58, 75, 25);
  yes_->setAutoDefault(false);
  no_ = new QPushButton(QStringLiteral("Нет"), this);
  no_->setObjectName(QStringLiteral("Button2"));
  no_->setGeometry(131, 58, 75, 25);
  no_->setAutoDefault(false);
  connect(yes_, &QPushButton::clicked, this, &TForm3::Button1Click);
  connect(no_, &QPushButton::clicked, this, &TForm3::Button2Click);
}

int64_t TForm3::ask_frequency(Side side) {
  setWindowTitle(qt_text(side == Side::rx ? frequency_title_rx : frequency_title_tx));
  result_ = 0;
  edit_->clear();
  edit_->setFocus();
  exec();
  return result_;
}

void TForm3::show_out_of_band() {
  show_message(parentWidget(), QMessageBox::Warning, qt_text(input_error_caption),
               qt_text(out_of_band_text));
}

void TForm3::Button1Click() {
  const auto hz = parse_frequency_text(edit_->text().toStdString());
  if (!hz) {
    show_message(this, QMessageBox::Warning, qt_text(input_error_caption),
                 qt_text(frequency_text_refusal(edit_->text().toStdString())));
    edit_->setFocus();
    return;
  }
  result_ = *hz;
  accept();
}

void TForm3::Button2Click() {
  result_ = 0;
  reject();
}

void TForm3::keyPressEvent(QKeyEvent* event) {
  // Enter presses the button that has the focus ("Да" or "Нет"); in the field it accepts.
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && (yes_->hasFocus() || no_->hasFocus())) {
    (yes_->hasFocus() ? yes_ : no_)->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool TForm3::eventFilter(QObject* watched, QEvent* event) {
  if (watched != edit_ || event->type() != QEvent::KeyPress)
    return QDialog::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
    Button1Click();
    return true;
  }
  if (key->key() == Qt::Key_Escape) {
    Button2Click();
    return true;
  }
  const QString text = key->text();
  // Keys without a printable character (backspace, arrows, delete, the clipboard shortcuts) keep
  // their usual meaning; every printable character passes the filter first.
  if (text.isEmpty() || (text.size() == 1 && text[0].unicode() < 0x20) ||
      text[0].unicode() == 0x7F) {
    return false;
  }
  if (text.size() != 1 || text[0].unicode() > 0x7E) return true;
  const auto typed =
      frequency_key_filter(static_cast<char>(text[0].unicode()), edit_->text().toStdString());
  if (!typed) return true;
  if (*typed != text[0].toLatin1()) {
    edit_->insert(QString(QLatin1Char(*typed)));
    return true;
  }
  return false;
}

}  // namespace tirna
