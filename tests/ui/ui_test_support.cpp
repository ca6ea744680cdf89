#include "ui_test_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "core/text/cp1251.h"

namespace tirna::test {

Program_folder::Program_folder() : previous_(QDir::currentPath()) {
  QDir::setCurrent(dir_.path());
}

Program_folder::~Program_folder() {
  QDir::setCurrent(previous_);
}

QByteArray Program_folder::read(const QString& name) const {
  QFile f(file(name));
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

void Program_folder::write(const QString& name, const QByteArray& bytes) const {
  QFile f(file(name));
  if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

bool Program_folder::exists(const QString& name) const {
  return QFile::exists(file(name));
}

Offscreen_screen::Offscreen_screen(int width, int height) {
  if (qEnvironmentVariable("QT_QPA_PLATFORM") != QStringLiteral("offscreen")) return;
  if (!config_.open()) return;
  config_.write(QStringLiteral(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": %1,
      "height": %2, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                    .arg(width)
                    .arg(height)
                    .toUtf8());
  config_.flush();
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config_.fileName()));
}

void Window_fixture::open_window() {
  folder_ = std::make_unique<Program_folder>();
  w_ = std::make_unique<TForm1>();
  w_->show();
  QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
}

void Window_fixture::close_window() {
  if (w_) w_->workspace().state.modified = false;
  w_.reset();
  folder_.reset();
}

void when_modal(std::function<void(QWidget*)> action) {
  QTimer::singleShot(0, qApp, [action = std::move(action)] {
    QWidget* modal = QApplication::activeModalWidget();
    QVERIFY2(modal != nullptr, "a modal window was expected");
    action(modal);
    // A failed check inside the step leaves the window open: close it so that nothing hangs.
    if (QTest::currentTestFailed() && QApplication::activeModalWidget() == modal) modal->close();
  });
}

void answer_box(Box_seen& seen, QMessageBox::StandardButton button) {
  when_modal([&seen, button](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    QVERIFY2(box != nullptr, qPrintable(QStringLiteral("a message box was expected, not ") +
                                        w->metaObject()->className()));
    record_box(seen, *box);
    QAbstractButton* answer = box->button(button);
    QVERIFY2(answer != nullptr, "the box lacks the expected button");
    answer->click();
  });
}

void watch_for_modal(bool& asked) {
  QTimer::singleShot(0, qApp, [&asked] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      asked = true;
      modal->close();
    }
  });
}

void expect_no_modal_after(const std::function<void()>& code) {
  bool asked = false;
  watch_for_modal(asked);
  code();
  QCoreApplication::processEvents();
  QVERIFY2(!asked, "a modal window was opened");
}

void click_cell(QTableWidget* table, int row, int column) {
  const QRect cell = table->visualItemRect(table->item(row, column));
  QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
}

void double_click_cell(QTableWidget* table, int row, int column) {
  QWidget* viewport = table->viewport();
  const QPoint at = table->visualItemRect(table->item(row, column)).center();
  QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, at);
  QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, at);
  QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, at);
  QMouseEvent twice(QEvent::MouseButtonDblClick, at, viewport->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &twice);
  QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, at);
}

void click_button(QWidget* button) {
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(8, button->height() / 2));
}

void pick(QComboBox* list, int index) {
  list->showPopup();
  QAbstractItemView* view = list->view();
  view->setCurrentIndex(list->model()->index(index, 0));
  QTest::keyClick(view, Qt::Key_Return);
}

QByteArray cp1251(const QString& text) {
  return QByteArray::fromStdString(*utf8_to_cp1251(text.toStdString()));
}

}  // namespace tirna::test
