#include "ui/channels/bulk_edit_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/catalogue/catalogue.h"
#include "core/channels/window_view.h"
#include "core/image/subtone.h"
#include "ui/app/message_boxes.h"

namespace tirna {
namespace {

const QString keep = QStringLiteral("не менять");

QString caption_of(Parameter_kind kind, int column) {
  for (const Parameter* p : channel_parameters()) {
    if (p->kind == kind && p->column == column) return qt_text(p->caption);
  }
  return {};
}

QString trimmed_text(std::string_view text) {
  return qt_text(text).trimmed();
}

// The sub-tones as the table shows them: off, every listed tone and code, inverted codes.
QStringList subtone_items() {
  QStringList items{keep, QStringLiteral("Выключен")};
  for (std::string_view tone : ctcss_list) items << QStringLiteral("CTC ") + qt_text(tone);
  for (std::string_view code : dcs_list) items << QStringLiteral("DCS ") + qt_text(code);
  for (std::string_view code : dcs_list) items << QStringLiteral("-DCS ") + qt_text(code);
  return items;
}

}  // namespace

Bulk_edit_dialog::Bulk_edit_dialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Bulk_edit_dialog"));
  setWindowTitle(QStringLiteral("Изменение каналов"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  auto* layout = new QVBoxLayout(this);
  title_ = new QLabel(this);
  layout->addWidget(title_);
  auto* form = new QFormLayout;
  layout->addLayout(form);

  const auto add = [&](int i, const QString& caption, const QStringList& items, bool editable) {
    auto* list = new QComboBox(this);
    list->setObjectName(QStringLiteral("field%1").arg(i));
    list->addItems(items);
    list->setEditable(editable);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setMaxVisibleItems(20);
    form->addRow(caption, list);
    fields_[i] = list;
  };
  add(0, caption_of(Parameter_kind::channel_box, 1),
      {keep, QStringLiteral("Да"), QStringLiteral("Нет")}, false);
  for (int column = 5; column <= 8; ++column) {
    const Flag_column& f = flag_column(column);
    add(column - 4, caption_of(Parameter_kind::channel_cell, column),
        {keep, trimmed_text(f.clear_text), trimmed_text(f.set_text)}, false);
  }
  add(5, caption_of(Parameter_kind::channel_cell, 2), subtone_items(), true);
  add(6, caption_of(Parameter_kind::channel_cell, 4), subtone_items(), true);

  auto* buttons = new QHBoxLayout;
  yes_ = new QPushButton(QStringLiteral("Да"), this);
  yes_->setObjectName(QStringLiteral("Button1"));
  no_ = new QPushButton(QStringLiteral("Нет"), this);
  no_->setObjectName(QStringLiteral("Button2"));
  buttons->addStretch();
  buttons->addWidget(yes_);
  buttons->addWidget(no_);
  buttons->addStretch();
  layout->addLayout(buttons);
  connect(yes_, &QPushButton::clicked, this, &QDialog::accept);
  connect(no_, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<Bulk_channel_edit> Bulk_edit_dialog::ask(int channels) {
  title_->setText(QStringLiteral("Выбрано каналов: %1. Поля со значением «не менять» остаются "
                                 "у каждого канала своими.")
                      .arg(channels));
  for (QComboBox* list : fields_) list->setCurrentIndex(0);
  if (exec() != QDialog::Accepted) return std::nullopt;
  return chosen();
}

Bulk_channel_edit Bulk_edit_dialog::chosen() const {
  Bulk_channel_edit edit;
  const auto picked = [this](int i) -> std::optional<bool> {
    const int index = fields_[i]->currentIndex();
    if (index <= 0) return std::nullopt;
    return index == 2;  // the second item: the bit set (or "Нет" for the box)
  };
  if (const auto box = picked(0)) edit.tx_inhibited = !*box;  // "Да": inhibited
  for (int column = 5; column <= 8; ++column) edit.flags[column - 5] = picked(column - 4);
  const auto subtone = [this](int i) -> std::optional<std::string> {
    const QString text = fields_[i]->currentText().trimmed();
    if (text.isEmpty() || text == keep) return std::nullopt;
    return text.toStdString();
  };
  edit.rx_subtone = subtone(5);
  edit.tx_subtone = subtone(6);
  return edit;
}

}  // namespace tirna
