// The faults a technician met in the window, each as it must be now: tool-bar hints that hold,
// page switching that is no edit, the wheel over the band selector, questions without a cancel,
// Enter on the frequency dialog's buttons, the programmer status panel, the report's PDF choice,
// the about box, and message lines that break only where the text does.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

#include "core/files/param_file.h"
#include "core/image/frequency.h"
#include "core/transfer/transfer_messages.h"
#include "core/usb/programmer_status.h"
#include "platform/files/safe_file.h"
#include "platform/programmer_status_timer.h"
#include "ui/app/about_box.h"
#include "ui/app/main_window.h"
#include "ui/app/message_boxes.h"
#include "ui/channels/channel_page.h"
#include "ui/channels/frequency_dialog.h"
#include "ui/pages/settings_page.h"
#include "ui/report/report_print_command.h"
#include "ui_test_support.h"

namespace tirna {

using test::Box_seen;

class Window_faults_test : public test::Window_fixture {
  Q_OBJECT

 private:
  QStringList hints() const {
    QStringList out;
    for (auto* b : test::parts(w_).ToolBar1()->findChildren<QToolButton*>()) out << b->toolTip();
    return out;
  }
  QTableWidget* grid() const { return test::parts(w_).channel_page()->StringGrid101(); }

 private slots:
  void the_tool_bar_hints_hold_for_the_whole_run() {
    const QStringList before = hints();
    QVERIFY(before.contains(QStringLiteral("Новый файл")));
    QVERIFY(before.contains(QStringLiteral("Чтение параметров")));
    w_->blok_btn();  // as every transfer does
    w_->razblok_btn();
    QCOMPARE(hints(), before);
  }

  void switching_pages_is_no_edit_but_entering_a_box_is() {
    QCheckBox* box = test::parts(w_).channel_page()->CheckBox(5);
    box->setFocus(Qt::TabFocusReason);
    QVERIFY(ws().state.modified);  // the user tabbed into a box
    ws().state.modified = false;
    // The page control gives the focus back to the box when page 0 shows again: no edit.
    w_->N16Click();
    w_->N15Click();
    test::parts(w_).PageControl1()->setCurrentIndex(2);
    test::parts(w_).PageControl1()->setCurrentIndex(0);
    QVERIFY(!ws().state.modified);
    test::expect_no_modal_after([this] { QVERIFY(w_->close()); });  // nothing to ask
  }

