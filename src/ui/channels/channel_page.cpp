#include "ui/channels/channel_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include <algorithm>
#include <numeric>

#include "core/catalogue/catalogue.h"
#include "ui/app/message_boxes.h"

namespace tirna {
namespace {

constexpr int caption_top = 3;
constexpr int caption_step = 14;
constexpr int table_top = caption_top + 4 * caption_step + 6;
constexpr int box_column_width = 24;
constexpr int grid_line = 1;

// Draws a cell as a string grid does: the text 2 pixels from the left edge, one line, clipped.
// The blanks that lead the texts do the aligning.
class Grid_cell_delegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem cell(option);
    initStyleOption(&cell, index);
    const QString text = cell.text;
    cell.text.clear();
    const QWidget* view = cell.widget;
    QStyle* style = view != nullptr ? view->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, view);
    const bool selected = cell.state & QStyle::State_Selected;
    painter->save();
    painter->setPen(cell.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(cell.font);
    painter->drawText(cell.rect.adjusted(Channel_page::text_margin, 0, 0, 0),
                      Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    painter->restore();
  }
};

}  // namespace

Channel_page::Channel_page(QWidget* parent) : QWidget(parent) {
  grid_ = new QTableWidget(channel_count, table_columns, this);
  grid_->setObjectName(QStringLiteral("StringGrid101"));
  grid_->horizontalHeader()->hide();
  grid_->verticalHeader()->hide();
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Rows are selected for Copy with Shift or Ctrl held (such a click edits nothing).
  grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
  grid_->setTabKeyNavigation(false);
  grid_->setAutoScroll(false);
  grid_->setWordWrap(false);
  grid_->setTextElideMode(Qt::ElideNone);
  grid_->setCornerButtonEnabled(false);
  grid_->setItemDelegate(new Grid_cell_delegate(grid_));
  grid_->horizontalHeader()->setMinimumSectionSize(1);
  grid_->verticalHeader()->setMinimumSectionSize(1);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->verticalHeader()->setDefaultSectionSize(row_height + grid_line);
  for (int c = 0; c < table_columns; ++c) grid_->setColumnWidth(c, column_widths[c] + grid_line);

  const QBrush fixed_background = palette().brush(QPalette::Button);
  for (int r = 0; r < channel_count; ++r) {
    for (int c = 0; c < table_columns; ++c) {
      auto* item = new QTableWidgetItem;
      if (c == 0) {
        // The row label column: fixed, never selected, drawn like a header.
        item->setFlags(Qt::ItemIsEnabled);
        item->setBackground(fixed_background);
        item->setText(qt_text(channel_label(r + 1)));
      } else {
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      }
      grid_->setItem(r, c, item);
    }
  }
  grid_->setCurrentCell(0, 1);
  const int frame = grid_->frameWidth();
  grid_->setFixedSize(std::accumulate(column_widths.begin(), column_widths.end(), 0) +
                          table_columns * grid_line + 2 * frame,
                      channel_count * (row_height + grid_line) + 2 * frame);
  connect(grid_, &QTableWidget::cellClicked, this, [this](int row, int column) {
    const Qt::KeyboardModifiers held = click_modifiers_;
    if (column == 0) {
      select_rows_from_label(row, held);
    } else if (!(held & (Qt::ShiftModifier | Qt::ControlModifier))) {
      emit cell_clicked(column, row);
    }
  });
  grid_->viewport()->installEventFilter(this);
  grid_->installEventFilter(this);
  grid_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    // The menu is for the selected rows; a row outside them becomes the current one.
    const int row = grid_->rowAt(at.y());
    const std::vector<int> rows = selected_rows();
    if (row >= 0 && std::find(rows.begin(), rows.end(), row) == rows.end()) {
      grid_->setCurrentCell(row, std::max(1, grid_->columnAt(at.x())));
    }
    emit table_menu_requested(grid_->viewport()->mapToGlobal(at));
  });

  for (int n = 1; n <= channel_count; ++n) {
    auto* off = new QCheckBox(this);
    off->setObjectName(QStringLiteral("CheckBox%1").arg(n));
    auto* tx = new QCheckBox(this);
    tx->setObjectName(QStringLiteral("CheckBox%1").arg(20 + n));
    for (auto* box : {off, tx}) box->installEventFilter(this);
    connect(off, &QCheckBox::clicked, this,
            [this, n](bool ticked) { emit box_toggled(n, ticked); });
    connect(tx, &QCheckBox::clicked, this,
            [this, n](bool ticked) { emit box_toggled(20 + n, ticked); });
    off_boxes_[n - 1] = off;
    tx_boxes_[n - 1] = tx;
  }
  // Tab order as the page reads: the table, then each box column top to bottom.
  QWidget* previous = grid_;
  for (const auto& column : {off_boxes_, tx_boxes_}) {
    for (QCheckBox* box : column) {
      setTabOrder(previous, box);
      previous = box;
    }
  }
  place_controls();
}

