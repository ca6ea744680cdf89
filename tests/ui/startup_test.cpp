// Start-up and exit of the main window: config.ini, the Save folder, the drive check, the single
// instance, the first state of the window and what exit writes back.

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <random>

#include <unistd.h>

#include "core/files/param_file.h"
#include "core/image/param_image.h"
#include "platform/config_file.h"
#include "platform/files/safe_file.h"
#include "platform/instance_lock.h"
#include "platform/programmer_status_timer.h"
#include "ui/app/main_window.h"
#include "ui/app/program.h"
#include "ui/channels/channel_page.h"
#include "ui_test_support.h"

namespace tirna {

using test::Box_seen;
using test::Program_folder;

class Startup_test : public QObject {
  Q_OBJECT

 private:
  static Config_values values_in(const Program_folder& folder) {
    return open_config_file(folder.file("config.ini").toStdString()).values;
  }

 private slots:
  void first_start_creates_the_exact_config_and_the_save_folder() {
    Program_folder folder;
    TForm1 w;
    QVERIFY(!w.start_refused());
    QCOMPARE(folder.read("config.ini"),
             test::cp1251("[Общие]\r\nСОМ/USB=1\r\nСОМ-порт=0\r\nX=0\r\nY=0\r\n"));
    QCOMPARE(folder.read("config.ini").mid(9, 3), QByteArray("\xD1\xCE\xCC"));
    QVERIFY(QFileInfo(folder.file("Save")).isDir());
    QCOMPARE(w.windowTitle(), QStringLiteral("ПО Тирна-520   Версия 1.3"));
    QCOMPARE(w.program_folder(), folder.path());
    QCOMPARE(test::parts(w).help_file(), folder.file("Tirna520.hlp"));
    // The programmer status shows at once, before the first tick.
    QCOMPARE(test::parts(w).status_panel(0)->text(), QStringLiteral("Программатор COM1"));
    QCOMPARE(test::parts(w).status_panel(1)->text(), QString());
    QCOMPARE(test::parts(w).PageControl1()->currentIndex(), 0);
    QCOMPARE(test::parts(w).ComboBox1()->currentIndex(), 0);
    const Working_state& s = w.workspace().state;
    QCOMPARE(s.coding_version, 2);
    QCOMPARE(s.band_index, 0);
    QCOMPARE(s.limits.lower, 146000000);
    QCOMPARE(s.limits.upper, 174000000);
    QVERIFY(!s.modified);
    QVERIFY(w.workspace().file_name.empty());
  }

