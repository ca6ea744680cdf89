// The frequency dialog TForm3, the sub-tone dialog TForm4 and the programmer dialog TForm2,
// driven through their controls.

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

#include "core/image/channel_record.h"
#include "core/image/frequency.h"
#include "core/image/subtone.h"
#include "platform/config_file.h"
#include "platform/programmer_status_timer.h"
#include "ui/app/main_window.h"
#include "ui/channels/channel_page.h"
#include "ui/channels/frequency_dialog.h"
#include "ui/channels/subtone_dialog.h"
#include "ui/link/programmer_dialog.h"
#include "ui_test_support.h"

namespace tirna {

using test::Box_seen;
using test::Program_folder;

class Entry_dialogs_test : public test::Window_fixture {
  Q_OBJECT

 private:

  QTableWidget* grid() const { return test::parts(w_).channel_page()->StringGrid101(); }
  Param_image& image() const { return w_->workspace().image; }
  Channel_record_bytes record(int n) const { return channel_record(image(), n); }

  // Clicks a frequency cell and types into the dialog; finish answers the dialog.
  void enter_frequency(int row, int column, const std::function<void(TForm3*)>& finish) {
    test::when_modal([finish](QWidget* w) {
      auto* dialog = qobject_cast<TForm3*>(w);
      QVERIFY(dialog != nullptr);
      QCOMPARE(dialog->AdvEdit1()->text(), QString());  // emptied at every opening
      QCOMPARE(dialog->focusWidget(), dialog->AdvEdit1());
      finish(dialog);
    });
    test::click_cell(grid(), row, column);
  }
  void type_and_accept(int row, int column, const char* text) {
    enter_frequency(row, column, [text](TForm3* d) {
      QTest::keyClicks(d->AdvEdit1(), text);
      QTest::keyClick(d->AdvEdit1(), Qt::Key_Return);
    });
  }

  void on_subtone(int row, int column, const std::function<void(TForm4*)>& act) {
    test::when_modal([act](QWidget* w) {
      auto* dialog = qobject_cast<TForm4*>(w);
      QVERIFY(dialog != nullptr);
      act(dialog);
    });
    test::click_cell(grid(), row, column);
  }

 private slots:
  // The key filter's rules are the core's (frequency_key_filter); here, that every key goes through
  // it, Cyrillic ones included, and that the field holds 10 characters.
  void the_key_filter_admits_digits_and_one_comma() {
    enter_frequency(0, 1, [](TForm3* d) {
      QLineEdit* e = d->AdvEdit1();
      QTest::keyClicks(e, "1a6-0.5.,x");
      QCOMPARE(e->text(), QStringLiteral("160,5"));
      QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QStringLiteral("б"), Qt::NoModifier);
      QCOMPARE(e->text(), QStringLiteral("160,5"));
      QTest::keyClicks(e, "123456789");
      QCOMPARE(e->text().size(), 10);  // at most 10 characters
      QTest::keyClick(e, Qt::Key_Escape);
    });
    QCOMPARE(channel_frequency(image(), 1, Side::rx, 2), 160000000);
  }

  void escape_no_and_an_empty_field_store_nothing() {
    const Param_image before = image();
    enter_frequency(0, 1, [](TForm3* d) {
      QTest::keyClicks(d->AdvEdit1(), "150");
      QTest::keyClick(d->AdvEdit1(), Qt::Key_Escape);
    });
    enter_frequency(0, 1, [](TForm3* d) {
      QTest::keyClicks(d->AdvEdit1(), "150");
      d->Button2()->click();
    });
    enter_frequency(0, 1, [](TForm3* d) { d->Button1()->click(); });
    QVERIFY(image() == before);
  }

  void accepted_frequencies_are_stored_on_their_side_only() {
    type_and_accept(1, 1, "148,0025");
    QCOMPARE(channel_frequency(image(), 2, Side::rx, 2), 148000000);
    const auto before = record(3);
    type_and_accept(2, 3, "160,00625");
    const auto after = record(3);
    QCOMPARE(channel_frequency(image(), 3, Side::tx, 2), 160005000);
    QCOMPARE(after[5], uint8_t{0x01});
    QCOMPARE(after[6], uint8_t{0x7D});
    QCOMPARE(after[7], uint8_t{0x08});
    for (int i : {0, 1, 2, 3, 4, 8, 9, 10, 11, 12, 13, 14, 15}) QCOMPARE(after[i], before[i]);
  }

