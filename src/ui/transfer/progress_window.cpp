#include "ui/transfer/progress_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>

#include "ui/app/message_boxes.h"
#include "ui/app/window_placement.h"

namespace tirna {
namespace {

constexpr int client_width = 336;
constexpr int client_height = 69;

}  // namespace

TForm10::TForm10(QWidget* main_window)
    : QWidget(main_window, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                               Qt::WindowTitleHint),
      main_window_(main_window) {
  setObjectName(QStringLiteral("TForm10"));
  // A window takes no font from its owner: the main window's, so that the texts measure alike.
  if (main_window != nullptr) setFont(main_window->font());
  setFixedSize(client_width, client_height);
  setWindowModality(Qt::NonModal);

  label1_ = new QLabel(this);
  label1_->setObjectName(QStringLiteral("Label1"));
  label1_->setTextFormat(Qt::PlainText);
  label1_->move(8, 16);
  label2_ = new QLabel(this);
  label2_->setObjectName(QStringLiteral("Label2"));
  label2_->setTextFormat(Qt::PlainText);
  label2_->move(304, 16);
  bar_ = new QProgressBar(this);
  bar_->setObjectName(QStringLiteral("ProgressBar1"));
  bar_->setGeometry(8, 40, 321, 17);
  bar_->setTextVisible(false);
  bar_->setRange(0, 1);
  bar_->setValue(0);
}

void TForm10::show_transfer(std::string_view caption, std::string_view label, int maximum) {
  setWindowTitle(qt_text(caption));
  label1_->setText(qt_text(label));
  label1_->adjustSize();
  bar_->setRange(0, maximum);
  bar_->setValue(0);
  show_progress(Progress{0, maximum});
  centre_on_main_window();
  show();
  centre_on_main_window();  // the frame is known once the window shows
}

void TForm10::show_progress(const Progress& progress) {
  bar_->setValue(progress.position);
  label2_->setText(QString::fromStdString(progress.label()));
  label2_->adjustSize();
}

void TForm10::close_transfer() {
  hide();
}

void TForm10::closeEvent(QCloseEvent* event) {
  event->ignore();
}

void TForm10::centre_on_main_window() {
  if (main_window_ == nullptr) return;
  // Before the first showing the main window's frame stands in for the dialog's own.
  centre_window(this, main_window_->frameGeometry().center());
}

}  // namespace tirna
