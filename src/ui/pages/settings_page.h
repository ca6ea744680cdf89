#pragma once
// The general-settings page: 14 pick-only lists, each right of its caption. It draws the
// selections of the window's view and reports only the user's picks.

#include <QWidget>
#include <array>

#include "core/channels/window_view.h"

class QComboBox;
class QLabel;

namespace tirna {

class Settings_page : public QWidget {
  Q_OBJECT
 public:
  explicit Settings_page(QWidget* parent = nullptr);

  // Selects what the view says (the squelch-key list in the form it says); no pick is reported.
  void show_settings(const Settings_view& view);

  // The list of slot 0..13 (ComboBox201 .. ComboBox215 in page order) and its caption.
  QComboBox* list(int slot) const { return lists_[slot]; }
  QLabel* caption(int slot) const { return captions_[slot]; }
  // The panel that takes the focus when the page is shown.
  QWidget* panel() const { return panel_; }

 signals:
  void picked(int slot, int item);

 private:
  void fill(int slot, Squelch_form form);

  QWidget* panel_;
  std::array<QComboBox*, settings_count> lists_{};
  std::array<QLabel*, settings_count> captions_{};
  Squelch_form squelch_form_shown_ = Squelch_form::long_form;
};

}  // namespace tirna
