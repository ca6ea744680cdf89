// The editing comforts of the window: undo and redo of every kind of change back to the default
// image, Copy and Paste of channels (and the box of a refused paste, in Russian and on a laptop's
// screen), the table's context menu, a dropped parameter file and the standard shortcuts.

#include <clocale>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTableWidget>
#include <QTest>
#include <QUrl>

#include "core/channels/subtone_entry.h"
#include "core/files/channel_csv.h"
#include "core/files/param_file.h"
#include "core/image/channel_record.h"
#include "core/image/frequency.h"
#include "core/image/subtone.h"
#include "platform/files/safe_file.h"
#include "ui/app/main_window.h"
#include "ui/app/message_boxes.h"
#include "ui/channels/channel_page.h"
#include "ui/channels/frequency_dialog.h"
#include "ui/channels/paste_refusal.h"
#include "ui/channels/subtone_dialog.h"
#include "ui/pages/settings_page.h"
#include "ui_test_support.h"

namespace tirna {

using test::Box_seen;

namespace {

// The Latin words of a reason outside its «values» that are not a column of the pasted table, and
// its numbers written with a decimal point: a reason of the window has neither.
QStringList foreign(QString reason) {
  reason.remove(QRegularExpression(QStringLiteral("«[^»]*»")));
  QStringList out;
  auto words = QRegularExpression(QStringLiteral("[A-Za-z]+")).globalMatch(reason);
  while (words.hasNext()) {
    const QString word = words.next().captured();
    const auto column = column_named(word.toStdString());
    if (!column || qt_text(column_name(*column)) != word) out << word;
  }
  auto points = QRegularExpression(QStringLiteral("\\d\\.\\d")).globalMatch(reason);
  while (points.hasNext()) out << points.next().captured();
  return out;
}

// What the box of a refused paste showed, and whether its frame stayed inside the screen's
// available area with the list of all reasons hidden and shown.
struct Reasons_seen {
  bool seen = false;
  QString caption;
  QString text;
  QString details;
  bool inside = false;
};

}  // namespace

class Editing_test : public test::Window_fixture {
  Q_OBJECT

