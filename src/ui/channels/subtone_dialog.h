#pragma once
// The sub-tone entry dialog TForm4: none, a CTCSS tone or a DCS code (normal or inverted). Its
// controls keep their state from one opening to the next; the logic preselects them from the
// stored sub-tone.

#include <QDialog>

#include "core/channels/subtone_entry.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace tirna {

class TForm4 : public QDialog, public Subtone_dialog {
  Q_OBJECT
 public:
  explicit TForm4(QWidget* parent);

  // Subtone_dialog: shows the state, lets the user change it, and reads it back (also after
  // "Нет", since the controls keep what the user left in them).
  bool ask_subtone(Side side, Subtone_dialog_state& state) override;
  void show_refused(const std::string& message) override;

  QGroupBox* RadioGroup1() const { return group_; }
  QRadioButton* choice_button(int index) const { return choices_[index]; }
  QComboBox* ComboBox1() const { return ctcss_; }
  QComboBox* ComboBox2() const { return dcs_; }
  QCheckBox* CheckBox1() const { return inverted_; }
  QPushButton* Button1() const { return yes_; }
  QPushButton* Button2() const { return no_; }

 private:
  void show_state(const Subtone_dialog_state& state);
  void read_state(Subtone_dialog_state& state) const;
  void show_enabled(const Subtone_dialog_state& state);
  void RadioGroup1Click(int choice);

  QGroupBox* group_;
  QRadioButton* choices_[3];
  QComboBox* ctcss_;
  QComboBox* dcs_;
  QCheckBox* inverted_;
  QPushButton* yes_;
  QPushButton* no_;
  Subtone_dialog_state* shown_ = nullptr;
};

}  // namespace tirna
