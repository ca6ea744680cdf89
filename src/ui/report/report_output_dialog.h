#pragma once
// The output dialog of the report, titled "Печать": the printer (the default destination), the
// preview, or a PDF file, and the number of copies for the printer.

#include <QDialog>
#include <QString>
#include <QStringList>

class QButtonGroup;
class QComboBox;
class QDialogButtonBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace tirna::ui {

enum class Report_destination { printer, preview, pdf_file };

struct Report_output {
  Report_destination destination = Report_destination::printer;
  QString printer_name;
  int copies = 1;
  QString pdf_path;
};

class Report_output_dialog : public QDialog {
  Q_OBJECT
 public:
  // printers: the installed printers, default_printer among them (or empty). Without any printer
  // the printer choice is disabled and the preview is chosen instead.
  // parameter_file: the open parameter file, which the report may never replace (nor any other
  // *.tn5 file).
  Report_output_dialog(const QStringList& printers, const QString& default_printer,
                       const QString& suggested_pdf_path, const QString& parameter_file = {},
                       QWidget* parent = nullptr);

  // What the user chose; valid after the dialog was accepted.
  Report_output output() const;

  // OK: a PDF file that is a parameter file is refused, and one that exists is replaced only when
  // the user says so.
  void accept() override;

 private:
  void update_state();
  void browse();

  QRadioButton* printer_choice_;
  QRadioButton* preview_choice_;
  QRadioButton* pdf_choice_;
  QButtonGroup* choices_;
  QComboBox* printer_list_;
  QSpinBox* copies_;
  QLineEdit* pdf_path_;
  QPushButton* browse_;
  QDialogButtonBox* buttons_;
  QString parameter_file_;
  QString confirmed_path_;  // the file dialog already asked about replacing it
};

}  // namespace tirna::ui
