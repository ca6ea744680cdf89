#pragma once
// "Изменение каналов": one dialog that sets fields of all selected channels at once. Each field is
// a list whose first item, "не менять", keeps what each channel has; the sub-tone lists also take
// a sub-tone typed as the table shows one ("CTC 67,0", "DCS 023", "-DCS 754").

#include <QDialog>
#include <array>
#include <optional>

#include "core/edit/bulk_edit.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace tirna {

class Bulk_edit_dialog : public QDialog {
  Q_OBJECT
 public:
  explicit Bulk_edit_dialog(QWidget* parent);

  // Shows the dialog for a number of channels; the edit chosen, or nothing when "Нет" closed it.
  std::optional<Bulk_channel_edit> ask(int channels);

  // The lists, for tests: 0 transmit inhibit, 1 power, 2 width, 3 scanning, 4 busy lock-out,
  // 5 receive sub-tone, 6 transmit sub-tone.
  static constexpr int field_count = 7;
  QComboBox* field(int i) const { return fields_[i]; }
  QPushButton* Button1() const { return yes_; }
  QPushButton* Button2() const { return no_; }

 private:
  Bulk_channel_edit chosen() const;

  std::array<QComboBox*, field_count> fields_{};
  QLabel* title_;
  QPushButton* yes_;
  QPushButton* no_;
};

}  // namespace tirna
