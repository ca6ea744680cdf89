#include "ui/report/report_output_dialog.h"

#include <algorithm>

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/files/safe_file.h"

namespace tirna::ui {

Report_output_dialog::Report_output_dialog(const QStringList& printers,
                                           const QString& default_printer,
                                           const QString& suggested_pdf_path,
                                           const QString& parameter_file, QWidget* parent)
    : QDialog(parent), parameter_file_(parameter_file) {
  setWindowTitle(QStringLiteral("Печать"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  auto* group = new QGroupBox(QStringLiteral("Вывод отчёта"), this);
  printer_choice_ = new QRadioButton(QStringLiteral("Принтер:"), group);
  printer_choice_->setObjectName(QStringLiteral("printer_choice"));
  preview_choice_ = new QRadioButton(QStringLiteral("Просмотр на экране"), group);
  preview_choice_->setObjectName(QStringLiteral("preview_choice"));
  pdf_choice_ = new QRadioButton(QStringLiteral("Файл PDF:"), group);
  pdf_choice_->setObjectName(QStringLiteral("pdf_choice"));
  choices_ = new QButtonGroup(this);
  choices_->addButton(printer_choice_);
  choices_->addButton(preview_choice_);
  choices_->addButton(pdf_choice_);

  printer_list_ = new QComboBox(group);
  printer_list_->setObjectName(QStringLiteral("printer_list"));
  printer_list_->addItems(printers);
  if (printers.isEmpty()) {
    printer_list_->addItem(QStringLiteral("(принтеры не установлены)"));
    printer_list_->setEnabled(false);
    printer_choice_->setEnabled(false);
  } else {
    printer_list_->setCurrentIndex(
        std::max(0, static_cast<int>(printers.indexOf(default_printer))));
  }
  copies_ = new QSpinBox(group);
  copies_->setObjectName(QStringLiteral("copies"));
  copies_->setRange(1, 99);
  auto* copies_label = new QLabel(QStringLiteral("Число копий:"), group);
  copies_label->setBuddy(copies_);

  pdf_path_ = new QLineEdit(suggested_pdf_path, group);
  pdf_path_->setObjectName(QStringLiteral("pdf_path"));
  pdf_path_->setMinimumWidth(260);
  browse_ = new QPushButton(QStringLiteral("Обзор..."), group);

  auto* grid = new QGridLayout(group);
  grid->addWidget(printer_choice_, 0, 0);
  grid->addWidget(printer_list_, 0, 1, 1, 2);
  grid->addWidget(copies_label, 1, 0, Qt::AlignRight);
  grid->addWidget(copies_, 1, 1, Qt::AlignLeft);
  grid->addWidget(preview_choice_, 2, 0, 1, 3);
  grid->addWidget(pdf_choice_, 3, 0);
  grid->addWidget(pdf_path_, 3, 1);
  grid->addWidget(browse_, 3, 2);
  grid->setColumnStretch(1, 1);

  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons_->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ОК"));
  buttons_->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(buttons_);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  (printers.isEmpty() ? preview_choice_ : printer_choice_)->setChecked(true);

  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(choices_, &QButtonGroup::buttonToggled, this, [this] { update_state(); });
  connect(pdf_path_, &QLineEdit::textChanged, this, [this] { update_state(); });
  connect(browse_, &QPushButton::clicked, this, [this] { browse(); });
  update_state();
}

Report_output Report_output_dialog::output() const {
  Report_output out;
  if (preview_choice_->isChecked()) out.destination = Report_destination::preview;
  if (pdf_choice_->isChecked()) out.destination = Report_destination::pdf_file;
  out.printer_name = printer_choice_->isEnabled() ? printer_list_->currentText() : QString();
  out.copies = copies_->value();
  out.pdf_path = pdf_path_->text().trimmed();
  if (!out.pdf_path.isEmpty() && QFileInfo(out.pdf_path).suffix().isEmpty()) {
    out.pdf_path += QStringLiteral(".pdf");
  }
  return out;
}

void Report_output_dialog::update_state() {
  const bool to_printer = printer_choice_->isChecked();
  const bool to_file = pdf_choice_->isChecked();
  printer_list_->setEnabled(to_printer);
  copies_->setEnabled(to_printer);
  pdf_path_->setEnabled(to_file);
  browse_->setEnabled(to_file);
  buttons_->button(QDialogButtonBox::Ok)
      ->setEnabled(!to_file || !pdf_path_->text().trimmed().isEmpty());
}

void Report_output_dialog::browse() {
  const QString path =
      QFileDialog::getSaveFileName(this, QStringLiteral("Сохранить отчёт"), pdf_path_->text(),
                                   QStringLiteral("Файлы PDF (*.pdf)"));
  if (path.isEmpty()) return;
  pdf_path_->setText(path);
  confirmed_path_ = output().pdf_path;
}

void Report_output_dialog::accept() {
  if (!pdf_choice_->isChecked()) return QDialog::accept();
  const QString path = output().pdf_path;
  const std::string native = QFile::encodeName(path).toStdString();
  const bool parameter_file =
      QFileInfo(path).suffix().compare(QStringLiteral("tn5"), Qt::CaseInsensitive) == 0 ||
      (!parameter_file_.isEmpty() &&
       same_file(native, QFile::encodeName(parameter_file_).toStdString()));
  if (parameter_file) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Печать"),
                    QStringLiteral("Файл «%1» — файл параметров радиостанции.\n"
                                   "Отчёт в него не записывается: выберите другой файл.")
                        .arg(QDir::toNativeSeparators(path)),
                    QMessageBox::Ok, this);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.exec();
    pdf_path_->setFocus();
    return;
  }
  if (QFileInfo::exists(path) && path != confirmed_path_) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Печать"),
                    QStringLiteral("Файл «%1» уже существует.\nЗаменить его?")
                        .arg(QDir::toNativeSeparators(path)),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
    box.setDefaultButton(QMessageBox::No);
    if (box.exec() != QMessageBox::Yes) {
      pdf_path_->setFocus();
      return;
    }
  }
  QDialog::accept();
}

}  // namespace tirna::ui
