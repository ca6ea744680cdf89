#pragma once
// The message boxes of the program: fixed texts, captions, icons and buttons ("Да", "Нет", "OK").
// Texts keep their line breaks as the single character CR; the boxes show them as line breaks.

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <cstddef>
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

// A failure with a list of reasons, however long: the text, the first reasons_shown reasons and
// "и ещё N", with the whole list behind "Подробнее" in a box that scrolls, and after it the
// number of reasons that were not listed at all (unlisted). The box stays inside the screen's
// available area.
inline constexpr int reasons_shown = 10;
void show_reasons(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                  const QString& text, const QStringList& reasons, std::size_t unlisted = 0);

// A question with the buttons Yes and No; true for Yes.
bool ask_yes_no(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                const QString& text);

// The application's standard error box: the failure text with the full-stop rule, caption
// "ПО Тирна-520", stop icon, OK.
void show_error_box(QWidget* parent, std::string_view failure_text);

}  // namespace tirna
