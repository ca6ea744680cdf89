// The channel page and the one refresh: cells, boxes, clicks, toggles, the modified flag, and
// images of any content.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>
#include <random>

#include "core/image/channel_record.h"
#include "core/image/frequency.h"
#include "core/pages/settings.h"
#include "ui/app/main_window.h"
#include "ui/channels/channel_page.h"
#include "ui/channels/frequency_dialog.h"
#include "ui/pages/extra_page.h"
#include "ui/pages/settings_page.h"
#include "ui_test_support.h"

namespace tirna {

using test::Program_folder;

class Channel_page_test : public test::Window_fixture {
  Q_OBJECT

 private:

  QTableWidget* grid() const { return test::parts(w_).channel_page()->StringGrid101(); }
  QString cell(int row, int column) const { return grid()->item(row, column)->text(); }
  QCheckBox* box(int number) const { return test::parts(w_).channel_page()->CheckBox(number); }
  Param_image& image() const { return w_->workspace().image; }
  bool modified() const { return w_->workspace().state.modified; }

  // A click on the box as the user makes it: the focus comes with the click.
  void click_box(int number) { QTest::mouseClick(box(number), Qt::LeftButton); }

 private slots:
  void default_image_shows_every_cell_and_box() {
    const QString expected[] = {QString(),
                                QStringLiteral("  160,000000"),
                                QStringLiteral(" Выключен"),
                                QStringLiteral("  160,000000"),
                                QStringLiteral(" Выключен"),
                                QStringLiteral("  Повышен."),
                                QStringLiteral("   25 кГц"),
                                QStringLiteral("  Выключен"),
                                QStringLiteral("  Выключен")};
    for (int r = 0; r < 16; ++r) {
      QCOMPARE(cell(r, 0), r < 9 ? QStringLiteral(" %1").arg(r + 1) : QString::number(r + 1));
      for (int c = 1; c < 9; ++c) QCOMPARE(cell(r, c), expected[c]);
      QVERIFY(!box(r + 1)->isChecked());
      QVERIFY(box(r + 1)->isEnabled());
      QVERIFY(!box(21 + r)->isChecked());
      QVERIFY(box(21 + r)->isEnabled());
    }
  }

  void default_image_shows_every_list_and_label() {
    // The texts themselves are the core's to test (settings_test); the window shows them.
    for (int slot = 0; slot < settings_count; ++slot) {
      QCOMPARE(test::parts(w_).settings_page()->list(slot)->currentText(),
               QString::fromStdString(w_->view().settings.text(slot)));
      QVERIFY(!w_->view().settings.text(slot).empty());
    }
    QCOMPARE(test::parts(w_).settings_page()->list(squelch_key_slot)->count(), 5);
    QCOMPARE(test::parts(w_).settings_page()->list(9)->currentText().at(4), QChar('c'));  // the Latin c
    const Extra_page* extra = test::parts(w_).extra_page();
    QCOMPARE(extra->model_label()->text(), QStringLiteral("Тирна-") + QString(16, ' '));
    QCOMPARE(extra->factory_number_label()->text(), QString(7, ' '));
    QCOMPARE(extra->time_label()->text(), QStringLiteral("  -  -         :  :  "));
    QCOMPARE(extra->RichEdit1()->toPlainText(), QString());
    QCOMPARE(test::parts(w_).ComboBox1()->currentText(), QStringLiteral("148МГц - 174МГц (П23)"));
  }

  void the_refresh_counts_as_no_edit() {
    const Param_image before = image();
    w_->print_wind_blok();
    w_->print_wind_blok();
    QVERIFY(!modified());
    QVERIFY(image() == before);
  }

  void channel_off_empties_its_row_and_disables_its_transmit_box() {
    click_box(5);
    QVERIFY(modified());  // the focus entered the box
    QVERIFY(!channel_in_use(image(), 5));
    QCOMPARE(cell(4, 0), QStringLiteral(" 5"));
    for (int c = 1; c < 9; ++c) QCOMPARE(cell(4, c), QString());
    QVERIFY(box(5)->isChecked());
    QVERIFY(!box(25)->isEnabled());
    click_box(5);
    QVERIFY(channel_in_use(image(), 5));
    QCOMPARE(cell(4, 1), QStringLiteral("  160,000000"));
    QVERIFY(box(25)->isEnabled());
  }

  void transmit_inhibit_empties_the_transmit_columns_only() {
    click_box(23);
    QVERIFY(!tx_allowed(image(), 3));
    QVERIFY(box(23)->isChecked());
    for (int c : {3, 4, 5, 8}) QCOMPARE(cell(2, c), QString());
    QCOMPARE(cell(2, 1), QStringLiteral("  160,000000"));
    QCOMPARE(cell(2, 2), QStringLiteral(" Выключен"));
    QCOMPARE(cell(2, 6), QStringLiteral("   25 кГц"));
    QCOMPARE(cell(2, 7), QStringLiteral("  Выключен"));
    // A channel switched off keeps the tick its transmit box had.
    click_box(3);
    QVERIFY(box(23)->isChecked());
    QVERIFY(!box(23)->isEnabled());
  }

