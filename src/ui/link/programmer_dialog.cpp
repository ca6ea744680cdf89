#include "ui/link/programmer_dialog.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace tirna {
namespace {

// Selects item index of a group: beyond the last selects the last, negative selects none.
void select_item(QButtonGroup* group, int index) {
  const int count = static_cast<int>(group->buttons().size());
  if (index < 0) {
    group->setExclusive(false);
    for (auto* b : group->buttons()) b->setChecked(false);
    group->setExclusive(true);
    return;
  }
  group->button(std::min(index, count - 1))->setChecked(true);
}

}  // namespace

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TForm2"));
  setAttribute(Qt::WA_WindowPropagation);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(QStringLiteral("Выбор программатора"));
  setFixedSize(309, 191);

  // Two columns, filled column by column as the radio groups of this dialog always were.
  const auto place = [](QGroupBox* box, QButtonGroup* group, const QStringList& items) {
    const int rows = static_cast<int>((items.size() + 1) / 2);
    const int column_width = (box->width() - 16) / 2;
    const int row_height = (box->height() - 24) / rows;
    for (int i = 0; i < items.size(); ++i) {
      auto* item = new QRadioButton(items[i], box);
      item->setObjectName(QStringLiteral("%1_%2").arg(box->objectName()).arg(i));
      item->setGeometry(8 + (i / rows) * column_width, 20 + (i % rows) * row_height,
                        column_width - 4, row_height);
      group->addButton(item, i);
    }
  };

  type_group_ = new QGroupBox(QStringLiteral(" Выбор типа программатора "), this);
  type_group_->setObjectName(QStringLiteral("RadioGroup1"));
  type_group_->setGeometry(8, 8, 293, 57);
  types_ = new QButtonGroup(this);
  place(type_group_, types_,
        {QStringLiteral("USB-программатор"), QStringLiteral("СОМ- программатор")});

  port_group_ = new QGroupBox(QStringLiteral(" Выбор СОМ-порта "), this);
  port_group_->setObjectName(QStringLiteral("RadioGroup2"));
  port_group_->setGeometry(8, 72, 293, 82);
  ports_ = new QButtonGroup(this);
  place(port_group_, ports_,
        {QStringLiteral("COM 1"), QStringLiteral("COM 2"), QStringLiteral("COM 3"),
         QStringLiteral("COM 4")});

  yes_ = new QPushButton(QStringLiteral("Да"), this);
  yes_->setObjectName(QStringLiteral("Button1"));
  yes_->setGeometry(16, 160, 75, 25);
  no_ = new QPushButton(QStringLiteral("Нет"), this);
  no_->setObjectName(QStringLiteral("Button2"));
  no_->setGeometry(217, 160, 75, 25);

  connect(types_, &QButtonGroup::buttonClicked, this, [this] { RadioGroup1Click(); });
  connect(yes_, &QPushButton::clicked, this, [this] {
    accepted_mark_ = true;
    accept();
  });
  connect(no_, &QPushButton::clicked, this, &QDialog::reject);
}

QRadioButton* TForm2::type_item(int index) const {
  return static_cast<QRadioButton*>(types_->button(index));
}

QRadioButton* TForm2::port_item(int index) const {
  return static_cast<QRadioButton*>(ports_->button(index));
}

void TForm2::choose(Programmer_choice& choice) {
  FormShow(choice);
  exec();
  FormClose(choice);
}

void TForm2::FormShow(const Programmer_choice& choice) {
  accepted_mark_ = false;
  select_item(types_, choice.type);
  select_item(ports_, choice.port_index);
  RadioGroup1Click();
  if (auto* checked = types_->checkedButton()) checked->setFocus();
}

void TForm2::RadioGroup1Click() {
  if (types_->checkedId() == 0) {
    types_->button(1)->setChecked(true);
  } else {
    port_group_->setEnabled(true);
  }
}

void TForm2::FormClose(Programmer_choice& choice) {
  if (!accepted_mark_) return;
  choice.type = types_->checkedId();
  choice.port_index = ports_->checkedId();
}

}  // namespace tirna