// A click on a row label selects that row; with Shift the rows from the current one to it, with
// Ctrl it adds or removes the row. A selection is no edit of the image.
void Channel_page::select_rows_from_label(int row, Qt::KeyboardModifiers held) {
  const auto whole_row = [this](int r) {
    return QTableWidgetSelectionRange(r, 1, r, table_columns - 1);
  };
  if (held & Qt::ShiftModifier) {
    const int from = anchor_row_;
    grid_->clearSelection();
    grid_->setRangeSelected(QTableWidgetSelectionRange(std::min(from, row), 1, std::max(from, row),
                                                       table_columns - 1),
                            true);
    return;
  }
  if (held & Qt::ControlModifier) {
    const bool selected = grid_->item(row, 1)->isSelected();
    grid_->setRangeSelected(whole_row(row), !selected);
  } else {
    grid_->clearSelection();
    grid_->setRangeSelected(whole_row(row), true);
  }
  anchor_row_ = row;
  grid_->setCurrentCell(row, 1, QItemSelectionModel::NoUpdate);
}

std::vector<int> Channel_page::selected_rows() const {
  std::vector<int> rows;
  for (const QTableWidgetItem* item : grid_->selectedItems()) rows.push_back(item->row());
  if (rows.empty() && grid_->currentRow() >= 0) rows.push_back(grid_->currentRow());
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

void Channel_page::select_rows(const std::vector<int>& rows) {
  grid_->clearSelection();
  for (int r : rows) {
    grid_->setRangeSelected(QTableWidgetSelectionRange(r, 1, r, table_columns - 1), true);
  }
  if (!rows.empty()) {
    anchor_row_ = rows.front();
    grid_->setCurrentCell(rows.front(), std::max(1, grid_->currentColumn()),
                          QItemSelectionModel::NoUpdate);
  }
}

QCheckBox* Channel_page::CheckBox(int number) const {
  if (number >= 1 && number <= channel_count) return off_boxes_[number - 1];
  if (number >= 21 && number <= 20 + channel_count) return tx_boxes_[number - 21];
  return nullptr;
}

void Channel_page::show_rows(const std::array<Channel_row_view, channel_count>& rows) {
  {
    const QSignalBlocker block(grid_->model());
    for (int r = 0; r < channel_count; ++r) {
      for (int c = 1; c < table_columns; ++c) {
        const QString text = qt_text(rows[r].cells[c]);
        QTableWidgetItem* item = grid_->item(r, c);
        if (item->text() != text) item->setText(text);
      }
    }
  }
  grid_->viewport()->update();
  for (int r = 0; r < channel_count; ++r) {
    const QSignalBlocker block_off(off_boxes_[r]);
    const QSignalBlocker block_tx(tx_boxes_[r]);
    off_boxes_[r]->setChecked(rows[r].off_ticked);
    tx_boxes_[r]->setChecked(rows[r].tx_inhibit_ticked);
    tx_boxes_[r]->setEnabled(rows[r].tx_box_enabled);
  }
}

bool Channel_page::eventFilter(QObject* watched, QEvent* event) {
  if (watched == grid_ && event->type() == QEvent::KeyPress) {
    // The keyboard reaches every cell: what a click on the current cell does. Moving the cursor
    // alone changes nothing.
    const auto* key = static_cast<QKeyEvent*>(event);
    const int row = grid_->currentRow(), column = grid_->currentColumn();
    const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    const bool opens = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
                       key->key() == Qt::Key_F2;
    const bool toggles = key->key() == Qt::Key_Space;
    if (plain && row >= 0 && ((opens && column >= 1 && column <= 4) ||
                              (toggles && column >= 5 && column < table_columns))) {
      emit cell_clicked(column, row);
      return true;
    }
    return QWidget::eventFilter(watched, event);
  }
  if (watched == grid_->viewport() &&
      (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease)) {
    click_modifiers_ = static_cast<QMouseEvent*>(event)->modifiers();  // before cellClicked
    return QWidget::eventFilter(watched, event);
  }
  if (event->type() == QEvent::FocusIn && qobject_cast<QCheckBox*>(watched) != nullptr) {
    // Only the user enters a box: by the keyboard or by the click that toggles it. The focus
    // coming back with the window or with the page (a box had it when the page was left) is none.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
        reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason) {
      emit box_entered();
    }
  }
  return QWidget::eventFilter(watched, event);
}

