// The file commands with their dialogs answered by the test, the band list's question and the
// question on closing.

#include <QAbstractButton>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <random>

#include <sys/stat.h>

#include "core/files/param_file.h"
#include "core/image/frequency.h"
#include "platform/config_file.h"
#include "ui/app/main_window.h"
#include "ui/channels/channel_page.h"
#include "../support/full_disk.h"
#include "ui_test_support.h"

namespace tirna {

using test::Box_seen;
using test::Program_folder;

class File_commands_test : public test::Window_fixture {
  Q_OBJECT

 private:

  QString panel() const { return test::parts(w_).status_panel(1)->text(); }
  QString cell(int row, int column) const {
    return test::parts(w_).channel_page()->StringGrid101()->item(row, column)->text();
  }

  // Answers the next file dialog: checks its settings and chooses name (typed into its field),
  // or cancels when name is empty.
  void answer_file_dialog(const QString& name, bool saving, bool* asked_after = nullptr) {
    test::when_modal([this, name, saving, asked_after](QWidget* w) {
      auto* d = qobject_cast<QFileDialog*>(w);
      QVERIFY(d != nullptr);
      QCOMPARE(d->directory().absolutePath(), QDir(folder_->file("Save")).absolutePath());
      QCOMPARE(d->nameFilters(), QStringList{QStringLiteral("Файлы Тирна-520 (*.tn5)")});
      QCOMPARE(d->acceptMode(), saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
      QCOMPARE(d->defaultSuffix(), saving ? QStringLiteral("tn5") : QString());
      QVERIFY(!d->testOption(QFileDialog::DontConfirmOverwrite));
      auto* field = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      QVERIFY(field != nullptr);
      QCOMPARE(field->text(), QString());
      if (name.isEmpty()) {
        d->reject();
        return;
      }
      field->setText(name);
      if (asked_after != nullptr) test::watch_for_modal(*asked_after);
      QTest::keyClick(field, Qt::Key_Return);
    });
  }
  static QLineEdit* name_field(QFileDialog* d) {
    return d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  }
  static void type_name(QFileDialog* d, const QString& name) { name_field(d)->setText(name); }
  void save_as(const QString& name) {
    answer_file_dialog(name, true);
    w_->N6Click();
  }
  void open(const QString& name) {
    answer_file_dialog(name, false);
    w_->N3Click();
  }
  Box_seen open_failing(const QString& name) {
    Box_seen box;
    test::when_modal([this, name, &box](QWidget* w) {
      auto* d = qobject_cast<QFileDialog*>(w);
      type_name(d, name);
      test::answer_box(box, QMessageBox::Ok);
      QTest::keyClick(name_field(d), Qt::Key_Return);
    });
    w_->N3Click();
    return box;
  }
  void write_image_file(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }

 private slots:
  void save_as_adds_the_extension_and_save_then_asks_nothing() {
    ws().state.modified = true;
    save_as(QStringLiteral("test"));
    const QString path = folder_->file("Save/test.tn5");
    QCOMPARE(panel(), path);
    QVERIFY(!ws().state.modified);
    QByteArray bytes = folder_->read("Save/test.tn5");
    QCOMPARE(bytes.size(), 1536);
    QCOMPARE(bytes.toStdString(), image_file_bytes(ws().image));
    for (int k = 1; k <= 128; ++k) {
      QCOMPARE(uint8_t(bytes[12 * (k - 1)]), uint8_t{0x57});
      QCOMPARE(uint8_t(bytes[12 * (k - 1) + 1]), uint8_t(8 * (k - 1) / 256));
      QCOMPARE(uint8_t(bytes[12 * (k - 1) + 2]), uint8_t(8 * (k - 1) % 256));
      QCOMPARE(uint8_t(bytes[12 * (k - 1) + 3]), uint8_t{0x08});
    }
    store_frequency(ws().image, 1, Side::rx, 150000000, 2);
    ws().state.modified = true;
    test::expect_no_modal_after([this] { w_->N5Click(); });
    QVERIFY(!ws().state.modified);
    QCOMPARE(folder_->read("Save/test.tn5").toStdString(), image_file_bytes(ws().image));
  }

  void save_without_a_file_asks_for_one() {
    answer_file_dialog(QStringLiteral("first.tn5"), true);
    w_->N5Click();
    QVERIFY(folder_->exists("Save/first.tn5"));
  }

  void replacing_a_file_asks_first() {
    folder_->write("Save/old.tn5", "old");
    Box_seen question;
    bool stayed_open = false;
    test::when_modal([&](QWidget* w) {
      auto* d = qobject_cast<QFileDialog*>(w);
      type_name(d, QStringLiteral("old"));
      test::answer_box(question, QMessageBox::No);
      QTest::keyClick(name_field(d), Qt::Key_Return);
      stayed_open = d->isVisible();
      d->reject();
    });
    w_->N6Click();
    QVERIFY(question.seen);
    QVERIFY(stayed_open);
    QCOMPARE(folder_->read("Save/old.tn5"), QByteArray("old"));
    QCOMPARE(panel(), QString());

    Box_seen yes;
    test::when_modal([&](QWidget* w) {
      auto* d = qobject_cast<QFileDialog*>(w);
      type_name(d, QStringLiteral("old"));
      test::answer_box(yes, QMessageBox::Yes);
      QTest::keyClick(name_field(d), Qt::Key_Return);
    });
    w_->N6Click();
    QVERIFY(yes.seen);
    QCOMPARE(folder_->read("Save/old.tn5").size(), 1536);
  }

  void open_gives_back_the_saved_image_band_and_coding() {
    w_->workspace().state.coding_version = 4;
    change_band_through_the_list(1, true);
    store_frequency(ws().image, 3, Side::tx, 455012500, 4);
    const Param_image saved = ws().image;
    save_as(QStringLiteral("uhf"));

    Box_seen question;
    test::answer_box(question, QMessageBox::Yes);
    test::parts(w_).ComboBox1()->setCurrentIndex(0);
    emit test::parts(w_).ComboBox1()->activated(0);
    QVERIFY(question.seen);
    QCOMPARE(ws().state.band_index, 0);
    QCOMPARE(panel(), QString());

    ws().state.coding_version = 2;
    open(QStringLiteral("uhf.tn5"));
    QVERIFY(ws().image == saved);
    QCOMPARE(ws().state.band_index, 1);
    QCOMPARE(ws().state.coding_version, 4);
    QCOMPARE(ws().state.limits.lower, 448000000);
    QCOMPARE(ws().state.limits.upper, 472000000);
    QCOMPARE(test::parts(w_).ComboBox1()->currentText(), QStringLiteral("450МГц - 470МГц (П45)"));
    QCOMPARE(cell(2, 3), QStringLiteral("  455,012500"));
    QCOMPARE(panel(), folder_->file("Save/uhf.tn5"));
    QVERIFY(!ws().state.modified);
  }

  void file_contents_decide_the_band_data() {
    QTest::addColumn<int>("band_code");
    QTest::addColumn<int>("band_index");
    QTest::newRow("0x00") << 0x00 << 0;
    QTest::newRow("0x06") << 0x06 << 1;
    QTest::newRow("0x03") << 0x03 << 1;
  }
  void file_contents_decide_the_band() {
    QFETCH(int, band_code);
    QFETCH(int, band_index);
    Param_image image;
    new_blok(image, 0, 2);
    image.set_byte(0x2D2, static_cast<uint8_t>(band_code));
    QByteArray bytes = QByteArray::fromStdString(image_file_bytes(image));
    bytes[0] = 0x00;  // a wrong header is taken as it is
    write_image_file(folder_->file("Save/band.tn5"), bytes + QByteArray(64, 'x'));
    bool asked = false;
    answer_file_dialog(QStringLiteral("band.tn5"), false, &asked);
    w_->N3Click();
    QCoreApplication::processEvents();
    QVERIFY(!asked);
    QCOMPARE(ws().state.band_index, band_index);
    QCOMPARE(test::parts(w_).ComboBox1()->currentIndex(), band_index);
    QCOMPARE(ws().image.packet(1)[0], uint8_t{0x00});
  }

  void unreadable_files_are_reported_and_change_nothing() {
    save_as(QStringLiteral("kept"));
    store_frequency(ws().image, 1, Side::rx, 150000000, 2);
    w_->print_wind_blok();
    const Param_image before = ws().image;
    write_image_file(folder_->file("Save/short.tn5"), QByteArray(1535, '\x57'));
    Box_seen box = open_failing(QStringLiteral("short.tn5"));
    QVERIFY(box.seen);
    QCOMPARE(box.caption, QStringLiteral("ПО Тирна-520"));
    QCOMPARE(box.text, QStringLiteral("Read beyond end of file."));
    QCOMPARE(box.icon, QMessageBox::Critical);
    box = open_failing(QStringLiteral("missing.tn5"));
    QCOMPARE(box.text, QStringLiteral("File not found."));
    // A FIFO (another user's trap, or a slip) is no parameter file: refused at once, not waited on.
    QVERIFY(::mkfifo(QFile::encodeName(folder_->file("Save/pipe.tn5")).constData(), 0666) == 0);
    box = open_failing(QStringLiteral("pipe.tn5"));
    QCOMPARE(box.text, QStringLiteral("File access denied."));
    QVERIFY(ws().image == before);
    QCOMPARE(panel(), folder_->file("Save/kept.tn5"));
    QCOMPARE(cell(0, 1), QStringLiteral("  150,000000"));
  }

  void a_file_of_random_bytes_opens_and_shows() {
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
      QByteArray bytes(1536, '\0');
      for (char& c : bytes) c = static_cast<char>(random());
      write_image_file(folder_->file("Save/random.tn5"), bytes);
      bool asked = false;
      answer_file_dialog(QStringLiteral("random.tn5"), false, &asked);
      w_->N3Click();
      QCoreApplication::processEvents();
      QVERIFY(!asked);
      QCOMPARE(QByteArray::fromStdString(image_file_bytes(ws().image)), bytes);
      QCOMPARE(test::parts(w_).ComboBox1()->currentIndex(), bytes[12 * 90 + 4 + 2] == 0 ? 0 : 1);
      QCOMPARE(ws().state.coding_version, uint8_t(bytes[12 * 90 + 4 + 1]));
    }
  }