 private:
  // Answers the next box of reasons with OK, after opening its "Подробнее" when it has one.
  void answer_reasons(Reasons_seen& seen) {
    test::when_modal([&seen](QWidget* w) {
      QCOMPARE(w->objectName(), QStringLiteral("ReasonsBox"));
      seen.seen = true;
      seen.caption = w->windowTitle();
      seen.text = w->findChild<QLabel*>(QStringLiteral("ReasonsText"))->text();
      const QRect room = w->screen()->availableGeometry();
      seen.inside = room.contains(w->frameGeometry());
      if (auto* more = w->findChild<QPushButton*>(QStringLiteral("ReasonsMore"))) {
        QCOMPARE(more->text(), QStringLiteral("Подробнее"));
        more->click();
        QApplication::processEvents();
        auto* details = w->findChild<QPlainTextEdit*>(QStringLiteral("ReasonsDetails"));
        QVERIFY(details->isVisible());
        seen.details = details->toPlainText();
        seen.inside = seen.inside && room.contains(w->frameGeometry());
      }
      qobject_cast<QDialog*>(w)->accept();
    });
  }
  void paste(const QString& table, int row) {
    QApplication::clipboard()->setText(table);
    grid()->clearSelection();
    grid()->setCurrentCell(row, 1);
    test::parts(w_).action(QStringLiteral("PasteChannels"))->trigger();
  }
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
    set_channel_flag(im, 3, Channel_flag::low_power, true);
    w_->print_wind_blok();
    grid()->clearSelection();
    grid()->setCurrentCell(1, 1);
    grid()->setRangeSelected(QTableWidgetSelectionRange(1, 1, 2, 8), true);
    // On a Russian desktop the numbers of the rows still take a point: programs read them.
    const std::string numbers = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "ru_RU.UTF-8");
    test::parts(w_).action(QStringLiteral("CopyChannels"))->trigger();
    std::setlocale(LC_NUMERIC, numbers.c_str());
    const QStringList lines =
        QApplication::clipboard()->text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);  // the header and the two rows
    QVERIFY(lines[0].startsWith(QStringLiteral("Location,Name,Frequency")));
    QVERIFY(lines[1].startsWith(QStringLiteral("2,,151.000000")));
    QVERIFY2(lines[2].contains(QStringLiteral(",5.0W,")), qPrintable(lines[2]));

    grid()->clearSelection();
    grid()->setCurrentCell(9, 1);
    ws().state.modified = false;
    test::parts(w_).action(QStringLiteral("PasteChannels"))->trigger();
    QCOMPARE(channel_record(im, 10), channel_record(im, 2));
    QCOMPARE(channel_record(im, 11), channel_record(im, 3));
    QVERIFY(ws().state.modified);
    key(Qt::Key_Z);  // a paste is one step
    QCOMPARE(channel_frequency(im, 10, Side::rx, 2), 160000000);

    // What cannot be stored is refused whole, with the reason in Russian, and changes nothing.
    const Param_image before = im;
    Reasons_seen refused;
    answer_reasons(refused);
    paste(QStringLiteral("Location,Frequency\n1,150\n2,999\n"), 0);
    QCOMPARE(refused.caption, QStringLiteral("Вставка каналов"));
    QCOMPARE(refused.text, QStringLiteral("Каналы не вставлены: ничего не изменено.\n"
                                          "Строка 3, Frequency «999,000000»: частота вне "
                                          "диапазона 146,000000 - 174,000000 МГц"));
    QVERIFY(im == before);
    // A comment line before the rows does not move them: Location 30 goes to channel 16.
    paste(QStringLiteral("Location,Frequency\n#0,150.000000\n30,151.000000\n"), 15);
    QCOMPARE(channel_frequency(im, 16, Side::rx, 2), 151000000);
    // A clipboard larger than a table file may be is not read.
    key(Qt::Key_Z);
    Box_seen large;
    test::answer_box(large, QMessageBox::Ok);
    paste(QStringLiteral("Location,Frequency\n") + QString(4 << 20, QLatin1Char(' ')), 0);
    QVERIFY(large.text.contains(QStringLiteral("больше 4 МБ")));
    QVERIFY(im == before);
  }

  // Every reason a paste can give, each kind of check of the channels included, is Russian with
  // the decimal comma; the only Latin words are the names of the pasted table's columns.
  void every_paste_refusal_is_said_in_russian() {
    std::vector<Csv_problem> problems;
    for (int k = 0; k < csv_refusal_count; ++k) {
      Csv_problem& p = problems.emplace_back(2, static_cast<Csv_refusal>(k), Csv_column::frequency,
                                             "460.000000");
      p.hz = 460000000;
      p.limits = {146000000, 174000000};
      p.number = 17;
      p.locations = {0, 17};
      p.detail = subtone_refusal("6,5");
      if (p.refusal == Csv_refusal::channel_refused) p.fault = Channel_fault{};
    }
    for (const auto kind :
         {Channel_fault::out_of_band, Channel_fault::subtone_type, Channel_fault::ctcss_value,
          Channel_fault::dcs_value, Channel_fault::fixed_bits}) {
      Channel_fault fault;
      fault.kind = kind;
      fault.channel = 3;
      fault.hz = 460000000;
      fault.value = 0x1A2B;
      problems.emplace_back(4, Csv_refusal::channel_refused).fault = fault;
    }
    problems.emplace_back(0, Csv_refusal::empty_table);
    for (const Csv_problem& p : problems) {
      const QString reason = paste_refusal_text(p);
      QVERIFY2(reason.size() > reason.indexOf(QLatin1Char(':')) + 3, qPrintable(reason));
      QVERIFY2(foreign(reason).isEmpty(), qPrintable(reason));
    }
  }

  // A table of 200 refused rows: the box names the first ten and how many more, all of them
  // behind "Подробнее", and stays inside a 1366x768 screen.
  void the_box_of_200_refused_rows_fits_a_laptop_screen() {
    QCOMPARE(w_->screen()->geometry().size(), QSize(1366, 768));
    QString table = QStringLiteral("Location,Frequency\n");
    for (int n = 1; n <= 200; ++n) table += QStringLiteral("%1,460.000000\n").arg(n);
    Reasons_seen refused;
    answer_reasons(refused);
    paste(table, 0);
    QVERIFY(refused.seen);
    const QStringList lines = refused.text.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 12);
    QCOMPARE(lines.last(), QStringLiteral("и ещё 190."));
    const QStringList all = refused.details.split(QLatin1Char('\n'));
    QCOMPARE(all.size(), 200);
    QCOMPARE(all.last(), QStringLiteral("Строка 201, Location «200»: строка попала бы в канал "
                                        "200, а последний канал 16"));
    for (const QString& reason : all) QVERIFY2(foreign(reason).isEmpty(), qPrintable(reason));
    QVERIFY(refused.inside);
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
    QCOMPARE(texts, (QStringList{"Копировать", "Вставить", "Переместить вверх", "Переместить вниз",
                                 "Вставить пустой канал", "Удалить каналы",
                                 "Сортировать по частоте приема", "Изменить каналы...",
                                 "Выключить канал"}));
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

int main(int argc, char** argv) {
  const tirna::test::Offscreen_screen laptop(1366, 768);
  QApplication app(argc, argv);
  app.setAttribute(Qt::AA_Use96Dpi, true);
  tirna::Editing_test test;
  return QTest::qExec(&test, argc, argv);
}
#include "editing_test.moc"
