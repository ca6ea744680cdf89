// The window's print command under the offscreen platform: the output dialog "Печать", the
// preview "Просмотр" at 100 %, the PDF file, the status window "Подготовка", and cancelling.

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QAction>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "../support/modal.h"
#include "report_test_support.h"
#include "ui/report/report_print_command.h"

using tirna::ui::Report_print_command;

namespace {

void when_modal_shows(std::function<void(QWidget*)> answer) {
  tirna::test::when_modal_shows(std::move(answer), nullptr, 10000);
}

void click_ok(QWidget* dialog) {
  auto* buttons = dialog->findChild<QDialogButtonBox*>();
  QVERIFY(buttons != nullptr);
  QVERIFY(buttons->button(QDialogButtonBox::Ok)->isEnabled());
  buttons->button(QDialogButtonBox::Ok)->click();
}

bool preparing_window_shows() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible() && w->windowTitle() == QStringLiteral("Подготовка")) return true;
  }
  return false;
}

}  // namespace

class Report_print_command_test : public QObject {
  Q_OBJECT
 private slots:
  void output_dialog_offers_the_printer_first();
  void without_printers_the_preview_is_chosen();
  void cancel_ends_the_command();
  void pdf_file_gets_the_page_while_preparing_shows();
  void preview_is_titled_and_at_actual_size();
  void unwritable_pdf_is_reported();

 private:
  QWidget window_;
};

void Report_print_command_test::output_dialog_offers_the_printer_first() {
  Report_print_command command(&window_);
  command.set_printers({QStringLiteral("Бухгалтерия"), QStringLiteral("Мастерская")},
                       QStringLiteral("Мастерская"));
  bool checked = false;
  when_modal_shows([&](QWidget* dialog) {
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Печать"));
    auto* printer = dialog->findChild<QRadioButton*>(QStringLiteral("printer_choice"));
    QVERIFY(printer->isEnabled());
    QVERIFY(printer->isChecked());
    QCOMPARE(dialog->findChild<QComboBox*>(QStringLiteral("printer_list"))->currentText(),
             QStringLiteral("Мастерская"));
    QVERIFY(dialog->findChild<QSpinBox*>(QStringLiteral("copies"))->isEnabled());
    QVERIFY(dialog->findChild<QRadioButton*>(QStringLiteral("preview_choice"))->isEnabled());
    QVERIFY(dialog->findChild<QRadioButton*>(QStringLiteral("pdf_choice"))->isEnabled());
    checked = true;
    static_cast<QDialog*>(dialog)->reject();
  });
  command.run(tirna::test::start_up_parameters());
  QVERIFY(checked);
}

void Report_print_command_test::without_printers_the_preview_is_chosen() {
  Report_print_command command(&window_);
  command.set_printers({}, QString());
  bool checked = false;
  when_modal_shows([&](QWidget* dialog) {
    QVERIFY(!dialog->findChild<QRadioButton*>(QStringLiteral("printer_choice"))->isEnabled());
    QVERIFY(dialog->findChild<QRadioButton*>(QStringLiteral("preview_choice"))->isChecked());
    checked = true;
    static_cast<QDialog*>(dialog)->reject();
  });
  command.run(tirna::test::start_up_parameters());
  QVERIFY(checked);
}

