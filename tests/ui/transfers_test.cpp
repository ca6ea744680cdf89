// The window's transfer commands end to end against tirna520-sim on a pseudo-terminal (COM1 of
// the program folder's config.ini), the progress window TForm10, the busy state, and the print
// command writing a PDF.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <functional>
#include <memory>

#include "core/channels/channel_edits.h"
#include "core/files/param_file.h"
#include "core/fleet/journal_chain.h"
#include "core/pages/extra_data.h"
#include "core/text/cp1251.h"
#include "platform/files/safe_file.h"
#include "platform/programmer_status_timer.h"
#include "platform/programming_journal.h"
#include "ui/app/main_window.h"
#include "ui/channels/channel_page.h"
#include "ui/link/link_doctor_dialog.h"
#include "ui/transfer/comparison_dialog.h"
#include "ui/link/programmer_dialog.h"
#include "ui/pages/extra_page.h"
#include "ui/report/report_print_command.h"
#include "ui/transfer/progress_window.h"
#include "ui/transfer/window_transfer_view.h"
#include "ui_test_support.h"

namespace tirna {
namespace {

using test::Box_seen;
using test::Program_folder;

// tirna520-sim as a child process; its first line of output is its pseudo-terminal. Stopping it
// (SIGTERM) saves its memory and ends its log.
class Simulator {
 public:
  Simulator(const QString& folder, QStringList options)
      : log_(folder + QStringLiteral("/sim.log")), saved_(folder + QStringLiteral("/saved.tn5")) {
    options << QStringLiteral("--log") << log_ << QStringLiteral("--save") << saved_;
    process_.setProgram(QStringLiteral(TIRNA520_SIM));
    process_.setArguments(options);
    process_.start();
    if (!process_.waitForStarted(5000)) return;
    const QDeadlineTimer deadline(10000);
    while (!process_.canReadLine() && !deadline.hasExpired()) {
      process_.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
    }
    device_ = QString::fromUtf8(process_.readLine()).trimmed();
  }
  ~Simulator() { stop(); }

  const QString& device() const { return device_; }

  void stop() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
      process_.kill();
      process_.waitForFinished(2000);
    }
  }

  // The traffic of the log without time stamps ("read 0x000", "write 0x2b0: ...", "END"); the
  // simulator's own line about its exit is left out.
  QStringList log() const {
    QFile f(log_);
    QStringList lines;
    if (!f.open(QIODevice::ReadOnly)) return lines;
    for (const QByteArray& line : f.readAll().split('\n')) {
      const qsizetype text = line.indexOf("ms  ");
      if (text >= 0 && !line.mid(text + 4).startsWith("exit: ")) {
        lines << QString::fromUtf8(line.mid(text + 4));
      }
    }
    return lines;
  }
  int count(const QString& prefix) const {
    int n = 0;
    for (const QString& line : log()) n += line.startsWith(prefix) ? 1 : 0;
    return n;
  }

  // The radio's memory as it saved it on exit.
  std::optional<Param_image> saved() const {
    auto loaded = load_image(safe_files(), QFile::encodeName(saved_).toStdString());
    if (auto* image = std::get_if<Param_image>(&loaded)) return *image;
    return std::nullopt;
  }

 private:
  QProcess process_;
  QString log_;
  QString saved_;
  QString device_;
};

// Owns the answers still waiting, so that a test that fails leaves none for the next one.
std::unique_ptr<QObject> pending_answers;

// Runs act on the modal window as soon as one shows (a transfer's waits run the event loop long
// before its message box opens).
void when_shown(std::function<void(QWidget*)> act) {
  if (!pending_answers) pending_answers = std::make_unique<QObject>();
  test::when_modal_shows(std::move(act), pending_answers.get());
}

// Records the next message box and answers it with `button`; then runs next, if any (to answer
// the box that follows).
void answer_when_shown(Box_seen& seen, QMessageBox::StandardButton button,
                       std::function<void()> next = {}) {
  when_shown([&seen, button, next](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    if (box == nullptr) {
      w->close();
      return;
    }
    test::record_box(seen, *box);
    if (next) next();
    if (QAbstractButton* answer = box->button(button)) {
      answer->click();
    } else {
      box->close();
    }
  });
}

// Counts the modal windows that open while it lives, closing each.
class Modal_watch {
 public:
  Modal_watch() {
    QObject::connect(&poll_, &QTimer::timeout, [this] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        ++opened;
        modal->close();
      }
    });
    poll_.start(10);
  }
  int opened = 0;

 private:
  QTimer poll_;
};

