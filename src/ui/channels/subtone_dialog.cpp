#include "ui/channels/subtone_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "core/channels/frequency_entry.h"
#include "core/image/subtone.h"
#include "ui/app/message_boxes.h"

namespace tirna {
namespace {

template <std::size_t N>
QStringList items(const std::array<std::string_view, N>& list) {
  QStringList out;
  for (auto text : list) out << qt_text(text);
  return out;
}

QComboBox* editable_list(QWidget* parent, const QString& name, const QStringList& texts) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  list->setEditable(true);
  // Typed texts are taken as they are (and checked when accepted), never added to the list.
  list->setInsertPolicy(QComboBox::NoInsert);
  list->addItems(texts);
  list->setMaxVisibleItems(16);
  return list;
}

// The item shown in a list: its index when the text is that item's, else none.
int shown_index(const QComboBox* list) {
  const int i = list->currentIndex();
  return i >= 0 && list->itemText(i) == list->currentText() ? i : -1;
}

void show_list(QComboBox* list, int index, const std::string& text) {
  const QSignalBlocker block(list);
  list->setCurrentIndex(index);
  list->setEditText(qt_text(text));
}

}  // namespace

TForm4::TForm4(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TForm4"));
  setAttribute(Qt::WA_WindowPropagation);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setFixedSize(250, 150);

  group_ = new QGroupBox(this);
  group_->setObjectName(QStringLiteral("RadioGroup1"));
  group_->setGeometry(8, 6, 100, 100);
  auto* buttons = new QButtonGroup(this);
  const QString names[] = {QStringLiteral("CTC"), QStringLiteral("DCS"),
                           QStringLiteral("Выключен")};
  for (int i = 0; i < 3; ++i) {
    choices_[i] = new QRadioButton(names[i], group_);
    choices_[i]->setObjectName(QStringLiteral("RadioGroup1_%1").arg(i));
    choices_[i]->setGeometry(10, 12 + 28 * i, 86, 22);
    buttons->addButton(choices_[i], i);
  }
  connect(buttons, &QButtonGroup::idClicked, this, &TForm4::RadioGroup1Click);

  ctcss_ = editable_list(this, QStringLiteral("ComboBox1"), items(ctcss_list));
  ctcss_->setGeometry(120, 16, 118, 22);
  dcs_ = editable_list(this, QStringLiteral("ComboBox2"), items(dcs_list));
  dcs_->setGeometry(120, 46, 118, 22);
  inverted_ = new QCheckBox(QStringLiteral("Инверт. DCS"), this);
  inverted_->setObjectName(QStringLiteral("CheckBox1"));
  inverted_->setGeometry(120, 76, 118, 22);

  yes_ = new QPushButton(QStringLiteral("Да"), this);
  yes_->setObjectName(QStringLiteral("Button1"));
  yes_->setGeometry(24, 116, 75, 25);
  yes_->setDefault(true);
  no_ = new QPushButton(QStringLiteral("Нет"), this);
  no_->setObjectName(QStringLiteral("Button2"));
  no_->setGeometry(151, 116, 75, 25);
  connect(yes_, &QPushButton::clicked, this, &QDialog::accept);
  connect(no_, &QPushButton::clicked, this, &QDialog::reject);

  // As the dialog is first seen: "Выключен", "67.0" without a selected item, "023", unchecked.
  Subtone_dialog_state initial;
  show_state(initial);
}

bool TForm4::ask_subtone(Side side, Subtone_dialog_state& state) {
  setWindowTitle(qt_text(side == Side::rx ? subtone_title_rx : subtone_title_tx));
  show_state(state);
  choices_[state.choice]->setFocus();
  shown_ = &state;
  const bool accepted = exec() == QDialog::Accepted;
  shown_ = nullptr;
  read_state(state);
  return accepted;
}

void TForm4::show_refused(const std::string& message) {
  show_message(parentWidget(), QMessageBox::Warning, qt_text(input_error_caption),
               qt_text(message));
}

void TForm4::show_state(const Subtone_dialog_state& s) {
  {
    const QSignalBlocker block(choices_[s.choice]);
    choices_[s.choice]->setChecked(true);
  }
  show_list(ctcss_, s.ctcss_index, s.ctcss_text);
  show_list(dcs_, s.dcs_index, s.dcs_text);
  inverted_->setChecked(s.inverted);
  show_enabled(s);
}

void TForm4::show_enabled(const Subtone_dialog_state& s) {
  ctcss_->setEnabled(s.ctcss_enabled);
  dcs_->setEnabled(s.dcs_enabled);
  inverted_->setEnabled(s.inverted_enabled);
}

void TForm4::read_state(Subtone_dialog_state& s) const {
  for (int i = 0; i < 3; ++i) {
    if (choices_[i]->isChecked()) s.choice = i;
  }
  s.ctcss_index = shown_index(ctcss_);
  s.ctcss_text = ctcss_->currentText().toStdString();
  s.dcs_index = shown_index(dcs_);
  s.dcs_text = dcs_->currentText().toStdString();
  s.inverted = inverted_->isChecked();
  s.ctcss_enabled = ctcss_->isEnabled();
  s.dcs_enabled = dcs_->isEnabled();
  s.inverted_enabled = inverted_->isEnabled();
}

void TForm4::RadioGroup1Click(int choice) {
  if (shown_ == nullptr) return;
  shown_->set_choice(choice);
  show_enabled(*shown_);
}

}  // namespace tirna
