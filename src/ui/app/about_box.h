#pragma once
// The about box TForm11: program name, version and maker, closed by "Закрыть" or Esc.

#include <QDialog>

class QLabel;
class QPushButton;

namespace tirna {

class TForm11 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm11(QWidget* parent);

  QLabel* name_label() const { return name_; }
  QLabel* version_label() const { return version_; }
  QPushButton* Button1() const { return close_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* name_;
  QLabel* version_;
  QPushButton* close_;
};

}  // namespace tirna
