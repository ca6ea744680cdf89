#include "ui/pages/settings_page.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListView>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "ui/app/message_boxes.h"
#include "ui/app/wheel_guard.h"

namespace tirna {

Settings_page::Settings_page(QWidget* parent) : QWidget(parent) {
  panel_ = new QWidget(this);
  panel_->setObjectName(QStringLiteral("SettingsPanel"));
  panel_->setFocusPolicy(Qt::StrongFocus);
  auto* grid = new QGridLayout(panel_);
  grid->setContentsMargins(8, 10, 8, 8);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(4);

  for (int slot = 0; slot < settings_count; ++slot) {
    const Parameter& entry = setting_entry(slot);
    auto* caption = new QLabel(qt_text(entry.caption), panel_);
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* list = new QComboBox(panel_);
    list->setObjectName(QStringLiteral("ComboBox%1").arg(entry.control));
    list->setEditable(false);
    list->setFixedWidth(entry.list_width);
    list->setMaxVisibleItems(16);
    guard_wheel(list);
    caption->setBuddy(list);
    captions_[slot] = caption;
    lists_[slot] = list;
    fill(slot, Squelch_form::long_form);
    // activated: the user's picks only, also of the item already shown.
    connect(list, &QComboBox::activated, this, [this, slot](int item) { emit picked(slot, item); });
    grid->addWidget(caption, slot, 0);
    grid->addWidget(list, slot, 1, Qt::AlignLeft);
  }
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(settings_count, 1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(panel_);
}

void Settings_page::fill(int slot, Squelch_form form) {
  QStringList texts;
  for (const std::string& item : setting_items(slot, form)) texts << qt_text(item);
  QComboBox* list = lists_[slot];
  const QSignalBlocker block(list);
  list->clear();
  list->addItems(texts);
  // The drop-down shows whole item texts even where they are wider than the list.
  list->view()->setMinimumWidth(list->view()->sizeHintForColumn(0) + 24);
  if (slot == squelch_key_slot) squelch_form_shown_ = form;
}

void Settings_page::show_settings(const Settings_view& view) {
  if (view.squelch_form != squelch_form_shown_) fill(squelch_key_slot, view.squelch_form);
  for (int slot = 0; slot < settings_count; ++slot) {
    QComboBox* list = lists_[slot];
    const int index = view.selection[slot].value_or(-1);
    if (list->currentIndex() == index) continue;
    const QSignalBlocker block(list);
    list->setCurrentIndex(index);
  }
}

}  // namespace tirna
