#pragma once
// The additional-data page: model, factory number and time of the last programming as labels,
// the free text in a text box (RichEdit1), and the buttons "Чтение" and "Запись" of the
// additional data.

#include <QWidget>
#include <optional>
#include <string>

#include "core/channels/window_view.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tirna {

class Extra_page : public QWidget {
  Q_OBJECT
 public:
  explicit Extra_page(QWidget* parent = nullptr);

  // Replaces the labels and the box text (whatever was typed) with the view's.
  void show_extra(const Extra_view& view);

  // The box text as code-page-1251 bytes with CR LF line breaks, as set_dop_dat takes it;
  // nullopt when it holds a character code page 1251 cannot store.
  std::optional<std::string> free_text_bytes() const;

  QLabel* model_label() const { return model_; }
  QLabel* factory_number_label() const { return factory_number_; }
  QLabel* time_label() const { return time_; }
  QPlainTextEdit* RichEdit1() const { return text_; }
  QPushButton* Button301() const { return read_; }
  QPushButton* Button302() const { return write_; }

 private:
  QLabel* model_;
  QLabel* factory_number_;
  QLabel* time_;
  QPlainTextEdit* text_;
  QPushButton* read_;
  QPushButton* write_;
};

}  // namespace tirna
