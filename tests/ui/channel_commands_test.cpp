// The editing a shop does every day in the channel table: moving, inserting, deleting and sorting
// channels, editing several at once, and reaching every cell from the keyboard. Each change is
// one undo step that marks the file changed, and undo gives back the image before it.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "core/image/frequency.h"
#include "core/image/subtone.h"
#include "ui/app/main_window.h"
#include "ui/channels/bulk_edit_dialog.h"
#include "ui/channels/channel_page.h"
#include "ui/channels/frequency_dialog.h"
#include "ui/channels/subtone_dialog.h"
#include "ui_test_support.h"

namespace tirna {

using test::Box_seen;

class Channel_commands_test : public test::Window_fixture {
  Q_OBJECT

  QTableWidget* grid() const { return test::parts(w_).channel_page()->StringGrid101(); }
  Param_image& image() const { return ws().image; }

  // Channel n on 150 + n MHz (and 170 - n for the sort), each told apart by its frequency.
  void number_the_channels(bool descending = false) {
    for (int n = 1; n <= channel_count; ++n) {
      const int64_t mhz = descending ? 170 - n : 150 + n;
      store_frequency(image(), n, Side::rx, mhz * 1000000, ws().state.coding_version);
    }
    w_->print_wind_blok();
  }
  // The receive frequency of each channel in MHz; 0 for a channel that is off.
  std::vector<int> table() const {
    std::vector<int> mhz;
    for (int n = 1; n <= channel_count; ++n) {
      mhz.push_back(channel_in_use(image(), n)
                        ? static_cast<int>(channel_frequency(image(), n, Side::rx,
                                                             ws().state.coding_version) /
                                           1000000)
                        : 0);
    }
    return mhz;
  }
  void select(const std::vector<int>& rows) { test::parts(w_).channel_page()->select_rows(rows); }
  void run(const char* command) { test::parts(w_).action(QString::fromLatin1(command))->trigger(); }

 private slots:
  void rearranging_is_one_undo_step_each() {
    struct Case {
      const char* command;
      std::vector<int> rows;  // selected, 0..15
      bool descending;
      std::vector<int> first_five;  // MHz of channels 1..5 afterwards (0: off)
    };
    const std::vector<Case> cases = {
        {"MoveChannelsUp", {2, 3}, false, {151, 153, 154, 152, 155}},
        {"MoveChannelsDown", {0}, false, {152, 151, 153, 154, 155}},
        {"MoveChannelsUp", {0, 4}, false, {151, 152, 153, 155, 154}},  // the top one stays
        {"InsertChannel", {1}, false, {151, 0, 152, 153, 154}},
        {"DeleteChannels", {0, 2}, false, {152, 154, 155, 156, 157}},
        {"SortChannels", {}, true, {154, 155, 156, 157, 158}},
    };
    for (const Case& c : cases) {
      ws() = start_up_workspace();
      number_the_channels(c.descending);
      ws().state.modified = false;
      const Param_image before = image();
      select(c.rows);
      if (std::string_view(c.command) == "InsertChannel") {
        Box_seen question;
        test::answer_box(question, QMessageBox::Yes);  // channel 16 is in use: it is dropped
        run(c.command);
        QVERIFY(question.seen);
        QCOMPARE(table().back(), 165);
      } else {
        run(c.command);
      }
      const std::vector<int> got = table();
      QCOMPARE(std::vector<int>(got.begin(), got.begin() + 5), c.first_five);
      QVERIFY2(ws().state.modified, c.command);
      run("Undo");
      QVERIFY2(image() == before, c.command);
    }
    // The deleted channels' places at the end are empty channels.
    QCOMPARE(channel_in_use(image(), 16), true);
    select({0});
    run("DeleteChannels");
    QVERIFY(!channel_in_use(image(), 16));
  }