void Report_print_command_test::cancel_ends_the_command() {
  Report_print_command command(&window_);
  command.set_printers({QStringLiteral("Мастерская")}, QStringLiteral("Мастерская"));
  int prepared = 0;
  connect(&command, &Report_print_command::page_prepared, [&] { ++prepared; });
  when_modal_shows([](QWidget* dialog) {
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
  });
  command.run(tirna::test::start_up_parameters());
  QCOMPARE(prepared, 0);
  QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void Report_print_command_test::pdf_file_gets_the_page_while_preparing_shows() {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("отчёт"));
  Report_print_command command(&window_);
  command.set_printers({QStringLiteral("Мастерская")}, QStringLiteral("Мастерская"));
  command.set_date_source([] { return QDate(2026, 12, 9); });
  bool status_seen = false;
  connect(&command, &Report_print_command::page_prepared,
          [&] { status_seen = preparing_window_shows(); });
  when_modal_shows([&](QWidget* dialog) {
    dialog->findChild<QRadioButton*>(QStringLiteral("pdf_choice"))->click();
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("pdf_path"));
    QVERIFY(edit->isEnabled());
    QVERIFY(!dialog->findChild<QSpinBox*>(QStringLiteral("copies"))->isEnabled());
    edit->setText(path);  // no suffix: ".pdf" is added
    click_ok(dialog);
  });
  command.run(tirna::test::channel3_off_parameters());
  QVERIFY(status_seen);
  QVERIFY(!preparing_window_shows());
  const QString pdf = path + QStringLiteral(".pdf");
  QVERIFY(QFile::exists(pdf));
  const QString text = tirna::test::pdf_text(pdf, {QStringLiteral("-layout")});
  QVERIFY(text.contains(QStringLiteral("Бригада 7")));
  QVERIFY(text.contains(QStringLiteral("9 декабря 2026 г.")));
}

// The preview is titled, at 100 %, and keeps the page portrait A4: its tool bar offers no
// orientation, and a landscape printer default does not turn the page.
void Report_print_command_test::preview_is_titled_and_at_actual_size() {
  Report_print_command command(&window_);
  command.set_printers({}, QString());
  int prepared = 0;
  bool status_seen = false;
  connect(&command, &Report_print_command::page_prepared, [&] {
    ++prepared;
    status_seen = preparing_window_shows();
  });
  QString title;
  double zoom = 0;
  int zoom_mode = -1;
  QPageLayout::Orientation orientation = QPageLayout::Landscape;
  when_modal_shows([&](QWidget* dialog) {
    click_ok(dialog);  // the preview is chosen already
    when_modal_shows([&](QWidget* preview) {
      title = preview->windowTitle();
      auto* widget = preview->findChild<QPrintPreviewWidget*>();
      QVERIFY(widget != nullptr);
      zoom = widget->zoomFactor();
      zoom_mode = widget->zoomMode();
      for (QAction* action : preview->findChildren<QAction*>()) {
        const bool turns = action->text() == QCoreApplication::translate("QPrintPreviewDialog",
                                                                         "Landscape") ||
                           action->text() == QCoreApplication::translate("QPrintPreviewDialog",
                                                                         "Portrait");
        if (turns) QVERIFY(!action->isVisible());
      }
      widget->setLandscapeOrientation();  // as a printer's own default might have it
      orientation = widget->orientation();
      QVERIFY(qobject_cast<QPrintPreviewDialog*>(preview) != nullptr);
      static_cast<QDialog*>(preview)->reject();
    });
  });
  command.run(tirna::test::start_up_parameters());
  QCOMPARE(title, QStringLiteral("Просмотр"));
  QCOMPARE(zoom, 1.0);
  QCOMPARE(zoom_mode, static_cast<int>(QPrintPreviewWidget::CustomZoom));
  QCOMPARE(orientation, QPageLayout::Portrait);
  QVERIFY(prepared >= 1);
  QVERIFY(status_seen);
}

void Report_print_command_test::unwritable_pdf_is_reported() {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("no/such/folder/report.pdf"));
  Report_print_command command(&window_);
  command.set_printers({}, QString());
  QString message;
  when_modal_shows([&](QWidget* dialog) {
    dialog->findChild<QRadioButton*>(QStringLiteral("pdf_choice"))->click();
    dialog->findChild<QLineEdit*>(QStringLiteral("pdf_path"))->setText(path);
    when_modal_shows([&](QWidget* box) {
      auto* message_box = qobject_cast<QMessageBox*>(box);
      QVERIFY(message_box != nullptr);
      QCOMPARE(message_box->windowTitle(), QStringLiteral("ПО Тирна-520"));
      QCOMPARE(message_box->icon(), QMessageBox::Warning);
      message = message_box->text();
      message_box->accept();
    });
    click_ok(dialog);
  });
  command.run(tirna::test::start_up_parameters());
  QVERIFY(message.contains(QStringLiteral("Не удалось записать файл отчёта")));
  QVERIFY(!QFile::exists(path));
}

QTEST_MAIN(Report_print_command_test)
#include "report_print_command_test.moc"