  void exit_writes_the_choice_and_position_back_and_start_centres_the_window() {
    Program_folder folder;
    folder.write("config.ini", test::cp1251("[Порты]\r\nCOM8=/dev/ttyACM0\r\n[Общие]\r\n"
                                            "СОМ/USB=5\r\nСОМ-порт=7\r\nX=100\r\nY=50\r\n"));
    TForm1 w;
    QCOMPARE(w.programmer().type, 5);
    QCOMPARE(w.programmer().port_index, 7);
    QCOMPARE(test::parts(w).status_panel(0)->text(), QStringLiteral("Программатор COM8"));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QRect screen = w.screen()->availableGeometry();
    QVERIFY(qAbs(w.frameGeometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(w.frameGeometry().center().y() - screen.center().y()) <= 1);
    w.move(33, 44);
    // What the user adds while the program runs (the help tells them to map ports so) stays, byte
    // for byte; only the four keys are written.
    folder.write("config.ini", test::cp1251("[Порты]\r\nCOM8=/dev/ttyACM0\r\nCOM2=/dev/ttyS1\r\n"
                                            "[Общие]\r\nСОМ/USB=5\r\n; note\r\nX=100\r\n"));
    QVERIFY(w.close());
    QCOMPARE(folder.read("config.ini"),
             test::cp1251("[Порты]\r\nCOM8=/dev/ttyACM0\r\nCOM2=/dev/ttyS1\r\n[Общие]\r\n"
                          "СОМ/USB=5\r\n; note\r\nX=33\r\nСОМ-порт=7\r\nY=44\r\n"));
  }

  void programmer_type_zero_shows_the_usb_status_from_an_empty_panel() {
    Program_folder folder;
    folder.write("config.ini", test::cp1251("[Общие]\r\nСОМ/USB=0\r\nСОМ-порт=2\r\n"));
    TForm1 w;
    QVERIFY(w.programmer().usb());
    QVERIFY(w.status_timer()->timer().isActive());
    QCOMPARE(w.status_timer()->timer().interval(), 1000);
    // No programmer is plugged in here: the status starts with the empty phase of its blinking.
    QCOMPARE(test::parts(w).status_panel(0)->text(), QString());
    w.status_timer()->Timer1Timer();
    QCOMPARE(test::parts(w).status_panel(0)->text(), QStringLiteral("USB-Программатор не подключен"));
  }

  void damaged_config_starts_with_the_defaults_and_keeps_its_other_content_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("kept");
    std::mt19937 random(1251);
    QByteArray binary(8192, '\0');
    for (char& c : binary) c = static_cast<char>(random());
    binary.replace("\r\n", "..");
    QByteArray big = test::cp1251("[Мусор]\r\n");
    while (big.size() < 10 << 20) big += "junk=0123456789abcdef0123456789abcdef0123456789\r\n";
    const QByteArray marker = test::cp1251("[Другое]\r\nключ=значение\r\n");
    QTest::newRow("binary") << binary + "\r\n" + marker << marker;
    QTest::newRow("10 MB") << big + marker << marker;
    QTest::newRow("missing section") << marker << marker;
    QTest::newRow("Latin COM keys")
        << test::cp1251("[Общие]\r\nCOM/USB=0\r\nCOM-порт=3\r\n") + marker
        << QByteArray("COM/USB=0\r\n");
    QTest::newRow("not integers")
        << test::cp1251("[Общие]\r\nСОМ/USB=USB\r\nСОМ-порт=2,5\r\nX=\r\nY=1e3\r\n") + marker
        << marker;
    QTest::newRow("out of 32 bits")
        << test::cp1251("[Общие]\r\nСОМ/USB=4294967297\r\nСОМ-порт=-2147483649\r\n") + marker
        << marker;
  }
  void damaged_config_starts_with_the_defaults_and_keeps_its_other_content() {
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, kept);
    Program_folder folder;
    folder.write("config.ini", bytes);
    {
      TForm1 w;
      QVERIFY(!w.start_refused());
      QCOMPARE(w.programmer().type, 1);
      QCOMPARE(w.programmer().port_index, 0);
      QCOMPARE(test::parts(w).status_panel(0)->text(), QStringLiteral("Программатор COM1"));
      QCOMPARE(folder.read("config.ini"), bytes);  // read only, until exit
      w.move(12, 34);
      QVERIFY(w.close());
    }
    const QByteArray after = folder.read("config.ini");
    QVERIFY(after.contains(kept));
    const Config_values v = values_in(folder);
    QCOMPARE(v.programmer_type, 1);
    QCOMPARE(v.com_port_index, 0);
    QCOMPARE(v.x, 12);
    QCOMPARE(v.y, 34);
  }

  void a_config_that_cannot_be_created_is_reported_and_the_window_still_works() {
    Program_folder folder;
    QVERIFY(QDir(folder.path()).mkdir("config.ini"));  // a folder where the file would go
    Box_seen box;
    test::answer_box(box, QMessageBox::Ok);
    TForm1 w;
    QVERIFY(box.seen);
    QCOMPARE(box.caption, QStringLiteral("ПО Тирна-520"));
    QCOMPARE(box.text, QStringLiteral("File access denied."));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(test::parts(w).channel_page()->StringGrid101()->item(0, 1)->text(), QStringLiteral("  160,000000"));
    QCOMPARE(test::parts(w).status_panel(0)->text(), QStringLiteral("Программатор COM1"));
    test::expect_no_modal_after([&] { QVERIFY(w.close()); });
    QVERIFY(QFileInfo(folder.file("config.ini")).isDir());
  }