  void ctrl_up_and_down_move_the_selection_with_it() {
    number_the_channels();
    select({5});
    grid()->setFocus();
    QTest::keyClick(grid(), Qt::Key_Up, Qt::ControlModifier);
    QTest::keyClick(grid(), Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(table()[3], 156);
    QCOMPARE(test::parts(w_).channel_page()->selected_rows(), std::vector<int>{3});
    QTest::keyClick(grid(), Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(table()[4], 156);
  }

  void inserting_asks_before_dropping_channel_sixteen() {
    number_the_channels();
    const Param_image before = image();
    select({0});
    Box_seen question;
    test::answer_box(question, QMessageBox::No);
    run("InsertChannel");
    QVERIFY(question.seen);
    QCOMPARE(question.caption, QStringLiteral("Вставка канала"));
    QVERIFY(image() == before);
    QVERIFY(!ws().state.modified);
  }

  void several_channels_are_edited_at_once() {
    // Rows 2 to 4; channel 3 is off, so it takes nothing, as in the table; channel 4's
    // transmitter is inhibited, so its transmit fields stay.
    set_channel_in_use(image(), 3, false);
    set_tx_allowed(image(), 4, false);
    w_->print_wind_blok();
    ws().state.modified = false;
    const Param_image before = image();
    select({1, 2, 3});
    test::when_modal([](QWidget* w) {
      auto* d = qobject_cast<Bulk_edit_dialog*>(w);
      QVERIFY(d != nullptr);
      for (int i = 0; i < Bulk_edit_dialog::field_count; ++i) {
        QCOMPARE(d->field(i)->currentText(), QStringLiteral("не менять"));
      }
      d->field(1)->setCurrentIndex(2);  // "Понижен."
      d->field(3)->setCurrentIndex(1);  // scanning "Включен"
      d->field(5)->setEditText(QStringLiteral("CTC 67,0"));
      d->field(6)->setEditText(QStringLiteral("-DCS 754"));
      d->Button1()->click();
    });
    run("EditChannels");
    for (int n : {2, 4}) {
      QVERIFY(channel_flag(image(), n, Channel_flag::low_power) == (n == 2));  // 4: inhibited
      QVERIFY(!channel_flag(image(), n, Channel_flag::no_scan));
      QCOMPARE(subtone_type(image(), n, Side::rx), subtone::ctcss);
      QCOMPARE(subtone_type(image(), n, Side::tx), n == 2 ? subtone::dcs_inverted : subtone::none);
    }
    QVERIFY(channel_record(image(), 3) == channel_record(before, 3));
    QVERIFY(ws().state.modified);
    run("Undo");
    QVERIFY(image() == before);

    // A sub-tone the dialog would refuse: all or nothing, the reason in Russian.
    select({1, 3});
    Box_seen refused;
    test::when_modal([&refused](QWidget* w) {
      auto* d = qobject_cast<Bulk_edit_dialog*>(w);
      d->field(5)->setEditText(QStringLiteral("CTC 6,5"));
      d->field(1)->setCurrentIndex(2);
      test::answer_box(refused, QMessageBox::Ok);
      d->Button1()->click();
    });
    run("EditChannels");
    QVERIFY(refused.seen);
    QCOMPARE(refused.caption, QStringLiteral("Изменение каналов"));
    QVERIFY(refused.text.contains(QStringLiteral("«6,5» не является допустимым значением субтона.")));
    QVERIFY(image() == before);
  }

  void the_keyboard_reaches_every_cell() {
    const Param_image before = image();
    grid()->setFocus();
    grid()->setCurrentCell(0, 1);
    QTest::keyClick(grid(), Qt::Key_Down);  // moving the cursor changes nothing
    QTest::keyClick(grid(), Qt::Key_Right);
    QVERIFY(image() == before);
    QVERIFY(!ws().state.modified);
    grid()->setCurrentCell(0, 1);
    test::when_modal([](QWidget* w) {
      auto* d = qobject_cast<TForm3*>(w);
      QVERIFY(d != nullptr);
      QTest::keyClicks(d->AdvEdit1(), "150");
      QTest::keyClick(d->AdvEdit1(), Qt::Key_Return);
    });
    QTest::keyClick(grid(), Qt::Key_Return);
    QCOMPARE(channel_frequency(image(), 1, Side::rx, 2), 150000000);
    grid()->setCurrentCell(0, 2);
    bool opened = false;
    test::when_modal([&opened](QWidget* w) {
      opened = qobject_cast<TForm4*>(w) != nullptr;
      qobject_cast<TForm4*>(w)->reject();
    });
    QTest::keyClick(grid(), Qt::Key_F2);
    QVERIFY(opened);
    grid()->setCurrentCell(0, 5);
    QTest::keyClick(grid(), Qt::Key_Space);
    QVERIFY(channel_flag(image(), 1, Channel_flag::low_power));
    test::expect_no_modal_after([this] {
      grid()->setCurrentCell(0, 6);
      QTest::keyClick(grid(), Qt::Key_Return);  // Enter on a flag cell opens nothing
    });
    QVERIFY(!channel_flag(image(), 1, Channel_flag::narrow));
  }
};

}  // namespace tirna

QTEST_MAIN(tirna::Channel_commands_test)
#include "channel_commands_test.moc"
