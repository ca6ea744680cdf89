// The channel table's commands beyond the cells: Copy and Paste, rearranging the channels (moving,
// inserting, deleting, sorting) and editing several at once. Each change is one undo step.

#include <QAction>
#include <QTableWidget>

#include "core/channels/channel_rows.h"
#include "core/edit/bulk_edit.h"
#include "core/edit/parameter_edit.h"
#include "ui/app/main_window.h"
#include "ui/app/message_boxes.h"
#include "ui/channels/bulk_edit_dialog.h"
#include "ui/channels/channel_page.h"

namespace tirna {
namespace {

std::vector<int> channels_of(const std::vector<int>& rows) {
  std::vector<int> channels;
  for (int r : rows) channels.push_back(r + 1);
  return channels;
}

std::vector<int> rows_of(const std::vector<int>& channels) {
  std::vector<int> rows;
  for (int n : channels) rows.push_back(n - 1);
  return rows;
}

// Why the window would not make an edit of the several, in its words.
QString refusal_text(const Assignment_outcome& o) {
  const auto p = parse_parameter_name(o.name);
  const QString channel = p ? QStringLiteral("Канал %1: ").arg(p->number) : QString();
  switch (*o.refusal) {
    case Edit_refusal::subtone_refused:
      return channel + qt_text(o.detail);
    case Edit_refusal::not_a_subtone:
      return channel + QStringLiteral("«%1» не является субтоном (Выключен, CTC 67,0, DCS 023, "
                                      "-DCS 754).")
                           .arg(qt_text(o.value));
    case Edit_refusal::channel_refused:
      return qt_text(channel_fault_text_ru(*o.fault)) + QLatin1Char('.');
    default:
      return channel + QStringLiteral("«%1» не принято.").arg(qt_text(o.value));
  }
}

}  // namespace

void TForm1::build_table_commands() {
  // While the channel page has the focus (the free text keeps its own Copy and Paste).
  const auto table_command = [this](const char* name, const char* text, QKeySequence keys,
                                    void (TForm1::*slot)()) {
    QAction* a = add_command(name, text, slot);
    if (!keys.isEmpty()) a->setShortcut(keys);
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    channel_page_->addAction(a);
    return a;
  };
  table_command("CopyChannels", "Копировать", QKeySequence::Copy, &TForm1::copy_channels);
  table_command("PasteChannels", "Вставить", QKeySequence::Paste, &TForm1::paste_channels);
  table_command("MoveChannelsUp", "Переместить вверх", QKeySequence(Qt::CTRL | Qt::Key_Up),
                &TForm1::move_channels_up);
  table_command("MoveChannelsDown", "Переместить вниз", QKeySequence(Qt::CTRL | Qt::Key_Down),
                &TForm1::move_channels_down);
  table_command("InsertChannel", "Вставить пустой канал", {}, &TForm1::insert_channel);
  table_command("DeleteChannels", "Удалить каналы", {}, &TForm1::delete_channels);
  table_command("SortChannels", "Сортировать по частоте приема", {}, &TForm1::sort_channels);
  table_command("EditChannels", "Изменить каналы...", {}, &TForm1::edit_channels);
}

template <class Change>
void TForm1::rearranged(Change&& change) {
  if (busy_) return;
  std::vector<int> rows;
  recorded([&] {
    const Param_image before = ws_.image;
    rows = change();
    if (ws_.image != before) ws_.state.modified = true;
  });
  print_wind_blok();
  channel_page_->select_rows(rows);
}

void TForm1::move_channels_up() {
  rearranged([this] {
    return rows_of(move_channels(ws_.image, channels_of(channel_page_->selected_rows()), -1));
  });
}

void TForm1::move_channels_down() {
  rearranged([this] {
    return rows_of(move_channels(ws_.image, channels_of(channel_page_->selected_rows()), 1));
  });
}

void TForm1::insert_channel() {
  if (busy_) return;
  const std::vector<int> rows = channel_page_->selected_rows();
  const int at = rows.empty() ? 1 : rows.front() + 1;
  if (channel_in_use(ws_.image, channel_count) &&
      !ask_yes_no(this, QMessageBox::Warning, QStringLiteral("Вставка канала"),
                  QStringLiteral("Каналы с %1-го сдвинутся вниз, канал 16 будет удалён.\r"
                                 "Продолжить?")
                      .arg(at))) {
    return;
  }
  rearranged([&] {
    insert_empty_channel(ws_.image, at, ws_.state.coding_version);
    return std::vector<int>{at - 1};
  });
}

void TForm1::delete_channels() {
  rearranged([this] {
    const std::vector<int> rows = channel_page_->selected_rows();
    tirna::delete_channels(ws_.image, channels_of(rows), ws_.state.coding_version);
    return rows.empty() ? rows : std::vector<int>{rows.front()};
  });
}

void TForm1::sort_channels() {
  rearranged([this] {
    sort_channels_by_receive_frequency(ws_.image, ws_.state.coding_version);
    return channel_page_->selected_rows();
  });
}

void TForm1::edit_channels() {
  if (busy_) return;
  const std::vector<int> rows = channel_page_->selected_rows();
  if (rows.empty()) return;
  if (bulk_edit_ == nullptr) bulk_edit_ = new Bulk_edit_dialog(this);
  const auto edit = bulk_edit_->ask(static_cast<int>(rows.size()));
  if (!edit || edit->empty()) return;
  // All or nothing, by the rules of a single edit: tried on a copy first.
  Workspace trial = ws_;
  const auto outcomes =
      apply_assignments(trial, bulk_assignments(trial.image, channels_of(rows), *edit));
  QString why;
  for (const Assignment_outcome& o : outcomes) {
    if (o.refusal) why += QLatin1Char('\r') + refusal_text(o);
  }
  if (!why.isEmpty()) {
    show_message(this, QMessageBox::Warning, QStringLiteral("Изменение каналов"),
                 QStringLiteral("Каналы не изменены: ничего не изменено.") + why);
    return;
  }
  rearranged([&] {
    ws_ = trial;
    return rows;
  });
}

}  // namespace tirna
