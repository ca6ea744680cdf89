// The editing comforts of the window: undo and redo of every kind of change back to the default
// image, Copy and Paste of channels, the table's context menu, a dropped parameter file and the
// standard shortcuts.

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QUrl>

#include "core/files/param_file.h"
#include "core/image/channel_record.h"
#include "core/image/frequency.h"
#include "core/image/subtone.h"
#include "platform/files/safe_file.h"
#include "ui/app/main_window.h"
#include "ui/channels/channel_page.h"
#include "ui/channels/frequency_dialog.h"
#include "ui/channels/subtone_dialog.h"
#include "ui/pages/settings_page.h"
#include "ui_test_support.h"

namespace tirna {

using test::Box_seen;

class Editing_test : public test::Window_fixture {
  Q_OBJECT

 private:
  QTableWidget* grid() const { return test::parts(w_).channel_page()->StringGrid101(); }
  // A shortcut as the user types it; the window's shortcuts need it active (a closed message box
  // leaves no window active here).
  void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::ControlModifier) {
    if (QApplication::activeWindow() != w_.get()) {
      w_->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(w_.get()));
    }
    QTest::keyClick(w_.get(), k, m);
  }
  void type_frequency(int row, int column, const char* text) {
    test::when_modal([text](QWidget* w) {
      auto* d = qobject_cast<TForm3*>(w);
      QVERIFY(d != nullptr);
      QTest::keyClicks(d->AdvEdit1(), text);
      QTest::keyClick(d->AdvEdit1(), Qt::Key_Return);
    });
    test::click_cell(grid(), row, column);
  }
  void pick_ctcss(int row, int column, int item) {
    test::when_modal([item](QWidget* w) {
      auto* d = qobject_cast<TForm4*>(w);
      QVERIFY(d != nullptr);
      d->choice_button(0)->click();
      d->ComboBox1()->setCurrentIndex(item);
      d->Button1()->click();
    });
    test::click_cell(grid(), row, column);
  }
  void drop(const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w_.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w_.get(), &dropped);
  }

 private slots:
  void init() {
    open_window();
    w_->activateWindow();  // the window's shortcuts need it active
    QVERIFY(QTest::qWaitForWindowActive(w_.get()));
  }

  // One walk through every kind of change; undoing them all gives back the default image byte
  // for byte, unmodified, and redoing them all the last one.
  void undo_walks_every_change_back_to_the_default_image() {
    const Workspace start = ws();
    const QString other = folder_->file(QStringLiteral("Save/other.tn5"));
    Workspace saved = start_up_workspace();
    new_blok(saved.image, 1, 5);
    QVERIFY(!save_image(safe_files(), QFile::encodeName(other).toStdString(), saved.image));

    test::click_cell(grid(), 0, 5);  // power
    test::click_button(test::parts(w_).channel_page()->CheckBox(3));  // channel 3 off
    type_frequency(1, 1, "150,5");
    pick_ctcss(1, 4, 3);
    test::pick(test::parts(w_).settings_page()->list(0), 3);
    Box_seen band;
    test::answer_box(band, QMessageBox::Yes);
    test::pick(test::parts(w_).ComboBox1(), 1);
    Box_seen no_save;
    test::answer_box(no_save, QMessageBox::No);
    drop(other);
    QVERIFY(no_save.seen);  // the question about the changes came first
    QCOMPARE(ws().state.coding_version, 5);
    const Workspace last = ws();

    int steps = 0;
    while (steps < 20 && !(ws().image == start.image && ws().file_name.empty())) {
      key(Qt::Key_Z);
      ++steps;
    }
    QCOMPARE(steps, 7);
    QVERIFY(ws().image == start.image);
    QCOMPARE(ws().state.coding_version, start.state.coding_version);
    QCOMPARE(ws().state.band_index, 0);
    QVERIFY(!ws().state.modified);
    QCOMPARE(test::parts(w_).ComboBox1()->currentIndex(), 0);
    QCOMPARE(grid()->item(0, 5)->text(), QStringLiteral("  Повышен."));

    // Redo by both of its shortcuts in turn.
    for (int n = 0; n < steps; ++n) {
      if (n % 2 == 0) {
        key(Qt::Key_Y);
      } else {
        key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
      }
    }
    QVERIFY(ws().image == last.image);
    QCOMPARE(ws().file_name, last.file_name);
  }

  void copy_and_paste_move_channels_as_csv_rows() {
    Param_image& im = ws().image;
    store_frequency(im, 2, Side::rx, 151000000, 2);
    store_subtone_dcs(im, 3, Side::tx, 7, 5, 4, true);
    w_->print_wind_blok();
    grid()->clearSelection();
    grid()->setCurrentCell(1, 1);
    grid()->setRangeSelected(QTableWidgetSelectionRange(1, 1, 2, 8), true);
    test::parts(w_).action(QStringLiteral("CopyChannels"))->trigger();
    const QStringList lines =
        QApplication::clipboard()->text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);  // the header and the two rows
    QVERIFY(lines[0].startsWith(QStringLiteral("Location,Name,Frequency")));
    QVERIFY(lines[1].startsWith(QStringLiteral("2,,151.000000")));

    grid()->clearSelection();
    grid()->setCurrentCell(9, 1);
    ws().state.modified = false;
    test::parts(w_).action(QStringLiteral("PasteChannels"))->trigger();
    QCOMPARE(channel_record(im, 10), channel_record(im, 2));
    QCOMPARE(channel_record(im, 11), channel_record(im, 3));
    QVERIFY(ws().state.modified);
    key(Qt::Key_Z);  // a paste is one step
    QCOMPARE(channel_frequency(im, 10, Side::rx, 2), 160000000);

    // What cannot be stored is refused whole, with the reason, and changes nothing.
    const Param_image before = im;
    QApplication::clipboard()->setText(QStringLiteral("Location,Frequency\n1,150\n2,999\n"));
    Box_seen refused;
    test::answer_box(refused, QMessageBox::Ok);
    test::parts(w_).action(QStringLiteral("PasteChannels"))->trigger();
    QVERIFY(refused.text.startsWith(QStringLiteral("Каналы не вставлены")));
    QVERIFY(refused.text.contains(QStringLiteral("outside the band")));
    QVERIFY(im == before);
    // Rows that would land past channel 16: refused too.
    QApplication::clipboard()->setText(QStringLiteral("Location,Frequency\n1,150\n2,151\n"));
    grid()->clearSelection();
    grid()->setCurrentCell(15, 1);
    test::answer_box(refused, QMessageBox::Ok);
    test::parts(w_).action(QStringLiteral("PasteChannels"))->trigger();
    QVERIFY(refused.text.contains(QStringLiteral("past the last channel 16")));
    QVERIFY(im == before);
  }

  void row_labels_select_rows_without_editing() {
    const Param_image before = ws().image;
    const auto label_click = [this](int row, Qt::KeyboardModifiers held) {
      const QRect cell = grid()->visualItemRect(grid()->item(row, 0));
      QTest::mouseClick(grid()->viewport(), Qt::LeftButton, held, cell.center());
    };
    label_click(4, Qt::NoModifier);
    label_click(6, Qt::ShiftModifier);
    label_click(9, Qt::ControlModifier);
    QCOMPARE(test::parts(w_).channel_page()->selected_rows(), (std::vector<int>{4, 5, 6, 9}));
    // A click on a cell with Shift or Ctrl held selects, and edits nothing either.
    const QRect cell = grid()->visualItemRect(grid()->item(12, 5));
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, Qt::ControlModifier, cell.center());
    QVERIFY(ws().image == before);
    QVERIFY(!ws().state.modified);
  }

  void the_context_menu_copies_pastes_and_switches_channels() {
    QStringList texts;
    QTimer::singleShot(50, this, [&texts] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      QVERIFY(menu != nullptr);
      for (QAction* a : menu->actions()) {
        if (!a->isSeparator()) texts << a->text();
      }
      for (QAction* a : menu->actions()) {
        if (a->objectName() == QStringLiteral("SwitchChannels")) a->trigger();
      }
      menu->close();
    });
    const QRect cell = grid()->visualItemRect(grid()->item(4, 2));
    emit grid()->customContextMenuRequested(cell.center());
    QCOMPARE(texts, (QStringList{QStringLiteral("Копировать"), QStringLiteral("Вставить"),
                                 QStringLiteral("Выключить канал")}));
    QVERIFY(!channel_in_use(ws().image, 5));
    QVERIFY(test::parts(w_).channel_page()->CheckBox(5)->isChecked());
    QVERIFY(ws().state.modified);
  }

  void the_commands_have_the_usual_shortcuts() {
    const std::pair<const char*, QKeySequence> shortcuts[] = {
        {"N2", QKeySequence::New},    {"N3", QKeySequence::Open},
        {"N5", QKeySequence::Save},   {"N6", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        {"N8", QKeySequence::Print},  {"N10", QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {"Undo", QKeySequence::Undo}, {"Redo", QKeySequence(Qt::CTRL | Qt::Key_Y)}};
    for (const auto& [name, keys] : shortcuts) {
      QCOMPARE(test::parts(w_).action(QString::fromLatin1(name))->shortcut(), keys);
    }
    // Only shortcuts were added: the menus hold their items as before.
    QCOMPARE(test::parts(w_).action(QStringLiteral("Undo"))->associatedObjects().size(), 1);
  }
};

}  // namespace tirna

QTEST_MAIN(tirna::Editing_test)
#include "editing_test.moc"