  // The wheel over a list the user is not working in turns nothing: the band selector (whose change
  // asks to erase the channels) and every settings list. A real wheel event first gives the focus
  // to a list whose policy takes it by the wheel, so none may. Once the list has the focus, the
  // wheel picks as usual.
  void the_wheel_turns_only_a_list_that_has_the_focus() {
    QList<QComboBox*> lists = test::parts(w_).settings_page()->findChildren<QComboBox*>();
    lists.prepend(test::parts(w_).ComboBox1());
    const auto wheel_over = [](QComboBox* list) {
      QWheelEvent wheel(QPointF(10, 10), list->mapToGlobal(QPointF(10, 10)), QPoint(),
                        QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(list, &wheel);
    };
    for (QComboBox* list : lists) {
      QVERIFY2(list->focusPolicy() != Qt::WheelFocus, qPrintable(list->objectName()));
      grid()->setFocus();
      const int before = list->currentIndex();
      test::expect_no_modal_after([&] { wheel_over(list); });
      QCOMPARE(list->currentIndex(), before);
    }
    QCOMPARE(ws().state.band_index, 0);
    QVERIFY(!ws().state.modified);
    QComboBox* timer = lists.at(1);
    timer->setFocus();
    if (!timer->hasFocus()) return;  // no window manager gives focus here; the rest is Qt's own
    wheel_over(timer);
    QVERIFY(ws().state.modified);
  }

  void escape_does_nothing_in_a_yes_no_question() {
    ws().state.modified = true;
    bool still_open = false;
    test::when_modal([&](QWidget* w) {
      QTest::keyClick(w, Qt::Key_Escape);
      still_open = w->isVisible();
      static_cast<QMessageBox*>(w)->button(QMessageBox::No)->click();
    });
    QVERIFY(w_->close());  // No: closed without saving
    QVERIFY(still_open);
  }

  void enter_on_a_focused_button_presses_it() {
    const Param_image before = ws().image;
    for (bool yes : {false, true}) {
      test::when_modal([yes](QWidget* w) {
        auto* d = qobject_cast<TForm3*>(w);
        QVERIFY(d != nullptr);
        QTest::keyClicks(d->AdvEdit1(), "150");
        QPushButton* button = yes ? d->Button1() : d->Button2();
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
        if (d->isVisible()) d->reject();  // Enter did nothing: the test fails below
      });
      test::click_cell(grid(), 0, 1);
      QCOMPARE(channel_frequency(ws().image, 1, Side::rx, ws().state.coding_version),
               yes ? 150000000 : 160000000);
      if (!yes) QVERIFY(ws().image == before);
    }
  }

  void the_programmer_status_shows_its_whole_text() {
    QLabel* panel = test::parts(w_).status_panel(0);
    Programmer_status_timer* timer = w_->status_timer();
    for (const QString& text :
         {qt_text(usb_programmer_connected_text), qt_text(usb_programmer_missing_text),
          qt_text(com_programmer_text(99))}) {
      emit timer->panel_text(text);
      QCOMPARE(panel->text(), text);
      QCOMPARE(panel->toolTip(), text);
      QVERIFY2(panel->contentsRect().width() >= panel->fontMetrics().horizontalAdvance(text),
               qPrintable(text));
    }
    QCOMPARE(panel->text(), QStringLiteral("Программатор COM100"));
  }

  void the_report_never_replaces_a_parameter_file_and_asks_before_replacing_another() {
    const QString tn5 = folder_->file(QStringLiteral("Save/radio.tn5"));
    QVERIFY(!save_image(safe_files(), QFile::encodeName(tn5).toStdString(), ws().image));
    const QByteArray parameters = folder_->read(QStringLiteral("Save/radio.tn5"));
    const QString pdf = folder_->file(QStringLiteral("Save/old.pdf"));
    folder_->write(QStringLiteral("Save/old.pdf"), "old");
    // choose_pdf: the dialog's PDF choice with path, then OK; then `then` with what follows.
    const auto choose_pdf = [](const QString& path, std::function<void(QWidget*)> then) {
      test::when_modal([path, then](QWidget* dialog) {
        dialog->findChild<QRadioButton*>(QStringLiteral("pdf_choice"))->setChecked(true);
        dialog->findChild<QLineEdit*>(QStringLiteral("pdf_path"))->setText(path);
        test::when_modal(then);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
      });
    };
    // A parameter file: refused, the dialog stays; then cancelled.
    QString refusal;
    choose_pdf(tn5, [&refusal](QWidget* box) {
      refusal = static_cast<QMessageBox*>(box)->text();
      QWidget* dialog = box->parentWidget();
      static_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
      QTimer::singleShot(0, dialog, [dialog] { static_cast<QDialog*>(dialog)->reject(); });
    });
    w_->N8Click();
    QVERIFY2(refusal.contains(QStringLiteral("файл параметров")), qPrintable(refusal));
    QCOMPARE(folder_->read(QStringLiteral("Save/radio.tn5")), parameters);
    // Another existing file: asked; No keeps it (the dialog stays and is cancelled), Yes replaces.
    for (bool replace : {false, true}) {
      QString question;
      choose_pdf(pdf, [&question, replace](QWidget* box) {
        auto* b = static_cast<QMessageBox*>(box);
        question = b->text();
        QWidget* dialog = box->parentWidget();
        b->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
        if (!replace) {
          QTimer::singleShot(0, dialog, [dialog] { static_cast<QDialog*>(dialog)->reject(); });
        }
      });
      w_->N8Click();
      QVERIFY2(question.contains(QStringLiteral("уже существует")), qPrintable(question));
      QCOMPARE(folder_->read(QStringLiteral("Save/old.pdf")) == "old", !replace);
    }
    QVERIFY(folder_->read(QStringLiteral("Save/old.pdf")).startsWith("%PDF"));
  }

  void the_about_box_has_its_labels_sizes() {
    TForm11* about = test::parts(w_).Form11();
    test::when_modal([](QWidget* w) { w->close(); });
    w_->N21Click();
    QCOMPARE(about->name_label()->geometry(), QRect(134, 16, 136, 24));
    QCOMPARE(about->version_label()->geometry(), QRect(134, 44, 92, 20));
    for (QLabel* label : {about->name_label(), about->version_label()}) {
      QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
               qPrintable(label->text()));
    }
  }

  void message_lines_break_only_at_the_breaks_of_the_text() {
    const QString text = qt_text(transfer_text::read_failed.text);
    int lines = 0;
    QString shown;
    test::when_modal([&](QWidget* w) {
      auto* label = w->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
      QVERIFY(label != nullptr);
      shown = label->text();
      lines = label->height() / label->fontMetrics().lineSpacing();
      static_cast<QMessageBox*>(w)->button(QMessageBox::Ok)->click();
    });
    show_message(w_.get(), QMessageBox::Warning, QStringLiteral("Ошибка чтения данных"), text);
    QCOMPARE(shown.count(QLatin1Char('\n')), 1);  // the CR of the text, and no other
    QCOMPARE(lines, 2);
  }
};

}  // namespace tirna

QTEST_MAIN(tirna::Window_faults_test)
#include "window_faults_test.moc"
