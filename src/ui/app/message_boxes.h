#pragma once
// The message boxes of the program: fixed texts, captions, icons and buttons ("Да", "Нет", "OK").
// Texts keep their line breaks as the single character CR; the boxes show them as line breaks.

#include <QMessageBox>
#include <QString>
#include <string_view>

namespace tirna {

QString qt_text(std::string_view utf8);

// The program's message box: its lines break only where the text breaks them (at CR), as far as
// the screen allows, and a question with Yes and No has no cancel: Esc does nothing there.
class Message_box : public QMessageBox {
 public:
  Message_box(Icon icon, const QString& caption, const QString& text, StandardButtons buttons,
              QWidget* parent);

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

// An information, warning or stop box with one OK button.
void show_message(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                  const QString& text);

// A question with the buttons Yes and No; true for Yes.
bool ask_yes_no(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                const QString& text);

// The application's standard error box: the failure text with the full-stop rule, caption
// "ПО Тирна-520", stop icon, OK.
void show_error_box(QWidget* parent, std::string_view failure_text);

}  // namespace tirna
