#pragma once
// The print command of the main window ("Печать", N8Click): asks for the output in the dialog
// "Печать", then produces the report page on the printer, in the preview "Просмотр" (at 100 %) or
// in a PDF file, with the status window "Подготовка" while the page is prepared. It changes
// nothing in the image and shows no message of its own except when the chosen output fails.

#include <QDate>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "core/report/report_params.h"
#include "ui/report/report_output_dialog.h"

class QPrinter;
class QWidget;

namespace tirna::ui {

class Report_print_command : public QObject {
  Q_OBJECT
 public:
  // window: the main window, parent of every dialog of the command.
  explicit Report_print_command(QWidget* window);

  // Runs the command with the 178 report parameters taken from the shown controls.
  // suggested_pdf_path prefills the file choice (for example the parameter file with ".pdf").
  // parameter_file: the open parameter file, which the PDF may not replace.
  void run(const std::vector<Report_parameter>& params, const QString& suggested_pdf_path = {},
           const QString& parameter_file = {});

  // The printers offered; by default the system's queues and default printer as they are each
  // time the dialog opens (a queue added while the program runs is offered at once).
  void set_printers(const QStringList& names, const QString& default_name);
  // The date printed on the page; by default today's.
  void set_date_source(std::function<QDate()> today) { today_ = std::move(today); }

 signals:
  // The page has been drawn for the chosen output; the status window still shows.
  void page_prepared();

 private:
  void print_on_printer(const Report_output& out, const std::vector<Report_parameter>& params,
                        const QString& date);
  void show_preview(const std::vector<Report_parameter>& params, const QString& date,
                    const QString& suggested_pdf_path);
  void write_pdf(const QString& path, const std::vector<Report_parameter>& params,
                 const QString& date);
  bool paint_prepared(QPrinter& printer, const std::vector<Report_parameter>& params,
                      const QString& date);

  QWidget* window_;
  bool fixed_printers_ = false;
  QStringList printers_;
  QString default_printer_;
  std::function<QDate()> today_;
};

}  // namespace tirna::ui