  void a_cancelled_open_changes_nothing() {
    const Param_image before = ws().image;
    open(QString());
    QVERIFY(ws().image == before);
    QCOMPARE(panel(), QString());
  }

  void a_full_disk_is_reported_and_the_old_file_survives() {
    save_as(QStringLiteral("keep"));
    const QByteArray old = folder_->read("Save/keep.tn5");
    store_frequency(ws().image, 1, Side::rx, 150000000, 2);
    ws().state.modified = true;
    Box_seen box;
    test::answer_box(box, QMessageBox::Ok);
    {
      test::Full_disk full;
      w_->N5Click();
    }
    QCOMPARE(box.text, QStringLiteral("Disk full."));
    QVERIFY(ws().state.modified);
    QCOMPARE(folder_->read("Save/keep.tn5"), old);
  }

  void new_asks_and_only_yes_rebuilds_the_image() {
    save_as(QStringLiteral("named"));
    store_frequency(ws().image, 1, Side::rx, 150000000, 2);
    const Param_image edited = ws().image;
    ws().state.modified = true;
    Box_seen no;
    test::answer_box(no, QMessageBox::No);
    w_->N2Click();
    QCOMPARE(no.caption, QStringLiteral("Новый файл"));
    QCOMPARE(no.text, QStringLiteral("При создании нового файла, будет уничтожена информация\n"
                                     "предыдущего файла. Продолжить?"));
    QCOMPARE(no.icon, QMessageBox::Warning);
    QCOMPARE(no.buttons.size(), 2);
    QVERIFY(no.buttons.contains(QStringLiteral("Да")) &&
            no.buttons.contains(QStringLiteral("Нет")));
    QVERIFY(ws().image == edited);
    QCOMPARE(panel(), folder_->file("Save/named.tn5"));
    Box_seen yes;
    test::answer_box(yes, QMessageBox::Yes);
    w_->N2Click();
    QCOMPARE(cell(0, 1), QStringLiteral("  160,000000"));
    QCOMPARE(panel(), QString());
    QVERIFY(ws().state.modified);  // New leaves the flag alone
  }

