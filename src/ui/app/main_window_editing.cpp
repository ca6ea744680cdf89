// The editing comforts of the main window that no command of its menus has: undo and redo, Copy
// and Paste of channels and the table's context menu, and dropping a parameter file on the window.

#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QTableWidget>
#include <QUrl>

#include "core/files/channel_csv.h"
#include "core/files/file_store.h"
#include "ui/app/main_window.h"
#include "ui/app/message_boxes.h"
#include "ui/channels/channel_page.h"
#include "ui/channels/paste_refusal.h"

namespace tirna {
namespace {

// The parameter file a drop brings: one local *.tn5 file.
QString dropped_parameter_file(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl url = data->urls().first();
  if (!url.isLocalFile()) return {};
  const QString path = url.toLocalFile();
  if (QFileInfo(path).suffix().compare(QStringLiteral("tn5"), Qt::CaseInsensitive) != 0) {
    return {};
  }
  return path;
}

}  // namespace

void TForm1::undo() {
  if (busy_ || !history_.can_undo()) return;
  if (history_.undo_passes_write() &&
      !ask_yes_no(this, QMessageBox::Warning, QStringLiteral("Отмена изменения"),
                  QStringLiteral("После этого изменения параметры были записаны в радиостанцию.\r"
                                 "Отменить его? В радиостанции останутся записанные параметры."))) {
    return;
  }
  ws_ = history_.undo(ws_);
  print_wind_blok();
}

void TForm1::redo() {
  if (busy_ || !history_.can_redo()) return;
  ws_ = history_.redo(ws_);
  print_wind_blok();
}

void TForm1::copy_channels() {
  std::vector<int> channels;
  for (int row : channel_page_->selected_rows()) channels.push_back(row + 1);
  if (channels.empty()) return;
  QApplication::clipboard()->setText(
      qt_text(export_channels_csv(ws_.image, ws_.state.coding_version, channels)));
}

void TForm1::paste_channels() {
  if (busy_) return;
  const std::vector<int> rows = channel_page_->selected_rows();
  const int first = rows.empty() ? 1 : rows.front() + 1;
  const std::string text = QApplication::clipboard()->text().toStdString();
  // As large as a table file may be, and no larger.
  if (text.size() > csv_size_limit) {
    show_paste_too_large(this);
    return;
  }
  Csv_import_result result;
  recorded([&] {
    result = paste_channels_csv(ws_.image, ws_.state, text, first, paste_reasons_listed);
  });
  if (!result.ok()) {
    show_paste_refused(this, result);
    return;
  }
  if (!result.channels.empty()) ws_.state.modified = true;
  print_wind_blok();
}

void TForm1::switch_channels(bool off) {
  if (busy_) return;
  recorded([&] {
    for (int row : channel_page_->selected_rows()) {
      // As the user does it: the focus enters the box, which sets the flag, then the tick.
      apply_edit(ws_, view_, Edit::focus(), *this);
      apply_edit(ws_, view_, Edit::toggle(row + 1, off), *this);
    }
  });
}

void TForm1::show_table_menu(const QPoint& global_pos) {
  if (busy_) return;
  const std::vector<int> rows = channel_page_->selected_rows();
  QMenu menu(this);
  menu.setObjectName(QStringLiteral("ChannelMenu"));
  menu.addAction(action(QStringLiteral("CopyChannels")));
  menu.addAction(action(QStringLiteral("PasteChannels")));
  menu.addSeparator();
  for (const char* name : {"MoveChannelsUp", "MoveChannelsDown", "InsertChannel",
                           "DeleteChannels", "SortChannels", "EditChannels"}) {
    menu.addAction(action(QString::fromLatin1(name)));
  }
  menu.addSeparator();
  // The first selected row says which: a channel in use is switched off, one that is off on.
  const bool in_use = !rows.empty() && !view_.rows[rows.front()].off_ticked;
  QAction* toggle = menu.addAction(in_use ? QStringLiteral("Выключить канал")
                                          : QStringLiteral("Включить канал"));
  toggle->setObjectName(QStringLiteral("SwitchChannels"));
  connect(toggle, &QAction::triggered, this, [this, in_use] { switch_channels(in_use); });
  menu.exec(global_pos);
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (!busy_ && !dropped_parameter_file(event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
  }
}

void TForm1::dropEvent(QDropEvent* event) {
  const QString path = dropped_parameter_file(event->mimeData());
  if (path.isEmpty() || busy_) return;
  event->acceptProposedAction();
  open_file(path);
}

}  // namespace tirna
