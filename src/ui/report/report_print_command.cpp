#include "ui/report/report_print_command.h"

#include <QAction>
#include <QBuffer>
#include <QCoreApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QScreen>

#include "core/text/messages.h"
#include "platform/files/safe_file.h"
#include "ui/report/report_painter.h"

namespace tirna::ui {
namespace {

const QString doc_name = QStringLiteral("Параметры радиостанции");

// The status window "Подготовка", shown for as long as it lives.
class Preparing_window {
 public:
  explicit Preparing_window(QWidget* parent)
      : dialog_(QStringLiteral("Подготовка страницы отчёта..."), QString(), 0, 0, parent) {
    dialog_.setWindowTitle(QStringLiteral("Подготовка"));
    dialog_.setObjectName(QStringLiteral("report_preparing"));
    dialog_.setCancelButton(nullptr);
    dialog_.setWindowModality(Qt::WindowModal);
    dialog_.setMinimumDuration(0);
    dialog_.show();
    dialog_.setValue(0);  // a modal progress dialog paints itself here
  }
  ~Preparing_window() { dialog_.close(); }

 private:
  QProgressDialog dialog_;
};

void prepare_printer(QPrinter& printer) {
  printer.setFullPage(true);
  set_report_page(printer);
  printer.setDocName(doc_name);
  printer.setCreator(QString::fromUtf8(app_title.data(), static_cast<qsizetype>(app_title.size())));
}

// The page is laid out for portrait A4 alone: the preview's tool bar offers no landscape, and the
// page stays portrait whatever the printer's own default.
void keep_portrait(QPrintPreviewDialog& preview) {
  const QString landscape = QCoreApplication::translate("QPrintPreviewDialog", "Landscape");
  const QString portrait = QCoreApplication::translate("QPrintPreviewDialog", "Portrait");
  for (QAction* action : preview.findChildren<QAction*>()) {
    if (action->text() == landscape) action->setVisible(false);
    if (action->text() == portrait) action->setVisible(false);
  }
}

// The preview's own zoom box offers "100%"; choosing it there keeps its tool bar in step.
void zoom_to_actual_size(QPrintPreviewDialog& preview) {
  for (auto* box : preview.findChildren<QComboBox*>()) {
    const int item = box->findText(QStringLiteral("100%"));
    if (item >= 0) {
      box->setCurrentIndex(item);
      break;
    }
  }
  if (auto* widget = preview.findChild<QPrintPreviewWidget*>()) {
    widget->setZoomMode(QPrintPreviewWidget::CustomZoom);
    widget->setZoomFactor(1.0);
  }
}

void show_failure(QWidget* parent, const QString& text) {
  QMessageBox::warning(
      parent, QString::fromUtf8(app_title.data(), static_cast<qsizetype>(app_title.size())), text);
}

}  // namespace

Report_print_command::Report_print_command(QWidget* window)
    : QObject(window), window_(window), today_([] { return QDate::currentDate(); }) {}

void Report_print_command::set_printers(const QStringList& names, const QString& default_name) {
  fixed_printers_ = true;
  printers_ = names;
  default_printer_ = default_name;
}

void Report_print_command::run(const std::vector<Report_parameter>& params,
                               const QString& suggested_pdf_path, const QString& parameter_file) {
  if (!fixed_printers_) {
    printers_ = QPrinterInfo::availablePrinterNames();
    default_printer_ = QPrinterInfo::defaultPrinterName();
  }
  Report_output_dialog dialog(printers_, default_printer_, suggested_pdf_path, parameter_file,
                              window_);
  if (dialog.exec() != QDialog::Accepted) return;
  const Report_output out = dialog.output();
  const QString date = report_date(today_());
  switch (out.destination) {
    case Report_destination::printer:
      print_on_printer(out, params, date);
      break;
    case Report_destination::preview:
      show_preview(params, date, suggested_pdf_path);
      break;
    case Report_destination::pdf_file:
      write_pdf(out.pdf_path, params, date);
      break;
  }
}

bool Report_print_command::paint_prepared(QPrinter& printer,
                                          const std::vector<Report_parameter>& params,
                                          const QString& date) {
  Preparing_window status(window_);
  set_report_page(printer);  // the printer's own defaults (landscape, Letter) do not apply
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  paint_report(painter, params, date);
  emit page_prepared();
  return painter.end();
}

void Report_print_command::print_on_printer(const Report_output& out,
                                            const std::vector<Report_parameter>& params,
                                            const QString& date) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPrinterName(out.printer_name);
  prepare_printer(printer);
  printer.setCopyCount(out.copies);
  if (!paint_prepared(printer, params, date)) {
    show_failure(window_, QStringLiteral("Не удалось напечатать отчёт на принтере \"%1\".")
                              .arg(printer.printerName()));
  }
}

void Report_print_command::show_preview(const std::vector<Report_parameter>& params,
                                        const QString& date, const QString& suggested_pdf_path) {
  QPrinter printer(QPrinter::HighResolution);
  if (!default_printer_.isEmpty()) printer.setPrinterName(default_printer_);
  prepare_printer(printer);
  // Without a printer queue the preview's print button can only make a PDF: the file the report
  // dialog suggests, not one named after the document in the program's folder.
  if (default_printer_.isEmpty()) printer.setOutputFileName(suggested_pdf_path);
  QPrintPreviewDialog preview(&printer, window_);
  preview.setObjectName(QStringLiteral("report_preview"));
  preview.setWindowTitle(QStringLiteral("Просмотр"));
  connect(&preview, &QPrintPreviewDialog::paintRequested, this,
          [&](QPrinter* target) { paint_prepared(*target, params, date); });
  zoom_to_actual_size(preview);
  keep_portrait(preview);
  // Wide enough for the page at its actual size, as high as the screen allows.
  const QScreen* screen = window_ != nullptr ? window_->screen() : preview.screen();
  const QRect room = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  preview.resize(std::min(room.width(), 900), room.height() * 9 / 10);
  preview.exec();
}

void Report_print_command::write_pdf(const QString& path,
                                     const std::vector<Report_parameter>& params,
                                     const QString& date) {
  // Drawn in memory, then saved as every file is: the old file survives a failure.
  QByteArray pdf;
  QBuffer buffer(&pdf);
  QString failure;
  {
    Preparing_window status(window_);
    if (buffer.open(QIODevice::WriteOnly) && write_report_pdf(buffer, params, date)) {
      emit page_prepared();
      const auto error = save_file(QFile::encodeName(path).toStdString(),
                                   std::string_view(pdf.constData(), pdf.size()));
      if (error) failure = QString::fromStdString(with_full_stop(error->text()));
    } else {
      failure = QStringLiteral("Страница не нарисована.");
    }
  }
  if (!failure.isEmpty()) {
    show_failure(window_, QStringLiteral("Не удалось записать файл отчёта\n%1\n%2")
                              .arg(QDir::toNativeSeparators(path), failure));
  }
}

}  // namespace tirna::ui
