#pragma once
// The frequency entry dialog TForm3: one field for megahertz with the entry's key filter, "Да"
// and "Нет". A text that is not a number is refused and the dialog stays open.

#include <QDialog>

#include "core/channels/frequency_entry.h"

class QLineEdit;
class QPushButton;

namespace tirna {

class TForm3 : public QDialog, public Frequency_dialog {
  Q_OBJECT
 public:
  explicit TForm3(QWidget* parent);

  // Frequency_dialog: the entered frequency in Hz, 0 when cancelled or empty.
  int64_t ask_frequency(Side side) override;
  void show_out_of_band() override;

  QLineEdit* AdvEdit1() const { return edit_; }
  QPushButton* Button1() const { return yes_; }
  QPushButton* Button2() const { return no_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Button1Click();
  void Button2Click();

  QLineEdit* edit_;
  QPushButton* yes_;
  QPushButton* no_;
  int64_t result_ = 0;
};

}  // namespace tirna