  void the_band_question_no_puts_the_list_back() {
    store_frequency(ws().image, 1, Side::rx, 150000000, 2);
    const Param_image before = ws().image;
    change_band_through_the_list(1, false);
    QCOMPARE(test::parts(w_).ComboBox1()->currentIndex(), 0);
    QVERIFY(ws().image == before);
    QCOMPARE(ws().state.limits.upper, 174000000);
    // Picking the band already selected asks nothing.
    test::expect_no_modal_after([this] { test::pick(test::parts(w_).ComboBox1(), 0); });
    QVERIFY(ws().image == before);
    change_band_through_the_list(1, true);
    QCOMPARE(cell(0, 1), QStringLiteral("  460,000000"));
    QCOMPARE(ws().state.band_index, 1);
    QCOMPARE(ws().state.coding_version, 2);
    QVERIFY(!ws().state.modified);
  }

  void closing_unchanged_asks_nothing() {
    test::expect_no_modal_after([this] { QVERIFY(w_->close()); });
  }

  void closing_after_a_click_asks_and_no_closes() {
    test::click_cell(test::parts(w_).channel_page()->StringGrid101(), 0, 6);
    test::click_cell(test::parts(w_).channel_page()->StringGrid101(), 0, 6);
    Box_seen box;
    test::answer_box(box, QMessageBox::No);
    QVERIFY(w_->close());
    QCOMPARE(box.caption, QStringLiteral("Внимание"));
    QCOMPARE(box.text, QStringLiteral("Параметры были изменены. Сохранить файл параметров?"));
    QCOMPARE(box.icon, QMessageBox::Question);
    QVERIFY(!folder_->exists("Save/anything.tn5"));
  }