  void out_of_band_frequencies_are_refused_with_the_message() {
    const Param_image before = image();
    Box_seen box;
    enter_frequency(0, 1, [&box](TForm3* d) {
      QTest::keyClicks(d->AdvEdit1(), "174,5");  // start-up limits end at 174 MHz
      test::answer_box(box, QMessageBox::Ok);
      QTest::keyClick(d->AdvEdit1(), Qt::Key_Return);
    });
    QVERIFY(box.seen);
    QCOMPARE(box.caption, QStringLiteral("Ошибка ввода"));
    QCOMPARE(box.text, QStringLiteral("Введенная частота вне диапазона!"));
    QCOMPARE(box.icon, QMessageBox::Warning);
    QVERIFY(image() == before);

    frq_set(w_->workspace().state, 0);  // 146..175 MHz from now on
    type_and_accept(0, 1, "175");
    QCOMPARE(channel_frequency(image(), 1, Side::rx, 2), 175000000);
    Box_seen again;
    enter_frequency(0, 1, [&again](TForm3* d) {
      QTest::keyClicks(d->AdvEdit1(), "145,999999");
      test::answer_box(again, QMessageBox::Ok);
      QTest::keyClick(d->AdvEdit1(), Qt::Key_Return);
    });
    QVERIFY(again.seen);
    QCOMPARE(channel_frequency(image(), 1, Side::rx, 2), 175000000);
  }

  void pasted_text_that_is_no_number_is_refused_and_the_dialog_stays() {
    const Param_image before = image();
    // Seven decimals or more are a finer frequency than the field takes, and said so.
    for (const char* pasted : {"16O,5", "160,5,1", ",146000000", " 160", "16,0125000"}) {
      Box_seen box;
      bool still_open = false;
      enter_frequency(0, 1, [&box, &still_open, pasted](TForm3* d) {
        QApplication::clipboard()->setText(QString::fromLatin1(pasted));
        d->AdvEdit1()->paste();
        QCOMPARE(d->AdvEdit1()->text(), QString::fromLatin1(pasted));
        test::answer_box(box, QMessageBox::Ok);
        d->Button1()->click();
        still_open = d->isVisible() && QApplication::activeModalWidget() == d;
        d->Button2()->click();
      });
      QVERIFY2(box.seen, pasted);
      QCOMPARE(box.caption, QStringLiteral("Ошибка ввода"));
      const bool decimals = QByteArray(pasted).startsWith(",") || QByteArray(pasted) == "16,0125000";
      QCOMPARE(box.text, decimals
                             ? QStringLiteral("Введенная частота содержит более шести знаков после запятой!")
                             : QStringLiteral("Введенное значение не является числом!"));
      QVERIFY(still_open);
    }
    QVERIFY(image() == before);
  }

  void the_subtone_dialog_opens_on_the_stored_subtone() {
    on_subtone(0, 2, [](TForm4* d) {
      QCOMPARE(d->windowTitle(), QStringLiteral("Субтон приема"));
      QVERIFY(d->choice_button(2)->isChecked());
      QVERIFY(!d->ComboBox1()->isEnabled());
      QVERIFY(!d->ComboBox2()->isEnabled());
      QVERIFY(!d->CheckBox1()->isEnabled());
      QCOMPARE(d->ComboBox1()->currentText(), QStringLiteral("67,0"));
      QCOMPARE(d->ComboBox2()->currentText(), QStringLiteral("023"));
      d->Button2()->click();
    });
    store_subtone_ctcss(image(), 2, Side::tx, 0x13, 0x18);
    store_subtone_dcs(image(), 3, Side::rx, 7, 5, 4, true);
    w_->print_wind_blok();
    QCOMPARE(grid()->item(1, 4)->text(), QStringLiteral("  CTC 131,8"));
    QCOMPARE(grid()->item(2, 2)->text(), QStringLiteral("  -DCS 754"));
    const auto before = record(2);
    on_subtone(1, 4, [](TForm4* d) {
      QCOMPARE(d->windowTitle(), QStringLiteral("Субтон передачи"));
      QVERIFY(d->choice_button(0)->isChecked());
      QVERIFY(d->ComboBox1()->isEnabled());
      QCOMPARE(d->ComboBox1()->currentText(), QStringLiteral("131,8"));
      d->Button1()->click();
    });
    QVERIFY(record(2) == before);
    on_subtone(2, 2, [](TForm4* d) {
      QVERIFY(d->choice_button(1)->isChecked());
      QCOMPARE(d->ComboBox2()->currentText(), QStringLiteral("754"));
      QVERIFY(d->CheckBox1()->isChecked());
      test::click_button(d->CheckBox1());
      d->Button1()->click();
    });
    QCOMPARE(subtone_type(image(), 3, Side::rx), subtone::dcs);
    QCOMPARE(subtone_value(image(), 3, Side::rx), uint16_t{0x01EC});
  }

  void choices_are_made_through_the_controls() {
    on_subtone(0, 2, [](TForm4* d) {
      test::click_button(d->choice_button(1));
      QVERIFY(d->ComboBox2()->isEnabled());
      QVERIFY(d->CheckBox1()->isEnabled());
      QVERIFY(!d->ComboBox1()->isEnabled());
      test::pick(d->ComboBox2(), d->ComboBox2()->findText("411"));
      d->Button1()->click();
    });
    Channel_record_bytes r = record(1);
    QCOMPARE(r[2] & 0x70, 0x50);
    QCOMPARE(r[3], uint8_t{0x09});
    QCOMPARE(r[4], uint8_t{0x01});
    QCOMPARE(grid()->item(0, 2)->text(), QStringLiteral("   DCS 411"));
    on_subtone(0, 2, [](TForm4* d) {
      test::click_button(d->choice_button(2));
      QVERIFY(!d->ComboBox2()->isEnabled());
      d->Button1()->click();
    });
    r = record(1);
    QCOMPARE(r[2] & 0x70, 0x00);
    QCOMPARE(r[3], uint8_t{0x00});
    QCOMPARE(r[4], uint8_t{0x00});
  }

