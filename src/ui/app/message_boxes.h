#pragma once
// The message boxes of the program: fixed texts, captions, icons and buttons ("Да", "Нет", "OK").
// Texts keep their line breaks as the single character CR; the boxes show them as line breaks.

#include <QMessageBox>
#include <QString>
#include <string_view>

namespace tirna {

QString qt_text(std::string_view utf8);

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