  void a_removable_drive_is_refused_before_anything_is_created() {
    Program_folder folder;
    qputenv("TIRNA520_DRIVE", "removable");
    Box_seen box;
    test::answer_box(box, QMessageBox::Ok);
    TForm1 w;
    qputenv("TIRNA520_DRIVE", "fixed");
    QVERIFY(box.seen);
    QVERIFY(w.start_refused());
    QCOMPARE(box.caption, QStringLiteral("ОШИБКА ОТКРЫТИЯ ПРОГРАММЫ"));
    QCOMPARE(box.text, QStringLiteral("Программа запущена со сменного носителя информации! "
                                      "Перенесите программу на жесткий диск и запустите. "));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, QStringList{QStringLiteral("OK")});
    test::expect_no_modal_after([&] { w.close(); });
    QVERIFY(!folder.exists("Save"));
    QVERIFY(!folder.exists("config.ini"));
  }

  void a_second_copy_says_so_and_touches_nothing() {
    Program_folder folder;
    QTemporaryDir locks;
    qputenv("XDG_RUNTIME_DIR", locks.path().toLocal8Bit());
    Instance_lock first;
    QCOMPARE(first.acquire(program_lock_name), Instance_lock::Result::acquired);
    Box_seen box;
    test::answer_box(box, QMessageBox::Ok);
    QCOMPARE(run_program(*qApp, QString()), 1);
    qunsetenv("XDG_RUNTIME_DIR");
    QVERIFY(box.seen);
    QCOMPARE(box.caption, QStringLiteral("Ошибка"));
    QCOMPARE(box.text, QStringLiteral("Программа уже открыта!"));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QVERIFY(!folder.exists("Save"));
    QVERIFY(!folder.exists("config.ini"));
  }

  // A lock folder that another user made (here: a file in its place) is no running copy: the
  // program says that it cannot check, and starts.
  void a_lock_that_cannot_be_taken_is_said_and_the_program_still_starts() {
    Program_folder folder;
    QTemporaryDir tmp;
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", tmp.path().toLocal8Bit());
    QFile planted(tmp.filePath(QStringLiteral("tirna520-%1").arg(::geteuid())));
    QVERIFY(planted.open(QIODevice::WriteOnly));
    planted.close();
    Box_seen box;
    test::when_modal([&](QWidget* w) {
      auto* message = qobject_cast<QMessageBox*>(w);
      box.seen = message != nullptr;
      if (message) box.text = message->text();
      w->close();
      // Then the window is up: close it as the user would.
      QTimer::singleShot(0, [] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
          if (top->objectName() == QStringLiteral("TForm1")) top->close();
        }
      });
    });
    QCOMPARE(run_program(*qApp, QString()), 0);
    qunsetenv("TMPDIR");
    QVERIFY(box.seen);
    QVERIFY(box.text.startsWith(QStringLiteral("Не удалось проверить, не открыта ли программа уже:")));
    QVERIFY(folder.exists("config.ini"));  // it did start
  }

  // tirna520 FILE (a double click in the file manager): after start-up the file opens as with
  // "Открыть", named relative to the folder the program started in.
  void a_file_given_at_start_opens_after_start_up() {
    Program_folder folder;
    QTemporaryDir locks;
    qputenv("XDG_RUNTIME_DIR", locks.path().toLocal8Bit());
    Param_image radio;
    new_blok(radio, 1, 2);
    QVERIFY(!save_image(safe_files(), folder.file("radio.tn5").toStdString(), radio));
    QString shown_file;
    int band = -1;
    QTimer::singleShot(0, [&] {
      const bool opened = QTest::qWaitFor(
          [&] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
              if (auto* form = qobject_cast<TForm1*>(top)) {
                shown_file = test::parts(*form).status_panel(1)->text();
                band = test::parts(*form).ComboBox1()->currentIndex();
                if (!shown_file.isEmpty()) {
                  form->close();
                  return true;
                }
              }
            }
            return false;
          },
          10000);
      if (!opened) QApplication::closeAllWindows();
    });
    QCOMPARE(run_program(*qApp, QStringLiteral("radio.tn5")), 0);
    qunsetenv("XDG_RUNTIME_DIR");
    QCOMPARE(shown_file, QDir::toNativeSeparators(folder.file("radio.tn5")));
    QCOMPARE(band, 1);
  }

  void a_running_program_in_another_process_keeps_a_second_one_out_until_it_dies() {
    Program_folder first_folder;
    QTemporaryDir locks;
    QProcess first;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", locks.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    first.setProcessEnvironment(env);
    first.setWorkingDirectory(first_folder.path());
    first.start(QStringLiteral(TIRNA520_EXE), {});
    QVERIFY(first.waitForStarted(10000));
    QVERIFY(QTest::qWaitFor([&] { return first_folder.exists("config.ini"); }, 20000));
    const QByteArray first_config = first_folder.read("config.ini");

    Program_folder second_folder;
    qputenv("XDG_RUNTIME_DIR", locks.path().toLocal8Bit());
    Box_seen box;
    test::answer_box(box, QMessageBox::Ok);
    QCOMPARE(run_program(*qApp, QString()), 1);
    QCOMPARE(box.text, QStringLiteral("Программа уже открыта!"));
    QVERIFY(!second_folder.exists("config.ini"));
    QVERIFY(!second_folder.exists("Save"));
    QCOMPARE(first_folder.read("config.ini"), first_config);
    QCOMPARE(first.state(), QProcess::Running);

    first.kill();  // killed, not closed: the system frees the lock
    QVERIFY(first.waitForFinished(10000));
    Instance_lock after;
    QCOMPARE(after.acquire(program_lock_name), Instance_lock::Result::acquired);
    qunsetenv("XDG_RUNTIME_DIR");
    QCOMPARE(first_folder.read("config.ini"), first_config);  // no exit steps when killed
  }
};

}  // namespace tirna

QTEST_MAIN(tirna::Startup_test)
#include "startup_test.moc"
