#include "ui/pages/extra_page.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "core/catalogue/catalogue.h"
#include "core/pages/extra_data.h"
#include "ui/app/message_boxes.h"

namespace tirna {
namespace {

QLabel* value_label(QWidget* parent, const QString& name) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  label->setTextFormat(Qt::PlainText);
  // Blanks are part of the shown texts (an unprogrammed radio shows only separators).
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace

Extra_page::Extra_page(QWidget* parent) : QWidget(parent) {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(10, 10, 10, 8);
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(6);

  const auto caption = [this](std::string_view text) {
    auto* label = new QLabel(qt_text(text), this);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
  };
  model_ = value_label(this, QStringLiteral("ModelLabel"));
  factory_number_ = value_label(this, QStringLiteral("FactoryNumberLabel"));
  time_ = value_label(this, QStringLiteral("TimeLabel"));
  grid->addWidget(caption(parameter_named("model")->caption), 0, 0);
  grid->addWidget(model_, 0, 1);
  grid->addWidget(caption(parameter_named("nomer")->caption), 1, 0);
  grid->addWidget(factory_number_, 1, 1);
  grid->addWidget(caption("Время последнего программирования :"), 2, 0);
  grid->addWidget(time_, 2, 1);
  grid->setColumnStretch(1, 1);

  auto* text_caption = new QLabel(qt_text(parameter_named("memo1")->caption), this);
  grid->addWidget(text_caption, 3, 0, 1, 2);
  text_ = new QPlainTextEdit(this);
  text_->setObjectName(QStringLiteral("RichEdit1"));
  text_->setTabChangesFocus(true);
  text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  grid->addWidget(text_, 4, 0, 1, 2);
  grid->setRowStretch(4, 1);
  text_caption->setBuddy(text_);

  read_ = new QPushButton(QStringLiteral("Чтение"), this);
  read_->setObjectName(QStringLiteral("Button301"));
  write_ = new QPushButton(QStringLiteral("Запись"), this);
  write_->setObjectName(QStringLiteral("Button302"));
  for (auto* button : {read_, write_}) button->setFixedSize(90, 25);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(read_);
  buttons->addSpacing(16);
  buttons->addWidget(write_);
  buttons->addStretch(1);
  grid->addLayout(buttons, 5, 0, 1, 2);
}

void Extra_page::show_extra(const Extra_view& view) {
  factory_number_->setText(qt_text(view.factory_number));
  time_->setText(qt_text(view.time));
  const QString text = qt_text(view.free_text);
  if (text_->toPlainText() != text) {
    const QSignalBlocker block(text_);
    text_->setPlainText(text);
  }
  model_->setText(qt_text(view.model));
}

std::optional<std::string> Extra_page::free_text_bytes() const {
  return tirna::free_text_bytes(text_->toPlainText().toStdString());
}

}  // namespace tirna
