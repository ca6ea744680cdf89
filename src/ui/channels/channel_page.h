#pragma once
// The channel page: the table StringGrid101 (16 channels, 9 columns), the boxes "Канал выключен"
// (CheckBox1..16) and "Запрет передачи" (CheckBox21..36) level with their rows, and the column
// captions joined to their columns by thin lines. It only draws rows of the window's view and
// reports clicks, toggles and the focus entering a box.

#include <QWidget>
#include <array>
#include <vector>

#include "core/channels/window_view.h"

class QCheckBox;
class QTableWidget;

namespace tirna {

class Channel_page : public QWidget {
  Q_OBJECT
 public:
  explicit Channel_page(QWidget* parent = nullptr);

  // Rewrites every cell text, tick and enabled state; none of it counts as a user action.
  void show_rows(const std::array<Channel_row_view, channel_count>& rows);

  QTableWidget* StringGrid101() const { return grid_; }
  // The rows (0..15) the user selected, in order; the current row when none is.
  std::vector<int> selected_rows() const;
  // Selects these rows whole (after they moved), the first one current.
  void select_rows(const std::vector<int>& rows);
  // Box 1..16 ("Канал выключен") or 21..36 ("Запрет передачи").
  QCheckBox* CheckBox(int number) const;

  // Column widths of the table (column 0 holds the row labels) and its row height, in pixels
  // between the grid lines.
  static constexpr std::array<int, table_columns> column_widths = {18, 75, 64, 75, 64,
                                                                   68, 58, 68, 68};
  static constexpr int row_height = 17;
  // Cell texts start this many pixels right of the grid line, as in a string grid.
  static constexpr int text_margin = 2;

  // Where each column caption stands and the x of the line that joins it to its column.
  struct Caption_place {
    QString text;
    QRect rect;
    int line_x;
  };
  std::vector<Caption_place> caption_places() const;

 signals:
  // A plain click (one with Shift or Ctrl only selects), or the key that does what a click does:
  // Enter or F2 on a frequency or sub-tone cell (its dialog), Space on a flag cell (its toggle).
  void cell_clicked(int column, int row);
  // The context menu of the table was asked for, at a global position.
  void table_menu_requested(const QPoint& global_pos);
  void box_toggled(int number, bool ticked);
  void box_entered();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void select_rows_from_label(int row, Qt::KeyboardModifiers held);
  void place_controls();
  int column_center(int column) const;  // x of a table column's middle, on this page

  QTableWidget* grid_;
  Qt::KeyboardModifiers click_modifiers_;  // of the click the table reports
  int anchor_row_ = 0;                     // where a Shift click on a row label extends from
  std::array<QCheckBox*, channel_count> off_boxes_{};
  std::array<QCheckBox*, channel_count> tx_boxes_{};
};

}  // namespace tirna