  void the_focus_entering_a_box_sets_the_flag_without_an_edit() {
    const Param_image before = image();
    test::parts(w_).channel_page()->StringGrid101()->setFocus();
    QVERIFY(!modified());
    box(1)->setFocus(Qt::TabFocusReason);
    QVERIFY(modified());
    QVERIFY(image() == before);
  }

  void flag_cells_invert_their_bit_once_per_click() {
    test::click_cell(grid(), 0, 5);
    QCOMPARE(cell(0, 5), QStringLiteral("  Понижен."));
    QVERIFY(channel_flag(image(), 1, Channel_flag::low_power));
    QVERIFY(modified());
    test::click_cell(grid(), 1, 6);
    QCOMPARE(cell(1, 6), QStringLiteral("  12,5 кГц"));
    test::click_cell(grid(), 2, 8);
    QCOMPARE(cell(2, 8), QStringLiteral("   Включен"));
    const uint8_t flags = channel_record(image(), 4)[10];
    test::click_cell(grid(), 3, 7);
    QCOMPARE(cell(3, 7), QStringLiteral("   Включен"));
    test::click_cell(grid(), 3, 7);
    QCOMPARE(channel_record(image(), 4)[10], flags);
    // A double click is one click for the table.
    test::double_click_cell(grid(), 5, 7);
    QCOMPARE(channel_flag(image(), 6, Channel_flag::no_scan), false);
  }

  void clicks_that_change_nothing_still_set_the_flag() {
    toggle_channel_off(image(), 7, true);
    set_tx_allowed(image(), 8, false);
    w_->print_wind_blok();
    const Param_image before = image();
    for (int c = 1; c < 9; ++c) {
      if (c == 1 || c == 2 || c == 3 || c == 4) continue;  // the dialogs are tested below
      test::click_cell(grid(), 6, c);
    }
    test::click_cell(grid(), 7, 5);
    test::click_cell(grid(), 7, 8);
    test::click_cell(grid(), 7, 3);  // no dialog for the transmit side of an inhibited channel
    QVERIFY(image() == before);
    QVERIFY(modified());
  }

  void row_labels_and_the_keyboard_do_nothing() {
    const Param_image before = image();
    test::click_cell(grid(), 3, 0);
    grid()->setFocus();
    QTest::keyClick(grid(), Qt::Key_Down);
    QTest::keyClick(grid(), Qt::Key_Right);
    QTest::keyClick(grid(), Qt::Key_Space);
    QVERIFY(!modified());
    QVERIFY(image() == before);
  }

  void a_cancelled_frequency_dialog_leaves_the_image_and_sets_the_flag() {
    const Param_image before = image();
    test::when_modal([](QWidget* w) {
      auto* dialog = qobject_cast<TForm3*>(w);
      QVERIFY(dialog != nullptr);
      QCOMPARE(dialog->windowTitle(), QStringLiteral("Частота приема (МГц)"));
      QTest::keyClicks(dialog->AdvEdit1(), "150");
      QTest::keyClick(dialog->AdvEdit1(), Qt::Key_Escape);
    });
    test::click_cell(grid(), 0, 1);
    QVERIFY(image() == before);
    QVERIFY(modified());
  }

  void an_entered_frequency_shows_in_its_cell() {
    test::when_modal([](QWidget* w) {
      auto* dialog = qobject_cast<TForm3*>(w);
      QVERIFY(dialog != nullptr);
      QCOMPARE(dialog->windowTitle(), QStringLiteral("Частота передачи (МГц)"));
      QTest::keyClicks(dialog->AdvEdit1(), "165.0125");
      QCOMPARE(dialog->AdvEdit1()->text(), QStringLiteral("165,0125"));
      QTest::keyClick(dialog->AdvEdit1(), Qt::Key_Return);
    });
    test::click_cell(grid(), 9, 3);
    // The old coding keeps 5 kHz steps: 165.0125 MHz is stored as 165.010 MHz.
    QCOMPARE(cell(9, 3), QStringLiteral("  165,010000"));
    QCOMPARE(cell(9, 1), QStringLiteral("  160,000000"));
  }

  void any_image_is_shown_without_harm() {
    std::mt19937 random(520);
    for (int round = 0; round < 200; ++round) {
      Param_image& img = image();
      for (int k = 1; k <= packet_count; ++k) {
        Packet p;
        for (auto& b : p) b = static_cast<uint8_t>(random());
        img.set_packet(k, p);
      }
      w_->workspace().state.coding_version = static_cast<uint8_t>(random());
      const Param_image before = img;
      w_->print_wind_blok();
      QVERIFY(image() == before);
      for (int r = 0; r < 16; ++r) {
        QCOMPARE(cell(r, 0), r < 9 ? QStringLiteral(" %1").arg(r + 1) : QString::number(r + 1));
        QCOMPARE(box(r + 1)->isChecked(), !channel_in_use(img, r + 1));
      }
      for (int slot = 0; slot < settings_count; ++slot) {
        const auto item = read_setting(img, slot);
        QCOMPARE(test::parts(w_).settings_page()->list(slot)->currentIndex(), item.value_or(-1));
      }
    }
    QVERIFY(!modified());
  }
};

}  // namespace tirna

QTEST_MAIN(tirna::Channel_page_test)
#include "channel_page_test.moc"
