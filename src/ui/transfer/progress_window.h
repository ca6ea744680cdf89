#pragma once
// The progress window TForm10 of the transfers: modeless, a fixed border and no title-bar buttons
// (the user cannot close it), centred on the main window each time it shows. Created once at
// start-up and shown again and again.

#include <QWidget>
#include <string_view>

#include "core/transfer/transfer_view.h"

class QLabel;
class QProgressBar;

namespace tirna {

class TForm10 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm10(QWidget* main_window);

  // Caption and text of the transfer, "0%", an empty bar of `maximum`; then shows the window
  // centred on the main window.
  void show_transfer(std::string_view caption, std::string_view label, int maximum);
  // Bar position and percentage.
  void show_progress(const Progress& progress);
  // Hides the window; nothing when it is not shown.
  void close_transfer();

  QLabel* Label1() const { return label1_; }
  QLabel* Label2() const { return label2_; }
  QProgressBar* ProgressBar1() const { return bar_; }

 protected:
  // Only the transfer closes the window: the system's close request is refused.
  void closeEvent(QCloseEvent* event) override;

 private:
  void centre_on_main_window();

  QWidget* main_window_;
  QLabel* label1_;
  QLabel* label2_;
  QProgressBar* bar_;
};

}  // namespace tirna
