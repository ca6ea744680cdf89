#pragma once
// "Сравнение с радиостанцией": what the radio holds against what a write of the window's image
// would send, in Russian, one line per parameter (channel parameters with their channel), then
// the bytes the window does not show, by address.

#include <QDialog>
#include <QString>
#include <vector>

#include "core/compare/image_compare.h"

class QTableWidget;

namespace tirna {

// The comparison's lines: what differs, the window's text, the radio's text.
struct Comparison_line {
  QString what, window, radio;
};
std::vector<Comparison_line> comparison_lines(const Image_comparison& comparison);

class Comparison_dialog : public QDialog {
  Q_OBJECT
 public:
  Comparison_dialog(const Image_comparison& comparison, QWidget* parent);
  QTableWidget* table() const { return table_; }

 private:
  QTableWidget* table_;
};

}  // namespace tirna
