#pragma once
// Helpers of the window tests: a program folder to run in, answering modal windows, and user
// actions on the window's controls.

#include <QMessageBox>
#include <QString>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <functional>
#include <memory>

class QComboBox;
class QTableWidget;

#include "../support/modal.h"
#include "ui/app/main_window.h"
#include "ui/transfer/window_transfer_view.h"

namespace tirna {

// The window's parts, for the tests only: the window's own interface names none of them.
struct Window_parts {
  TForm1& w;
  Channel_page* channel_page() const { return w.channel_page_; }
  Settings_page* settings_page() const { return w.settings_page_; }
  Extra_page* extra_page() const { return w.extra_page_; }
  QTabWidget* PageControl1() const { return w.pages_; }
  QComboBox* ComboBox1() const { return w.band_list_; }
  QToolBar* ToolBar1() const { return w.tool_bar_; }
  QLabel* status_panel(int index) const {
    return index == 0 ? w.status_programmer_ : w.status_file_;
  }
  QLabel* status_trace() const { return w.status_trace_; }
  TForm10* Form10() const { return w.Form10(); }
  TForm11* Form11() const { return w.form11_; }
  TForm3* Form3() const { return w.form3_; }
  TForm4* Form4() const { return w.form4_; }
  Help_viewer* help_viewer() const { return w.help_; }
  QAction* action(const QString& object_name) const { return w.action(object_name); }
  Window_transfer_view* transfer_view() const { return w.transfers_.get(); }
  ui::Report_print_command* report_command() const { return w.report_; }
  QString save_folder() const { return w.save_folder(); }
  QString help_file() const { return w.help_file(); }
};

}  // namespace tirna

namespace tirna::test {

inline Window_parts parts(TForm1& w) { return Window_parts{w}; }
inline Window_parts parts(const std::unique_ptr<TForm1>& w) { return Window_parts{*w}; }

// A fresh temporary folder made the current directory (the window takes it as its program
// folder); the previous directory comes back at the end.
class Program_folder {
 public:
  Program_folder();
  ~Program_folder();
  Program_folder(const Program_folder&) = delete;
  Program_folder& operator=(const Program_folder&) = delete;

  QString path() const { return dir_.path(); }
  QString file(const QString& name) const { return dir_.filePath(name); }
  QByteArray read(const QString& name) const;
  void write(const QString& name, const QByteArray& bytes) const;
  bool exists(const QString& name) const;

 private:
  QTemporaryDir dir_;
  QString previous_;
};

// The fixture of the window tests: for each test a fresh program folder and the main window shown
// in it; at its end the window closes without asking to save. A test class that needs more before
// each test has an init() of its own that calls open_window() first.
class Window_fixture : public QObject {
  Q_OBJECT
 protected:
  void open_window();
  void close_window();
  Workspace& ws() const { return w_->workspace(); }
  std::unique_ptr<Program_folder> folder_;
  std::unique_ptr<TForm1> w_;

 private slots:
  void init() { open_window(); }
  void cleanup() { close_window(); }
};

// Runs action with the modal window that the code about to run opens (armed before that code
// runs; it fires inside the modal window's own event loop). Steps that open a further modal
// window arm the next answer before they press the button that opens it.
void when_modal(std::function<void(QWidget*)> action);

// Answers the next modal message box with the button of that role and records it.
void answer_box(Box_seen& seen, QMessageBox::StandardButton button);

// Runs code, which must open no modal window: one that opens anyway is closed (so that nothing
// hangs) and fails the test.
void expect_no_modal_after(const std::function<void()>& code);
// The same from inside a modal step: arms a watch that closes the next modal window and sets
// asked; check asked once the command has ended.
void watch_for_modal(bool& asked);

// A mouse click on a table cell as the user makes it.
void click_cell(QTableWidget* table, int row, int column);
// A double click as the system delivers it: press, release, press, double click, release.
void double_click_cell(QTableWidget* table, int row, int column);
// A click on a check box or radio button where its indicator is.
void click_button(QWidget* button);
// The user picks item index of a pick-only list through its drop-down.
void pick(QComboBox* list, int index);

// Made before the application object: under the offscreen platform (whose own screen is 800x600)
// a screen of this size, so that a test can check that windows fit a common laptop's.
class Offscreen_screen {
 public:
  Offscreen_screen(int width, int height);

 private:
  QTemporaryFile config_;
};

// The text of a cp1251 config file as UTF-8 (for readable comparisons).
QByteArray cp1251(const QString& text);

}  // namespace tirna::test
