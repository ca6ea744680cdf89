#include "ui/transfer/comparison_dialog.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/edit/parameter_edit.h"
#include "core/text/format.h"
#include "ui/app/message_boxes.h"

namespace tirna {
namespace {

QString parameter_caption(const std::string& name) {
  if (name == "coding_version") return QStringLiteral("Версия кодировки частот");
  if (name == "time") return QStringLiteral("Время последнего программирования");
  const auto p = parse_parameter_name(name);
  if (!p) return qt_text(name);
  QString caption = qt_text(p->parameter->caption);
  if (caption.endsWith(QLatin1Char(':'))) caption.chop(1);
  caption = caption.trimmed();
  if (p->kind() == Parameter_kind::channel_box || p->kind() == Parameter_kind::channel_cell) {
    return QStringLiteral("Канал %1: %2").arg(p->number).arg(caption);
  }
  return caption;
}

QString byte_text(uint8_t b) {
  return QStringLiteral("0x") + qt_text(hex_byte(b));
}

}  // namespace

std::vector<Comparison_line> comparison_lines(const Image_comparison& c) {
  std::vector<Comparison_line> lines;
  for (const Parameter_difference& d : c.parameters) {
    lines.push_back({parameter_caption(d.name), qt_text(d.a).trimmed(), qt_text(d.b).trimmed()});
  }
  for (const Byte_difference& d : c.bytes) {
    const QString what =
        d.header() ? QStringLiteral("Пакет %1, байт заголовка %2").arg(d.packet).arg(d.index)
                   : QStringLiteral("Байт по адресу 0x%1")
                         .arg(QString::number(d.address(), 16).toUpper().rightJustified(3, '0'));
    lines.push_back({what, byte_text(d.a), byte_text(d.b)});
  }
  return lines;
}

Comparison_dialog::Comparison_dialog(const Image_comparison& comparison, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("Comparison_dialog"));
  setWindowTitle(QStringLiteral("Сравнение с радиостанцией"));
  auto* layout = new QVBoxLayout(this);
  const std::vector<Comparison_line> lines = comparison_lines(comparison);
  layout->addWidget(new QLabel(
      QStringLiteral("Параметры в радиостанции отличаются от параметров окна (%1):").arg(lines.size()),
      this));
  table_ = new QTableWidget(static_cast<int>(lines.size()), 3, this);
  table_->setHorizontalHeaderLabels(
      {QStringLiteral("Параметр"), QStringLiteral("В окне"), QStringLiteral("В радиостанции")});
  table_->verticalHeader()->hide();
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  for (int r = 0; r < static_cast<int>(lines.size()); ++r) {
    table_->setItem(r, 0, new QTableWidgetItem(lines[r].what));
    table_->setItem(r, 1, new QTableWidgetItem(lines[r].window));
    table_->setItem(r, 2, new QTableWidgetItem(lines[r].radio));
  }
  table_->resizeColumnsToContents();
  table_->horizontalHeader()->setStretchLastSection(true);
  // Rows of one text line; as many shown at once as a small screen allows (a channel switched
  // on or off alone differs in nine of them).
  const int row = fontMetrics().height() + 6;
  table_->verticalHeader()->setDefaultSectionSize(row);
  const int shown = std::clamp(static_cast<int>(lines.size()), 6, 16);
  table_->setMinimumSize(560, table_->horizontalHeader()->sizeHint().height() + shown * row +
                                  2 * table_->frameWidth());
  layout->addWidget(table_);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
}

}  // namespace tirna
