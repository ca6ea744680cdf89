// The commands of the main window that talk to the radio, and the print command: each hands the
// window's workspace and view to its core operation, which shows its own messages.

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>

#include "core/compare/write_check.h"
#include "core/fleet/fleet_journal.h"
#include "core/report/report_params.h"
#include "core/transfer/exit_status.h"
#include "core/transfer/extra_data_transfer.h"
#include "core/transfer/read_image.h"
#include "core/transfer/transfer_messages.h"
#include "core/transfer/write_image.h"
#include "platform/files/safe_file.h"
#include "platform/programming_journal.h"
#include "ui/app/main_window.h"
#include "ui/app/message_boxes.h"
#include "ui/pages/extra_page.h"
#include "ui/report/report_print_command.h"
#include "ui/transfer/comparison_dialog.h"
#include "ui/transfer/window_transfer_view.h"

namespace tirna {

// The transfers' waits serve the window's events, and the disabled controls keep a second command
// from starting; the checks of busy_ hold off one that arrives anyway (a queued click).
void TForm1::N12Click() {
  if (busy_) return;
  recorded([this] {
    transfers_->run([this](Link_session& s) { return read_parameter_image(ws_, s, *transfers_); });
  });
}

// A write changes nothing that undo could give back; the radio holds what was written from here.
void TForm1::N13Click() {
  if (busy_) return;
  const Transfer_result r = transfers_->run(
      [this](Link_session& s) { return write_parameter_image(ws_, s, *transfers_); });
  if (r.ok() || r.packets > 0) history_.mark_written();
  journal_write("window write", r, true);
}

// Every write that met a radio gets its row in the user's programming journal, after the
// transfer and its message; a journal that cannot take it is said in a box of its own.
void TForm1::journal_write(const char* command, const Transfer_result& r, bool with_file) {
  const auto& id = transfers_->identification();
  if (!r.handshake.entered() || !id) return;
  Programming_journal journal;
  Journal_row row = journal.row(command);
  row.port = transfers_->port().device();
  row.band = band_code_text(id->band_code());
  row.version = id->radio_version();
  if (with_file) row.file = ws_.file_name;
  if (with_file && !ws_.file_name.empty() && !ws_.state.modified) {
    const auto bytes = read_file(ws_.file_name, csv_size_limit);
    if (const auto* b = std::get_if<std::string>(&bytes)) row.file_sha256 = sha256_hex(*b);
  }
  if (r.packets > 0) row.sent_sha256 = image_sha256(ws_.image);
  row.exit_status = exit_status_of(r.status);
  switch (r.status) {
    case Link_status::ok:
      row.result = Radio_result::done;
      break;
    case Link_status::band_mismatch:
      row.result = Radio_result::band_refused;
      break;
    case Link_status::stopped:
      row.result = Radio_result::stopped;
      break;
    default:
      row.result = Radio_result::write_failed;
  }
  if (const auto failure = journal.append(row)) {
    show_message(this, QMessageBox::Warning, QStringLiteral("Журнал программирования"),
                 QStringLiteral("Строка журнала программирования не добавлена:\r") +
                     QString::fromStdString(*failure));
  }
}

void TForm1::Button301Click() {
  if (busy_) return;
  recorded([this] {
    transfers_->run([this](Link_session& s) { return read_additional_data(ws_, s, *transfers_); });
  });
}

void TForm1::compare_with_radio() {
  if (busy_) return;
  Workspace radio = start_up_workspace();
  const Transfer_result r =
      transfers_->run([&](Link_session& s) { return read_radio_image(radio, s, *transfers_); });
  if (!r.ok()) return;  // the read said why
  const Radio_identification& id = *transfers_->identification();
  if (!radio_fits_band(id, ws_.image)) {
    transfers_->show_message(transfer_text::band_mismatch);
    return;
  }
  const Image_comparison c = tirna::compare_with_radio(image_as_written(ws_, id.radio_version()),
                                                       radio.image, Time_stamp::ignored);
  if (c.same()) {
    show_message(this, QMessageBox::Information, QStringLiteral("Сравнение с радиостанцией"),
                 QStringLiteral("Параметры в радиостанции совпадают с параметрами окна."));
    return;
  }
  Comparison_dialog(c, this).exec();
}

void TForm1::set_tracing(bool on) {
  transfers_->set_tracing(on, save_folder());
  status_trace_->setVisible(on && !transfers_->last_trace().isEmpty());
}

void TForm1::show_trace_name(const QString& text) {
  status_trace_->setText(QStringLiteral("Журнал обмена: ") + QFileInfo(text).fileName());
  status_trace_->setToolTip(text);
  status_trace_->show();
}

void TForm1::Button302Click() {
  if (busy_) return;
  const auto text = extra_page_->free_text_bytes();
  if (!text) {
    transfers_->show_message(transfer_text::free_text_not_storable);
    return;
  }
  const Transfer_result r = transfers_->run(
      [&](Link_session& s) { return write_additional_data(ws_, s, *transfers_, *text); });
  if (r.ok() || r.packets > 0) history_.mark_written();
  journal_write("window write-extra", r, false);
}

void TForm1::N8Click() {
  if (busy_) return;
  // The report prints what the pages show, the free text as typed (not yet in the image).
  const QString memo = extra_page_->RichEdit1()->toPlainText();
  // A file choice beside the parameter file, or in the Save folder for an image without one; the
  // preview's print dialog suggests the same.
  QString suggested = save_folder() + QStringLiteral("/Параметры радиостанции.pdf");
  if (!ws_.file_name.empty()) {
    const QFileInfo file(QFile::decodeName(QByteArray::fromStdString(ws_.file_name)));
    suggested = file.path() + QLatin1Char('/') + file.completeBaseName() + QStringLiteral(".pdf");
  }
  report_->run(report_parameters(view_, memo.toStdString()), suggested,
               QFile::decodeName(QByteArray::fromStdString(ws_.file_name)));
}

}  // namespace tirna
