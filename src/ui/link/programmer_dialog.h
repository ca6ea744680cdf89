#pragma once
// The programmer choice dialog TForm2: programmer type (the USB programmer cannot be picked here)
// and COM port 1 to 4. It changes the choice only when closed with "Да".

#include <QDialog>

#include "core/link/programmer_choice.h"

class QButtonGroup;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace tirna {

class TForm2 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm2(QWidget* parent);

  // Shows the dialog modally for the choice; on "Да" the type and port index become the selected
  // items' indexes, otherwise nothing changes.
  void choose(Programmer_choice& choice);

  QGroupBox* RadioGroup1() const { return type_group_; }
  QGroupBox* RadioGroup2() const { return port_group_; }
  QRadioButton* type_item(int index) const;
  QRadioButton* port_item(int index) const;
  QPushButton* Button1() const { return yes_; }
  QPushButton* Button2() const { return no_; }

 private:
  void FormShow(const Programmer_choice& choice);
  void RadioGroup1Click();
  void FormClose(Programmer_choice& choice);

  QGroupBox* type_group_;
  QGroupBox* port_group_;
  QButtonGroup* types_;
  QButtonGroup* ports_;
  QPushButton* yes_;
  QPushButton* no_;
  bool accepted_mark_ = false;
};

}  // namespace tirna
