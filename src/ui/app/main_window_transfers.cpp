// The commands of the main window that talk to the radio, and the print command: each hands the
// window's workspace and view to its core operation, which shows its own messages.

#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>

#include "core/report/report_params.h"
#include "core/transfer/extra_data_transfer.h"
#include "core/transfer/read_image.h"
#include "core/transfer/transfer_messages.h"
#include "core/transfer/write_image.h"
#include "ui/app/main_window.h"
#include "ui/app/message_boxes.h"
#include "ui/pages/extra_page.h"
#include "ui/report/report_print_command.h"
#include "ui/transfer/window_transfer_view.h"

namespace tirna {

// The transfers' waits serve the window's events, and the disabled controls keep a second command
// from starting; the checks of busy_ hold off one that arrives anyway (a queued click).
void TForm1::N12Click() {
  if (busy_) return;
  recorded([this] { read_parameter_image(ws_, transfers_->session(), *transfers_); });
}

// A write changes nothing that undo could give back; the radio holds what was written from here.
void TForm1::N13Click() {
  if (busy_) return;
  const Transfer_result r = write_parameter_image(ws_, transfers_->session(), *transfers_);
  if (r.ok() || r.packets > 0) history_.mark_written();
}

void TForm1::Button301Click() {
  if (busy_) return;
  recorded([this] { read_additional_data(ws_, transfers_->session(), *transfers_); });
}

void TForm1::Button302Click() {
  if (busy_) return;
  const auto text = extra_page_->free_text_bytes();
  if (!text) {
    transfers_->show_message(transfer_text::free_text_not_storable);
    return;
  }
  const Transfer_result r =
      write_additional_data(ws_, transfers_->session(), *transfers_, *text);
  if (r.ok() || r.packets > 0) history_.mark_written();
}

void TForm1::N8Click() {
  if (busy_) return;
  // The report prints what the pages show, the free text as typed (not yet in the image).
  const QString memo = extra_page_->RichEdit1()->toPlainText();
  // A file choice beside the parameter file, or in the Save folder for an image without one.
  QString suggested = save_folder() + QStringLiteral("/Параметры.pdf");
  if (!ws_.file_name.empty()) {
    const QFileInfo file(QFile::decodeName(QByteArray::fromStdString(ws_.file_name)));
    suggested = file.path() + QLatin1Char('/') + file.completeBaseName() + QStringLiteral(".pdf");
  }
  report_->run(report_parameters(view_, memo.toStdString()), suggested,
               QFile::decodeName(QByteArray::fromStdString(ws_.file_name)));
}

}  // namespace tirna
