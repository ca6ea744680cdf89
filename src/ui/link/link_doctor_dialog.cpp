#include "ui/link/link_doctor_dialog.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

#include "core/text/messages.h"
#include "platform/event_loop_clock.h"
#include "ui/app/message_boxes.h"

namespace tirna {

namespace {

QString html(const std::string& text) {
  return qt_text(text).toHtmlEscaped();
}

// The mark of a check: its sign and colour.
QString mark_html(Check_mark mark) {
  switch (mark) {
    case Check_mark::ok:
      return QStringLiteral("<span style='color:#1a7f37'>&#x2714;</span>");
    case Check_mark::warning:
      return QStringLiteral("<span style='color:#b35900'>&#x26A0;</span>");
    case Check_mark::broken:
      return QStringLiteral("<span style='color:#c0261d'>&#x2716;</span>");
    case Check_mark::not_run:
      break;
  }
  return QStringLiteral("<span style='color:#8c8c8c'>&#x2014;</span>");
}

QString port_html(const Port_diagnosis& p) {
  QString out =
      p.device.empty()
          ? QStringLiteral("<p><b>Порт не найден</b></p>")
          : QStringLiteral("<p><b>Порт %1</b> <span style='color:#606060'>(%2)</span></p>")
                .arg(html(p.device), html(p.origin));
  out += QStringLiteral("<table cellspacing='0' cellpadding='3' width='100%'>");
  for (const auto& c : p.checks) {
    QString text = c.mark == Check_mark::not_run
                       ? QStringLiteral("<span style='color:#8c8c8c'>не проверялось</span>")
                       : html(c.line);
    if (!c.fix.empty()) text += QStringLiteral("<br><i>%1</i>").arg(html(c.fix));
    out += QStringLiteral(
               "<tr><td width='22' style='font-size:large'>%1</td><td width='150'><b>%2</b></td>"
               "<td>%3</td></tr>")
               .arg(mark_html(c.mark), html(step_name(c.step)), text);
  }
  return out + QStringLiteral("</table>");
}

}  // namespace

Link_doctor_dialog::Link_doctor_dialog(QWidget* parent, Doctor_request request,
                                       std::string config_ports, QString folder)
    : QDialog(parent),
      request_(std::move(request)),
      config_ports_(std::move(config_ports)),
      folder_(std::move(folder)) {
  setObjectName(QStringLiteral("LinkDoctorDialog"));
  setWindowTitle(QStringLiteral("Диагностика связи"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  resize(760, 540);
  checks_ = new QTextBrowser;
  checks_->setObjectName(QStringLiteral("Checks"));
  checks_->setOpenLinks(false);
  verdict_ = new QLabel;
  verdict_->setObjectName(QStringLiteral("Verdict"));
  verdict_->setWordWrap(true);
  verdict_->setTextFormat(Qt::PlainText);
  verdict_->setMargin(8);
  verdict_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  again_ = new QPushButton(QStringLiteral("Проверить снова"));
  save_ = new QPushButton(QStringLiteral("Сохранить для отчёта..."));
  save_->setObjectName(QStringLiteral("SaveBundle"));
  close_ = new QPushButton(QStringLiteral("Закрыть"));
  connect(again_, &QPushButton::clicked, this, &Link_doctor_dialog::run);
  connect(save_, &QPushButton::clicked, this, [this] { save_bundle(); });
  connect(close_, &QPushButton::clicked, this, &Link_doctor_dialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(again_);
  buttons->addWidget(save_);
  buttons->addStretch(1);
  buttons->addWidget(close_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(checks_, 1);
  layout->addWidget(verdict_);
  layout->addLayout(buttons);
}

void Link_doctor_dialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (started_) return;
  started_ = true;
  QTimer::singleShot(0, this, &Link_doctor_dialog::run);
}

void Link_doctor_dialog::reject() {
  if (!running_) QDialog::reject();
}

void Link_doctor_dialog::run() {
  if (running_) return;
  running_ = true;
  for (QPushButton* b : {again_, save_, close_}) b->setEnabled(false);
  checks_->clear();
  verdict_->setStyleSheet(QStringLiteral("background:#eeeeee"));
  verdict_->setText(
      QStringLiteral("Идёт проверка: устройство, доступ, порт, линия, радиостанция..."));
  Event_loop_clock clock;
  diagnosis_ = run_link_doctor(request_, clock, SerialPort::Wait_mode::serve_events, -1,
                               [this](const Link_diagnosis& d) { show_diagnosis(d, false); });
  show_diagnosis(*diagnosis_, true);
  running_ = false;
  for (QPushButton* b : {again_, save_, close_}) b->setEnabled(true);
}

void Link_doctor_dialog::show_diagnosis(const Link_diagnosis& d, bool done) {
  QString text;
  for (const auto& p : d.ports) text += port_html(p);
  checks_->setHtml(text);
  if (!done) return;
  const char* colour = d.mark == Check_mark::broken    ? "#f8d7d5"
                       : d.mark == Check_mark::warning ? "#fbeacb"
                                                       : "#d4edda";
  verdict_->setStyleSheet(
      QStringLiteral("background:%1; font-weight:bold").arg(QLatin1String(colour)));
  verdict_->setText(QStringLiteral("Итог: ") + qt_text(d.verdict));
}

void Link_doctor_dialog::save_bundle(const QString& given) {
  if (!diagnosis_) return;
  QString path = given;
  if (path.isEmpty()) {
    path = QFileDialog::getSaveFileName(this, QStringLiteral("Сохранить сведения для отчёта"),
                                        folder_ + QStringLiteral("/tirna520-doctor.tar.gz"),
                                        QStringLiteral("Архив tar.gz (*.tar.gz)"));
    if (path.isEmpty()) return;
  }
  if (const auto error = save_diagnosis_bundle(QFile::encodeName(path).toStdString(), *diagnosis_,
                                               config_ports_)) {
    show_error_box(this, error->text());
  }
}

}  // namespace tirna