  void a_failed_save_on_closing_keeps_the_window_and_the_config() {
    save_as(QStringLiteral("target"));
    ws().state.modified = true;
    const QByteArray config = folder_->read("config.ini");
    w_->move(10, 20);
    auto full = std::make_unique<test::Full_disk>();
    Box_seen question, error;
    test::when_modal([&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      question.seen = box != nullptr;
      test::answer_box(error, QMessageBox::Ok);
      box->button(QMessageBox::Yes)->click();
    });
    QVERIFY(!w_->close());
    QVERIFY(question.seen);
    QCOMPARE(error.text, QStringLiteral("Disk full."));
    QVERIFY(w_->isVisible());
    QVERIFY(ws().state.modified);
    QCOMPARE(folder_->read("config.ini"), config);  // the exit steps did not run

    // Closing again asks again; now the save works and the window closes.
    full.reset();
    Box_seen again;
    test::answer_box(again, QMessageBox::Yes);
    QVERIFY(w_->close());
    QVERIFY(again.seen);
    QVERIFY(!ws().state.modified);
    QCOMPARE(open_config_file(folder_->file("config.ini").toStdString()).values.x, 10);
  }

  void a_cancelled_save_as_on_closing_still_closes() {
    ws().state.modified = true;
    test::when_modal([&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      answer_file_dialog(QString(), true);
      box->button(QMessageBox::Yes)->click();
    });
    QVERIFY(w_->close());
    QVERIFY(QDir(folder_->file("Save")).isEmpty());
  }

 private:
  void change_band_through_the_list(int band, bool yes) {
    Box_seen box;
    test::answer_box(box, yes ? QMessageBox::Yes : QMessageBox::No);
    test::pick(test::parts(w_).ComboBox1(), band);
    QVERIFY(box.seen);
    QCOMPARE(box.caption, QStringLiteral("Выбор частотного диапазона."));
    QCOMPARE(box.text, QStringLiteral("При выборе нового частотного диапазона, все параметры "
                                      "каналов будут стерты. Продолжить?"));
    QCOMPARE(box.icon, QMessageBox::Warning);
  }
};

}  // namespace tirna

QTEST_MAIN(tirna::File_commands_test)
#include "file_commands_test.moc"