// What the window looked like at one tick of a timer during a transfer.
struct Sample {
  bool busy = false;
  bool menus = false, tools = false, band = false, pages = false;
  bool progress_shown = false;
  QPoint progress_off_centre;  // of the progress window from the main window's centre
  QString caption, label1, label2;
  int position = 0, maximum = 0;
};

// Samples the window every 10 ms: the timers of the window keep ticking while a transfer waits.
// At the first busy tick it tries what a user might: close the main window and the progress
// window, and start a second transfer.
class Sampler {
 public:
  explicit Sampler(TForm1& w) : w_(w) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
    timer_.start(10);
  }
  std::vector<Sample> samples;
  bool close_refused = false, progress_close_refused = false, tried = false;
  bool progress_tried = false;

  std::vector<Sample> while_progress() const {
    std::vector<Sample> out;
    for (const Sample& s : samples) {
      if (s.progress_shown) out.push_back(s);
    }
    return out;
  }

 private:
  void tick() {
    TForm10* f = test::parts(w_).Form10();
    Sample s;
    s.busy = w_.busy();
    s.menus = w_.menuBar()->isEnabled();
    s.tools = test::parts(w_).ToolBar1()->isEnabled();
    s.band = test::parts(w_).ComboBox1()->isEnabled();
    s.pages = test::parts(w_).PageControl1()->isEnabled();
    s.progress_shown = f->isVisible();
    s.progress_off_centre = f->frameGeometry().center() - w_.frameGeometry().center();
    s.caption = f->windowTitle();
    s.label1 = f->Label1()->text();
    s.label2 = f->Label2()->text();
    s.position = f->ProgressBar1()->value();
    s.maximum = f->ProgressBar1()->maximum();
    samples.push_back(s);
    if (s.busy && !tried && QApplication::activeModalWidget() == nullptr) {
      tried = true;
      w_.close();
      close_refused = w_.isVisible();
      w_.N13Click();  // refused at once: a transfer already holds the window
      w_.N12Click();
    }
    if (s.progress_shown && !progress_tried) {
      progress_tried = true;
      f->close();
      progress_close_refused = f->isVisible();
    }
  }
  TForm1& w_;
  QTimer timer_;
};

QString pdf_text(const QString& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  if (!p.waitForFinished(20000)) return {};
  return QString::fromUtf8(p.readAllStandardOutput());
}

const QString read_failed_text = QStringLiteral(
    "Данные не считаны. Проверьте включена ли радиостанция и\nподключение кабеля программатора.");
const QString write_failed_text = QStringLiteral(
    "Данные не записаны. Проверьте включена ли радиостанция и\nподключение кабеля программатора.");

}  // namespace

