// The file commands of the main window and the band list: the dialogs and questions around the
// core's file operations.

#include <QFile>
#include <QFileDialog>
#include <QTabWidget>

#include "core/files/file_commands.h"
#include "platform/files/safe_file.h"
#include "ui/app/main_window.h"
#include "ui/app/message_boxes.h"

namespace tirna {
namespace {

constexpr const char* file_filter = "Файлы Тирна-520 (*.tn5)";
constexpr const char* file_extension = "tn5";

std::string native_path(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

}  // namespace

std::optional<QString> TForm1::file_dialog(bool saving) {
  QFileDialog dialog(this, saving ? QStringLiteral("Сохранить как") : QStringLiteral("Открыть"),
                     save_folder());
  dialog.setObjectName(saving ? QStringLiteral("SaveDialog1") : QStringLiteral("OpenDialog1"));
  // Qt's own dialog: the same on every desktop, and answerable by the tests.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setNameFilter(QString::fromUtf8(file_filter));
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  if (saving) dialog.setDefaultSuffix(QString::fromLatin1(file_extension));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty() || chosen.first().isEmpty()) return std::nullopt;
  return chosen.first();
}

void TForm1::N2Click() {
  if (ask_yes_no(this, QMessageBox::Warning, QStringLiteral("Новый файл"),
                 QStringLiteral("При создании нового файла, будет уничтожена информация\r"
                                "предыдущего файла. Продолжить?"))) {
    recorded([this] { new_parameter_image(ws_); });
  }
  print_wind_blok();
}

void TForm1::N3Click() {
  const auto path = file_dialog(false);
  if (!path) return;
  open_chosen(*path);
}

bool TForm1::open_chosen(const QString& path) {
  std::optional<Io_error> error;
  recorded([&] { error = open_parameter_file(safe_files(), ws_, native_path(path)); });
  if (error) {
    show_error_box(this, error->text());
    return false;
  }
  print_wind_blok();
  pages_->setFocus();
  return true;
}

bool TForm1::open_file(const QString& path) {
  if (busy_) return false;
  // The image is replaced: unsaved changes are asked about first, as at closing.
  if (ws_.state.modified && !save_izm()) return false;
  return open_chosen(path);
}

void TForm1::N5Click() {
  save_to_current();
}

void TForm1::N6Click() {
  save_as();
}

bool TForm1::save_to_current() {
  if (ws_.file_name.empty()) return save_as();
  if (const auto error = save_parameter_file(safe_files(), ws_, ws_.file_name)) {
    show_error_box(this, error->text());
    return false;
  }
  history_.mark_saved();
  return true;
}

bool TForm1::save_as() {
  const auto path = file_dialog(true);
  if (!path) return true;  // cancelled: nothing failed
  if (const auto error = save_parameter_file(safe_files(), ws_, native_path(*path))) {
    show_error_box(this, error->text());
    return false;
  }
  history_.mark_saved();
  show_file_name();
  return true;
}

bool TForm1::save_izm() {
  if (!ask_yes_no(this, QMessageBox::Question, QStringLiteral("Внимание"),
                  QStringLiteral("Параметры были изменены. Сохранить файл параметров?"))) {
    return true;
  }
  return save_to_current();
}

void TForm1::ComboBox1Change(int index) {
  if (index != ws_.state.band_index &&
      ask_yes_no(this, QMessageBox::Warning, QStringLiteral("Выбор частотного диапазона."),
                 QStringLiteral("При выборе нового частотного диапазона, все параметры каналов "
                                "будут стерты. Продолжить?"))) {
    recorded([&] { change_band(ws_, index); });
  }
  print_wind_blok();
}

}  // namespace tirna