int Channel_page::column_center(int column) const {
  if (column == -1) return off_boxes_[0]->geometry().center().x();
  if (column == -2) return tx_boxes_[0]->geometry().center().x();
  int x = grid_->x() + grid_->frameWidth();
  for (int c = 0; c < column; ++c) x += column_widths[c] + grid_line;
  return x + column_widths[column] / 2;
}

void Channel_page::place_controls() {
  const int used = 2 * box_column_width + 6 + grid_->width();
  const int left = std::max(2, (width() - used) / 2);
  grid_->move(left + 2 * box_column_width + 6, table_top);
  const int first_row = table_top + grid_->frameWidth();
  for (int r = 0; r < channel_count; ++r) {
    const int y = first_row + r * (row_height + grid_line);
    off_boxes_[r]->setGeometry(left + 4, y, box_column_width - 4, row_height + grid_line);
    tx_boxes_[r]->setGeometry(left + box_column_width + 4, y, box_column_width - 4,
                              row_height + grid_line);
  }
}

void Channel_page::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  place_controls();
}

std::vector<Channel_page::Caption_place> Channel_page::caption_places() const {
  std::vector<Caption_place> places;
  const QFontMetrics metrics = fontMetrics();
  // The catalogue's channel parameters, each captioned on its line of the staggered captions.
  for (const Parameter* parameter : channel_parameters()) {
    const QString text = qt_text(parameter->caption);
    const bool box = parameter->kind == Parameter_kind::channel_box;
    // Column -1 and -2 are the two box columns.
    const int line_x = column_center(box ? -1 - parameter->column : parameter->column);
    const int text_width = metrics.horizontalAdvance(text);
    // Centred over its column and kept inside the page; the box captions start at their box.
    int x = box ? line_x - 8 : line_x - text_width / 2;
    x = std::clamp(x, 2, std::max(2, width() - text_width - 2));
    const int y = caption_top + parameter->caption_line * caption_step;
    places.push_back({text, QRect(x, y, text_width, metrics.height()), line_x});
  }
  return places;
}

void Channel_page::paintEvent(QPaintEvent*) {
  QPainter p(this);
  for (const Caption_place& place : caption_places()) {
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(place.rect, Qt::AlignLeft | Qt::AlignVCenter, place.text);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(place.line_x, place.rect.bottom() + 1, place.line_x, table_top - 1);
  }
}

}  // namespace tirna