  void the_dialog_keeps_its_state_between_openings() {
    on_subtone(0, 2, [](TForm4* d) {
      test::click_button(d->choice_button(0));
      d->ComboBox1()->setEditText(QStringLiteral("254,1"));  // typed, not in the list
      d->Button2()->click();
    });
    // Type 1 is no type the program writes: the controls stay as the last opening left them.
    set_subtone(image(), 4, Side::rx, 1, 0, 0);
    on_subtone(3, 2, [](TForm4* d) {
      QVERIFY(d->choice_button(0)->isChecked());
      QVERIFY(d->ComboBox1()->isEnabled());
      QCOMPARE(d->ComboBox1()->currentText(), QStringLiteral("254,1"));
      d->Button1()->click();
    });
    QCOMPARE(subtone_type(image(), 4, Side::rx), subtone::ctcss);
    QCOMPARE(subtone_value(image(), 4, Side::rx), uint16_t{0x2541});
  }

  // Which texts the dialog refuses is the core's (accept_subtone); here, that a refused text typed
  // into the list shows the refusal box and leaves the record as it was.
  void a_refused_subtone_text_leaves_the_record_as_it_was() {
    const int choice = 1;
    const QString text = QStringLiteral("029");
    store_subtone_dcs(image(), 5, Side::rx, 0, 2, 3, false);
    w_->print_wind_blok();
    const Param_image before = image();
    Box_seen box;
    on_subtone(4, 2, [&](TForm4* d) {
      test::click_button(d->choice_button(choice));
      QComboBox* list = choice == 0 ? d->ComboBox1() : d->ComboBox2();
      list->lineEdit()->clear();
      QTest::keyClicks(list->lineEdit(), text);
      test::answer_box(box, QMessageBox::Ok);
      d->Button1()->click();
    });
    QVERIFY(box.seen);
    QCOMPARE(box.caption, QStringLiteral("Ошибка ввода"));
    QVERIFY(box.text.contains(text));
    QVERIFY(image() == before);
  }

  void the_programmer_dialog_never_stores_the_usb_programmer() {
    Programmer_choice& choice = w_->programmer();
    choice = Programmer_choice{0, 1};
    test::when_modal([](QWidget* w) {
      auto* d = qobject_cast<TForm2*>(w);
      QVERIFY(d != nullptr);
      QCOMPARE(d->windowTitle(), QStringLiteral("Выбор программатора"));
      QCOMPARE(d->size(), QSize(309, 191));
      QCOMPARE(d->RadioGroup1()->title(), QStringLiteral(" Выбор типа программатора "));
      QCOMPARE(d->RadioGroup2()->title(), QStringLiteral(" Выбор СОМ-порта "));
      QVERIFY(d->type_item(1)->isChecked());  // type 0 shows the COM programmer
      QVERIFY(d->port_item(1)->isChecked());
      test::click_button(d->type_item(0));
      QVERIFY(d->type_item(1)->isChecked());
      d->Button2()->click();
    });
    w_->N18Click();
    QCOMPARE(choice.type, 0);  // "Нет" changes nothing
    test::when_modal([](QWidget* w) {
      auto* d = qobject_cast<TForm2*>(w);
      test::click_button(d->port_item(2));
      d->Button1()->click();
    });
    w_->N18Click();
    QCOMPARE(choice.type, 1);
    QCOMPARE(choice.port_index, 2);
    w_->status_timer()->Timer1Timer();  // the next tick shows the new port
    QCOMPARE(test::parts(w_).status_panel(0)->text(), QStringLiteral("Программатор COM3"));
  }

  void ports_beyond_com4_show_com4_and_are_kept_on_no() {
    Programmer_choice& choice = w_->programmer();
    choice = Programmer_choice{1, 7};
    test::when_modal([](QWidget* w) {
      auto* d = qobject_cast<TForm2*>(w);
      QVERIFY(d->port_item(3)->isChecked());
      d->Button2()->click();
    });
    w_->N18Click();
    QCOMPARE(choice.port_index, 7);
    test::when_modal([](QWidget* w) { qobject_cast<TForm2*>(w)->Button1()->click(); });
    w_->N18Click();
    QCOMPARE(choice.port_index, 3);
    // The choice reaches config.ini at exit.
    QVERIFY(w_->close());
    const Config_values v = open_config_file(folder_->file("config.ini").toStdString()).values;
    QCOMPARE(v.programmer_type, 1);
    QCOMPARE(v.com_port_index, 3);
  }
};

}  // namespace tirna

QTEST_MAIN(tirna::Entry_dialogs_test)
#include "entry_dialogs_test.moc"
