// The commands of the main window that talk to the radio, and the print command: each hands the
// window's workspace and view to its core operation, which shows its own messages.

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>

#include "core/compare/write_check.h"
#include "core/report/report_params.h"
#include "core/transfer/extra_data_transfer.h"
#include "core/transfer/read_image.h"
#include "core/transfer/transfer_messages.h"
#include "core/transfer/write_image.h"
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
  const Transfer_result r = transfers_->run(
      [&](Link_session& s) { return read_radio_image(radio, s, *transfers_); });
  if (!r.ok()) return;  // the read said why
  const Radio_identification& id = *transfers_->identification();
  if (!radio_fits_band(id, ws_.image)) {
    transfers_->show_message(transfer_text::band_mismatch);
    return;
  }
  const Image_comparison c =
      tirna::compare_with_radio(image_as_written(ws_, id.radio_version()), radio.image,
                                Time_stamp::ignored);
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