class Transfers_test : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<Program_folder> folder_;
  std::unique_ptr<QTemporaryDir> data_home_;
  std::unique_ptr<Simulator> sim_;
  std::unique_ptr<TForm1> w_;

  // Starts the simulator, maps COM1 to it in config.ini with the programmer type (ports: other
  // lines of "[Порты]", where "%1" stands for the simulator's device), then opens the window.
  void start(const QStringList& sim_options, int programmer_type = 1,
             const QString& ports = QStringLiteral("COM1=%1\r\n")) {
    sim_ = std::make_unique<Simulator>(folder_->path(), sim_options);
    QVERIFY2(!sim_->device().isEmpty(), "the simulator did not start");
    folder_->write(
        QStringLiteral("config.ini"),
        test::cp1251(
            QStringLiteral("[Порты]\r\n") +
            QString(ports).replace(QStringLiteral("%1"), sim_->device()) +
            QStringLiteral("[Общие]\r\nСОМ/USB=%1\r\nСОМ-порт=0\r\n").arg(programmer_type)));
    w_ = std::make_unique<TForm1>();
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
  }

  Param_image& image() const { return w_->workspace().image; }

  void expect_enabled_again() const {
    QVERIFY(!w_->busy());
    QVERIFY(w_->menuBar()->isEnabled());
    QVERIFY(test::parts(w_).ToolBar1()->isEnabled());
    QVERIFY(test::parts(w_).ComboBox1()->isEnabled());
    QVERIFY(test::parts(w_).PageControl1()->isEnabled());
    QVERIFY(!test::parts(w_).Form10()->isVisible());
    QVERIFY(!test::parts(w_).transfer_view()->port().is_open());
  }

  // During the transfer the window was locked and the progress window showed; the attempts of
  // the Sampler to close them or start another transfer were refused.
  static void expect_busy_while_transferring(const Sampler& sampler, const QString& caption,
                                             const QString& label, int maximum) {
    const auto shown = sampler.while_progress();
    QVERIFY2(shown.size() >= 3, "the window's timers did not tick during the transfer");
    int last = -1;
    for (const Sample& s : shown) {
      QVERIFY(s.busy && !s.menus && !s.tools && !s.band && !s.pages);
      QVERIFY(s.progress_off_centre.manhattanLength() <= 1);
      QCOMPARE(s.caption, caption);
      QCOMPARE(s.label1, label);
      QCOMPARE(s.maximum, maximum);
      QCOMPARE(s.label2, QString::number(s.position * 100 / maximum) + QLatin1Char('%'));
      QVERIFY(s.position >= last);
      last = s.position;
    }
    QVERIFY(sampler.tried && sampler.close_refused);
    QVERIFY(sampler.progress_tried && sampler.progress_close_refused);
  }

 private slots:
  void init() {
    folder_ = std::make_unique<Program_folder>();
    // Each test's writes are journaled in a journal of its own.
    data_home_ = std::make_unique<QTemporaryDir>();
    qputenv("XDG_DATA_HOME", QFile::encodeName(data_home_->path()));
  }
  void cleanup() {
    pending_answers.reset();
    if (w_) {
      w_->workspace().state.modified = false;
      w_.reset();
    }
    sim_.reset();
    folder_.reset();
    data_home_.reset();
  }

  // The rows the window's writes left in the user's journal, whose chain must hold.
  std::vector<Journal_entry> journal_rows() const {
    const auto text = read_file(default_journal_path(), journal_size_limit);
    if (!std::holds_alternative<std::string>(text)) return {};
    const std::string& journal = std::get<std::string>(text);
    if (!verify_journal(journal, sha256_hex).intact) return {};
    return journal_entries(journal);
  }

  void progress_window_is_laid_out_and_fits_its_texts() {
    start({});
    TForm10* f = test::parts(w_).Form10();
    QCOMPARE(f->parentWidget(), w_.get());
    QVERIFY(f->isWindow());
    QVERIFY(!f->isVisible());
    QCOMPARE(f->size(), QSize(336, 69));
    QVERIFY(!(f->windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!(f->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(f->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(f->Label1()->pos(), QPoint(8, 16));
    QCOMPARE(f->Label2()->pos(), QPoint(304, 16));
    QCOMPARE(f->ProgressBar1()->geometry(), QRect(8, 40, 321, 17));
    QCOMPARE(f->ProgressBar1()->minimum(), 0);
    // The longest transfer text ends before the percentage, and "100%" inside the window.
    const QFontMetrics m(f->Label1()->font());
    for (const char* text : {"Чтение данных из радиостанции :", "Запись данных в радиостанцию :",
                             "Чтение дополнительной информации из радиостанции :"}) {
      QVERIFY2(8 + m.horizontalAdvance(QString::fromUtf8(text)) < 304, text);
    }
    QVERIFY(304 + QFontMetrics(f->Label2()->font()).horizontalAdvance(QStringLiteral("100%")) <=
            336);
  }

  void read_fills_the_pages_and_empties_the_file_name() {
    // A radio of the high band, version 5, with its own model, number and free text, behind a
    // noisy cable: a stray 0x06 before its first acknowledgement shifts one attempt's
    // identification, which is refused; the next attempt finds the radio as it is.
    Param_image radio;
    new_blok(radio, 1, 5);
    for (int i = 0; i < 4; ++i) radio.set_byte(mem::model_text + i, static_cast<uint8_t>('5' + i));
    for (int i = 0; i < 3; ++i) radio.set_byte(mem::factory_number + i, static_cast<uint8_t>('7'));
    set_dop_dat(radio, *utf8_to_cp1251("Склад 4\r\nполка 2"));
    QTemporaryDir dir;
    const QString memory = dir.filePath(QStringLiteral("radio.tn5"));
    QVERIFY(!save_image(safe_files(), QFile::encodeName(memory).toStdString(), radio));
    start({QStringLiteral("--memory"), memory, QStringLiteral("--band-code"),
           QStringLiteral("0x06"), QStringLiteral("--radio-version"), QStringLiteral("5"),
           QStringLiteral("--noise"), QStringLiteral("00FF06")});

    w_->workspace().file_name = "/home/техник/Save/старый.tn5";
    w_->print_wind_blok();
    QVERIFY(!test::parts(w_).status_panel(1)->text().isEmpty());

    Box_seen done;
    answer_when_shown(done, QMessageBox::Ok);
    Sampler sampler(*w_);
    test::parts(w_).action(QStringLiteral("N12"))->trigger();

    QVERIFY(done.seen);
    QCOMPARE(done.caption, QStringLiteral("Чтение"));
    QCOMPARE(done.text, QStringLiteral("Чтение данных успешно завершено."));
    QCOMPARE(done.icon, QMessageBox::Information);
    QCOMPARE(done.buttons, QStringList{QStringLiteral("OK")});
    expect_enabled_again();
    expect_busy_while_transferring(sampler, QStringLiteral("Чтение"),
                                   QStringLiteral("Чтение данных из радиостанции :"), 128);
    QCOMPARE(test::parts(w_).Form10()->Label2()->text(), QStringLiteral("100%"));
    QCOMPARE(test::parts(w_).Form10()->ProgressBar1()->value(), 128);

    QVERIFY(image() == radio);
    QCOMPARE(w_->workspace().state.band_index, 1);
    QCOMPARE(int(w_->workspace().state.coding_version), 5);
    QCOMPARE(test::parts(w_).status_panel(1)->text(), QString());
    QVERIFY(w_->workspace().file_name.empty());
    // The band list shows the radio's band; no band question ran (the watch saw only one box).
    QCOMPARE(test::parts(w_).ComboBox1()->currentText(), QStringLiteral("450МГц - 470МГц (П45)"));
    QCOMPARE(test::parts(w_).extra_page()->model_label()->text().trimmed(),
             QStringLiteral("Тирна-5678"));
    QCOMPARE(test::parts(w_).extra_page()->factory_number_label()->text().trimmed(),
             QStringLiteral("777"));
    QCOMPARE(test::parts(w_).extra_page()->RichEdit1()->toPlainText(),
             QStringLiteral("Склад 4\nполка 2"));
    QTableWidget* grid = test::parts(w_).channel_page()->StringGrid101();
    QCOMPARE(grid->item(1, 1)->text(), QString::fromStdString(w_->view().rows[0].cells[1]));
    QVERIFY(grid->item(1, 1)->text().contains(QStringLiteral("460,000")));

    sim_->stop();
    QCOMPARE(sim_->count(QStringLiteral("programming request")), 2);
    QCOMPARE(sim_->count(QStringLiteral("read 0x")), 128);
    QCOMPARE(sim_->count(QStringLiteral("write 0x")), 0);  // the second command was refused
    QCOMPARE(sim_->log().last(), QStringLiteral("END"));
  }

  void write_sends_the_image() {
    start({});  // a radio of the low band, version 4: the image's old coding is converted
    test::click_button(test::parts(w_).channel_page()->CheckBox(3));  // an edit to undo later
    QVERIFY(!channel_in_use(image(), 3));

    Box_seen done;
    answer_when_shown(done, QMessageBox::Ok);
    Sampler sampler(*w_);
    test::parts(w_).action(QStringLiteral("N13"))->trigger();

    QVERIFY(done.seen);
    QCOMPARE(done.caption, QStringLiteral("Запись"));
    QCOMPARE(done.text, QStringLiteral("Запись данных успешно завершена."));
    QCOMPARE(done.icon, QMessageBox::Information);
    expect_enabled_again();
    expect_busy_while_transferring(sampler, QStringLiteral("Запись"),
                                   QStringLiteral("Запись данных в радиостанцию :"), 38);
    QCOMPARE(test::parts(w_).Form10()->Label2()->text(), QStringLiteral("100%"));
    QCOMPARE(int(w_->workspace().state.coding_version), 4);

    sim_->stop();
    QCOMPARE(sim_->count(QStringLiteral("write 0x")), 38);
    QCOMPARE(sim_->count(QStringLiteral("read 0x")), 0);
    QCOMPARE(sim_->log().last(), QStringLiteral("END"));
    const auto saved = sim_->saved();
    QVERIFY(saved.has_value());
    for (int k : parameter_write_packets) QVERIFY2(saved->packet(k) == image().packet(k), "packet");
    // The write's row in the journal: what was sent, exactly.
    const auto rows = journal_rows();
    QCOMPARE(rows.size(), std::size_t{1});
    QCOMPARE(rows[0].cell("command"), std::string("window write"));
    QCOMPARE(rows[0].cell("result"), std::string("done"));
    QCOMPARE(rows[0].cell("sent_sha256"), image_sha256(image()));

    // Undo of the edit made before the write asks first: the radio keeps what was written.
    Box_seen asked;
    answer_when_shown(asked, QMessageBox::No);
    w_->undo();
    QVERIFY(asked.seen);
    QVERIFY(asked.text.startsWith(QStringLiteral("После этого изменения параметры были записаны")));
    QVERIFY(!channel_in_use(image(), 3));  // No: nothing undone
    answer_when_shown(asked, QMessageBox::Yes);
    w_->undo();
    QVERIFY(channel_in_use(image(), 3));
    QCOMPARE(int(w_->workspace().state.coding_version), 2);  // the state before the write
  }

  // "Сравнить с радиостанцией..." reads and changes nothing: after a read it finds the radio
  // the same, after an edit it names the channel that differs, and undo makes them the same
  // again. With "Журнал обмена с радиостанцией" on, each transfer leaves its trace beside the
  // parameter files, its name in the status bar.
  void comparing_with_the_radio_lists_the_differences_and_keeps_a_trace() {
    start({});
    Box_seen seen;
    answer_when_shown(seen, QMessageBox::Ok);
    test::parts(w_).action(QStringLiteral("N12"))->trigger();
    QCOMPARE(seen.text, QStringLiteral("Чтение данных успешно завершено."));
    test::parts(w_).action(QStringLiteral("TraceTransfers"))->setChecked(true);
    const auto compare = [this] {
      Box_seen same;
      QStringList rows;
      when_shown([&](QWidget* w) {
        if (auto* d = qobject_cast<Comparison_dialog*>(w)) {
          for (int r = 0; r < d->table()->rowCount(); ++r) {
            rows << d->table()->item(r, 0)->text() + QStringLiteral(" | ") +
                        d->table()->item(r, 1)->text() + QStringLiteral(" | ") +
                        d->table()->item(r, 2)->text();
          }
          d->accept();
          return;
        }
        auto* box = qobject_cast<QMessageBox*>(w);
        QVERIFY(box != nullptr);
        test::record_box(same, *box);
        box->accept();
      });
      test::parts(w_).action(QStringLiteral("CompareWithRadio"))->trigger();
      return same.seen ? QStringList{same.caption + QStringLiteral(": ") + same.text} : rows;
    };
    const Param_image read = image();
    QCOMPARE(compare(), QStringList{QStringLiteral("Сравнение с радиостанцией: Параметры в "
                                                   "радиостанции совпадают с параметрами окна.")});
    test::click_button(test::parts(w_).channel_page()->CheckBox(3));
    const QStringList differences = compare();
    QVERIFY(!differences.isEmpty());
    for (const QString& d : differences) {
      QVERIFY2(d.startsWith(QStringLiteral("Канал 3: ")), qPrintable(differences.join('\n')));
    }
    QCOMPARE(differences[0], QStringLiteral("Канал 3: Канал выключен | V | "));
    QVERIFY(differences.contains(QStringLiteral("Канал 3: Частота приема (МГц) |  | 160,000000")));
    QVERIFY(!channel_in_use(image(), 3));  // the window keeps its edit
    w_->undo();
    QVERIFY(image() == read);
    QCOMPARE(compare().size(), 1);

    // Three transfers traced, each in a file of its own named in the status bar.
    const QStringList traces = QDir(test::parts(w_).save_folder())
                                   .entryList({QStringLiteral("обмен-*.txt")}, QDir::Files);
    QCOMPARE(traces.size(), 3);
    QLabel* shown = w_->findChild<QLabel*>(QStringLiteral("StatusTrace"));
    QVERIFY(shown->isVisible());
    QVERIFY2(traces.contains(shown->text().section(QStringLiteral(": "), 1)), qPrintable(shown->text()));
    QFile trace(QDir(test::parts(w_).save_folder()).filePath(traces.first()));
    QVERIFY(trace.open(QIODevice::ReadOnly));
    QVERIFY(trace.readAll().contains("50 31 36 30 30"));  // the identification's bytes

    sim_->stop();
    QCOMPARE(sim_->count(QStringLiteral("write 0x")), 0);
    QCOMPARE(sim_->count(QStringLiteral("END")), 4);
  }

  void additional_data_is_read_and_written_without_a_message() {
    Param_image radio;
    new_blok(radio, 0, 4);
    for (int i = 0; i < 2; ++i) radio.set_byte(mem::model_text + i, static_cast<uint8_t>('4'));
    set_dop_dat(radio, *utf8_to_cp1251("Бригада 3"));
    QTemporaryDir dir;
    const QString memory = dir.filePath(QStringLiteral("radio.tn5"));
    QVERIFY(!save_image(safe_files(), QFile::encodeName(memory).toStdString(), radio));
    start({QStringLiteral("--memory"), memory});
    const Param_image before = image();

    {
      Modal_watch watch;
      Sampler sampler(*w_);
      test::parts(w_).extra_page()->Button301()->click();
      QCOMPARE(watch.opened, 0);
      expect_enabled_again();
      expect_busy_while_transferring(
          sampler, QStringLiteral("Чтение"),
          QStringLiteral("Чтение дополнительной информации из радиостанции :"), 29);
    }
    QCOMPARE(test::parts(w_).extra_page()->RichEdit1()->toPlainText(), QStringLiteral("Бригада 3"));
    QCOMPARE(test::parts(w_).extra_page()->model_label()->text().trimmed(),
             QStringLiteral("Тирна-44"));
    for (int k = 1; k <= packet_count; ++k) {
      const bool taken = k == 89 || k == 90 || k == 93 || (k >= 97 && k <= 122);
      QVERIFY(image().packet(k) == (taken ? radio : before).packet(k));
    }

    // Typed text goes to the radio; the page is not refreshed by the write.
    test::parts(w_).extra_page()->RichEdit1()->setPlainText(QStringLiteral("Бригада 5\nсмена 2"));
    {
      Modal_watch watch;
      Sampler sampler(*w_);
      test::parts(w_).extra_page()->Button302()->click();
      QCOMPARE(watch.opened, 0);
      expect_enabled_again();
      expect_busy_while_transferring(sampler, QStringLiteral("Запись"),
                                     QStringLiteral("Запись данных в радиостанцию :"), 26);
    }
    QCOMPARE(QString::fromStdString(free_text(image())), QStringLiteral("Бригада 5\nсмена 2"));
    sim_->stop();
    QCOMPARE(sim_->count(QStringLiteral("read 0x")), 29);
    QCOMPARE(sim_->count(QStringLiteral("write 0x3")), 26);
    QCOMPARE(sim_->count(QStringLiteral("write 0x")), 26);
    QCOMPARE(sim_->count(QStringLiteral("END")), 2);
    const auto saved = sim_->saved();
    QVERIFY(saved.has_value());
    QCOMPARE(QString::fromStdString(free_text(*saved)), QStringLiteral("Бригада 5\nсмена 2"));
    const auto rows = journal_rows();
    QCOMPARE(rows.size(), std::size_t{1});
    QCOMPARE(rows[0].cell("command"), std::string("window write-extra"));
  }

  void text_outside_code_page_1251_is_not_written() {
    start({});
    test::parts(w_).extra_page()->RichEdit1()->setPlainText(QStringLiteral("Склад ✓"));
    Box_seen refused;
    answer_when_shown(refused, QMessageBox::Ok);
    test::parts(w_).extra_page()->Button302()->click();
    QVERIFY(refused.seen);
    QCOMPARE(refused.caption, QStringLiteral("Ошибка записи данных"));
    QCOMPARE(refused.icon, QMessageBox::Warning);
    QVERIFY(refused.text.contains(QStringLiteral("1251")));
    expect_enabled_again();
    sim_->stop();
    QVERIFY(sim_->log().isEmpty());
  }

  void silent_radio_ends_in_the_read_failure() {
    start({QStringLiteral("--silent")});
    w_->workspace().file_name = "/tmp/мой.tn5";
    w_->print_wind_blok();
    const Param_image before = image();
    Box_seen failed;
    answer_when_shown(failed, QMessageBox::Ok);
    w_->N12Click();
    QVERIFY(failed.seen);
    QCOMPARE(failed.caption, QStringLiteral("Ошибка чтения данных"));
    QCOMPARE(failed.text, read_failed_text);
    QCOMPARE(failed.icon, QMessageBox::Warning);
    QCOMPARE(failed.buttons, QStringList{QStringLiteral("OK")});
    expect_enabled_again();
    QVERIFY(image() == before);
    QCOMPARE(test::parts(w_).status_panel(1)->text(), QStringLiteral("/tmp/мой.tn5"));
    sim_->stop();
    QCOMPARE(sim_->count(QStringLiteral("programming request")), 4);
    QCOMPARE(sim_->count(QStringLiteral("END")), 0);
  }

  void hang_up_during_the_additional_read_keeps_the_image() {
    start({QStringLiteral("--hangup-after"), QStringLiteral("5")});
    const Param_image before = image();
    Box_seen failed;
    answer_when_shown(failed, QMessageBox::Ok);
    w_->Button301Click();
    QVERIFY(failed.seen);
    QCOMPARE(failed.caption, QStringLiteral("Ошибка чтения"));
    QVERIFY(failed.text.startsWith(QStringLiteral("Дополнительная информация не считана.")));
    expect_enabled_again();
    QVERIFY(image() == before);
  }

  void radio_of_the_other_band_gets_nothing() {
    start({QStringLiteral("--band-code"), QStringLiteral("0x06")});
    Box_seen failed;
    answer_when_shown(failed, QMessageBox::Ok);
    w_->N13Click();
    QVERIFY(failed.seen);
    QCOMPARE(failed.caption, QStringLiteral("Ошибка записи данных"));
    QCOMPARE(failed.text,
             QStringLiteral("Данная радиостанция не соответствует\nвыбранному диапазону частот"));
    QCOMPARE(failed.icon, QMessageBox::Warning);
    expect_enabled_again();
    sim_->stop();
    QCOMPARE(sim_->count(QStringLiteral("write 0x")), 0);
    QCOMPARE(sim_->count(QStringLiteral("END")), 0);
    const auto rows = journal_rows();
    QCOMPARE(rows.size(), std::size_t{1});
    QCOMPARE(rows[0].cell("result"), std::string("band refused"));
    QCOMPARE(rows[0].cell("exit_status"), std::string("6"));
  }

  // "Диагностика связи..." checks the programmer's port of config.ini, names the radio there in
  // the verdict and saves the bundle; the radio leaves programming mode.
  void link_doctor_names_the_radio_and_saves_the_bundle() {
    start({});
    QString verdict;
    const QString bundle = folder_->file(QStringLiteral("report.tar.gz"));
    when_shown([&](QWidget* w) {
      auto* dialog = qobject_cast<Link_doctor_dialog*>(w);
      if (dialog == nullptr) {
        w->close();
        return;
      }
      // The checks run inside the dialog's own loop: their end is polled, not waited for here.
      auto* done = new QTimer(dialog);
      QObject::connect(done, &QTimer::timeout, dialog, [&, dialog, done] {
        if (!dialog->diagnosis()) return;
        done->stop();
        verdict = dialog->findChild<QLabel*>(QStringLiteral("Verdict"))->text();
        dialog->save_bundle(bundle);
        dialog->reject();
      });
      done->start(10);
    });
    test::parts(w_).action(QStringLiteral("LinkDoctor"))->trigger();
    QVERIFY2(verdict.startsWith(QStringLiteral("Итог: Связь работает: %1, радиостанция 148МГц - "
                                               "174МГц (П23), версия 4, заводской № ")
                                    .arg(sim_->device())),
             qPrintable(verdict));
    QVERIFY(QFile(bundle).size() > 0);
    sim_->stop();
    QCOMPARE(sim_->count(QStringLiteral("END")), 1);
    QCOMPARE(sim_->count(QStringLiteral("write 0x")), 0);
  }

  void missing_port_asks_for_another_and_no_ends_the_read() {
    start({}, 1,
          QStringLiteral("COM1=") + folder_->file(QStringLiteral("no-such-tty")) +
              QStringLiteral("\r\n"));
    Box_seen question, failed;
    answer_when_shown(question, QMessageBox::No,
                      [&failed] { answer_when_shown(failed, QMessageBox::Ok); });
    w_->N12Click();
    QVERIFY(question.seen);
    QCOMPARE(question.caption, QStringLiteral("Предупреждение"));
    QCOMPARE(question.icon, QMessageBox::Warning);
    QCOMPARE(question.text,
             QStringLiteral("Не удается открыть порт COM1.\nВозможно, порт занят другим "
                            "приложением или отключен аппаратно.\nВыбрать другой COM-порт?"));
    QCOMPARE(question.buttons.size(), 2);
    QVERIFY(question.buttons.contains(QStringLiteral("Да")));
    QVERIFY(question.buttons.contains(QStringLiteral("Нет")));
    QVERIFY(failed.seen);
    QCOMPARE(failed.caption, QStringLiteral("Ошибка чтения данных"));
    QCOMPARE(failed.text, read_failed_text);
    expect_enabled_again();
    sim_->stop();
    QVERIFY(sim_->log().isEmpty());
  }

  void missing_port_yes_takes_the_port_chosen_in_the_dialog() {
    // COM1 is missing; COM2 is the simulator: "Да", then "COM 2" in the programmer dialog.
    start({}, 1,
          QStringLiteral("COM1=") + folder_->file(QStringLiteral("no-such-tty")) +
              QStringLiteral("\r\nCOM2=%1\r\n"));
    Box_seen question, done;
    answer_when_shown(question, QMessageBox::Yes, [&done] {
      when_shown([&done](QWidget* dialog) {
        auto* form2 = qobject_cast<TForm2*>(dialog);
        QVERIFY(form2 != nullptr);
        form2->port_item(1)->click();
        answer_when_shown(done, QMessageBox::Ok);
        form2->Button1()->click();
      });
    });
    w_->N12Click();
    QVERIFY(question.seen);
    QVERIFY(done.seen);
    QCOMPARE(done.text, QStringLiteral("Чтение данных успешно завершено."));
    QCOMPARE(w_->programmer().port_index, 1);
    expect_enabled_again();
  }

  void usb_programmer_sends_nothing_and_stops_the_polling() {
    start({}, 0);
    const Param_image before = image();
    QVERIFY(!w_->status_timer()->status().usb_polling_stopped());
    {
      Modal_watch watch;
      w_->N12Click();
      QVERIFY(w_->status_timer()->status().usb_polling_stopped());
      w_->N13Click();
      w_->Button301Click();
      w_->Button302Click();
      QCoreApplication::processEvents();
      QCOMPARE(watch.opened, 0);
    }
    expect_enabled_again();
    sim_->stop();
    QVERIFY(sim_->log().isEmpty());
    // Only the write's clearing of bits 0-1 of 0x2BC touched the image.
    Param_image expected = before;
    expected.set_bits(mem::beep_save, 0x03, 0);
    QVERIFY(image() == expected);
  }

  void print_writes_the_shown_parameters_with_the_typed_text() {
    start({});
    toggle_channel_off(image(), 3, true);
    w_->print_wind_blok();
    // Typed into the box, not written to the radio: the report has it, the image does not.
    test::parts(w_).extra_page()->RichEdit1()->setPlainText(QStringLiteral("Бригада 12\nпост 4"));
    const Param_image before = image();
    const bool modified = w_->workspace().state.modified;
    test::parts(w_).report_command()->set_printers({}, QString());
    test::parts(w_).report_command()->set_date_source([] { return QDate(2026, 3, 5); });
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("отчёт.pdf"));
    bool answered = false;
    when_shown([&](QWidget* dialog) {
      QCOMPARE(dialog->windowTitle(), QStringLiteral("Печать"));
      dialog->findChild<QRadioButton*>(QStringLiteral("pdf_choice"))->click();
      auto* path = dialog->findChild<QLineEdit*>(QStringLiteral("pdf_path"));
      QCOMPARE(path->text(),
               test::parts(w_).save_folder() + QStringLiteral("/Параметры радиостанции.pdf"));
      path->setText(pdf);
      dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
      answered = true;
    });
    test::parts(w_).action(QStringLiteral("N8"))->trigger();
    QVERIFY(answered);
    const QString text = pdf_text(pdf);
    QVERIFY2(text.contains(QStringLiteral("Бригада 12")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("пост 4")));
    QVERIFY(text.contains(QStringLiteral("148МГц - 174МГц (П23)")));
    QVERIFY(text.contains(QStringLiteral("Повышен.")));
    QVERIFY(text.contains(QStringLiteral("5 марта 2026 г.")));
    QVERIFY(image() == before);
    QCOMPARE(w_->workspace().state.modified, modified);
  }
};

}  // namespace tirna

QTEST_MAIN(tirna::Transfers_test)
#include "transfers_test.moc"
