#include "ui/app/message_boxes.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWindow>
#include <algorithm>

#include "core/text/messages.h"

namespace tirna {
namespace {

QString displayed(const QString& text) {
  QString out = text;
  out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return out;
}

// The width of the widest line of a label's text.
int widest_line(const QLabel* label) {
  int widest = 0;
  for (const QString& line : label->text().split(QLatin1Char('\n'))) {
    widest = std::max(widest, label->fontMetrics().horizontalAdvance(line));
  }
  return widest;
}

// Before the window manager has framed a window its frame is not known; this much is left for it.
constexpr QMargins assumed_frame(8, 32, 8, 8);
constexpr int details_lines = 12;

// The line that counts what a list leaves out ("и ещё 2 097 136.").
QString and_more(std::size_t count) {
  return QStringLiteral("\nи ещё %1.")
      .arg(QLocale(QLocale::Russian).toString(static_cast<qulonglong>(count)));
}

QStyle::StandardPixmap icon_pixmap(QMessageBox::Icon icon) {
  switch (icon) {
    case QMessageBox::Information:
      return QStyle::SP_MessageBoxInformation;
    case QMessageBox::Critical:
      return QStyle::SP_MessageBoxCritical;
    case QMessageBox::Question:
      return QStyle::SP_MessageBoxQuestion;
    default:
      return QStyle::SP_MessageBoxWarning;
  }
}

// The box of show_reasons. Its list of all reasons is a plain text view, which lays out only the
// lines in sight, so that thousands of reasons cost the box no time.
class Reasons_box : public QDialog {
 public:
  Reasons_box(QMessageBox::Icon icon, const QString& caption, const QString& text,
              const QStringList& reasons, std::size_t unlisted, QWidget* parent)
      : QDialog(parent) {
    setObjectName(QStringLiteral("ReasonsBox"));
    setWindowTitle(caption);
    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    auto* picture = new QLabel(this);
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    picture->setPixmap(style()->standardIcon(icon_pixmap(icon), nullptr, this).pixmap(side));
    grid->addWidget(picture, 0, 0, Qt::AlignTop);

    QString shown = text;
    for (const QString& r : reasons.mid(0, reasons_shown)) shown += QLatin1Char('\n') + r;
    const auto count = static_cast<std::size_t>(reasons.size()) + unlisted;
    const std::size_t more = count > reasons_shown ? count - reasons_shown : 0;
    if (more > 0) shown += and_more(more);
    label_ = new QLabel(shown, this);
    label_->setObjectName(QStringLiteral("ReasonsText"));
    label_->setTextFormat(Qt::PlainText);
    label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(label_, 0, 1);

    auto* buttons = new QDialogButtonBox(this);
    if (more > 0) {
      details_ = new QPlainTextEdit(this);
      details_->setObjectName(QStringLiteral("ReasonsDetails"));
      details_->setReadOnly(true);
      details_->setLineWrapMode(QPlainTextEdit::NoWrap);
      details_->setPlainText(reasons.join(QLatin1Char('\n')) +
                             (unlisted > 0 ? and_more(unlisted) : QString()));
      details_->setFixedHeight(details_->fontMetrics().lineSpacing() * details_lines +
                               2 * details_->frameWidth() + 8);
      details_->hide();
      grid->addWidget(details_, 1, 0, 1, 2);
      QPushButton* all =
          buttons->addButton(QStringLiteral("Подробнее"), QDialogButtonBox::ActionRole);
      all->setObjectName(QStringLiteral("ReasonsMore"));
      all->setCheckable(true);
      all->setAutoDefault(false);
      connect(all, &QPushButton::toggled, this, [this](bool on) {
        details_->setVisible(on);
        fit();
      });
    }
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    grid->addWidget(buttons, 2, 0, 1, 2);
  }

 protected:
  void showEvent(QShowEvent* event) override {
    wrap_to_screen();
    QDialog::showEvent(event);
    fit();
  }

 private:
  QRect room() const {
    const QScreen* s = screen();
    return s != nullptr ? s->availableGeometry() : QRect(0, 0, 1024, 768);
  }
  QMargins frame() const {
    const QMargins m = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
    return m.isNull() ? assumed_frame : m;
  }
  // Lines break only where the text breaks them, unless a line is wider than the screen.
  void wrap_to_screen() {
    const int widest = widest_line(label_);
    const int width = room().width() - frame().left() - frame().right() - 120;
    label_->setWordWrap(widest > width);
    if (widest > width) label_->setFixedWidth(width);
  }
  // The size the contents ask for, the list of all reasons made lower where the screen is, and
  // the frame moved inside the screen.
  void fit() {
    layout()->activate();
    const QRect area = room();
    const QMargins f = frame();
    const int spare = area.height() - f.top() - f.bottom() - sizeHint().height();
    if (details_ != nullptr && details_->isVisible() && spare < 0) {
      details_->setFixedHeight(
          std::max(details_->fontMetrics().lineSpacing() * 3, details_->height() + spare));
      layout()->activate();
    }
    const QSize size = sizeHint();
    QRect framed(geometry().topLeft(), size);
    framed = framed.marginsAdded(f);
    framed.moveLeft(std::clamp(framed.left(), area.left(),
                               std::max(area.left(), area.right() + 1 - framed.width())));
    framed.moveTop(std::clamp(framed.top(), area.top(),
                              std::max(area.top(), area.bottom() + 1 - framed.height())));
    setGeometry(QRect(framed.topLeft() + QPoint(f.left(), f.top()), size));
  }

  QLabel* label_ = nullptr;
  QPlainTextEdit* details_ = nullptr;
};

}  // namespace

Message_box::Message_box(Icon icon, const QString& caption, const QString& text,
                         StandardButtons buttons, QWidget* parent)
    : QMessageBox(icon, caption, displayed(text), buttons, parent) {}

void Message_box::showEvent(QShowEvent* event) {
  QMessageBox::showEvent(event);
  auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
  if (label == nullptr || !label->wordWrap()) return;
  const int widest = widest_line(label);
  const QScreen* s = screen();
  const int room = s != nullptr ? s->availableGeometry().width() - 40 : 1000;
  const int extra = width() - label->width();  // the icon, the margins
  if (widest + extra > room) return;  // wider than the screen: Qt's wrapping stands
  label->setWordWrap(false);
  layout()->invalidate();
  setFixedSize(layout()->totalSizeHint().expandedTo(QSize(widest + extra, 0)));
}

void Message_box::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && button(Yes) != nullptr && button(No) != nullptr) {
    event->accept();
    return;
  }
  QMessageBox::keyPressEvent(event);
}

QString qt_text(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

void show_message(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                  const QString& text) {
  Message_box box(icon, caption, text, QMessageBox::Ok, parent);
  box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
  box.exec();
}

void show_reasons(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                  const QString& text, const QStringList& reasons, std::size_t unlisted) {
  Reasons_box box(icon, caption, text, reasons, unlisted, parent);
  box.exec();
}

bool ask_yes_no(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                const QString& text) {
  Message_box box(icon, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
  box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

void show_error_box(QWidget* parent, std::string_view failure_text) {
  show_message(parent, QMessageBox::Critical, qt_text(app_title),
               qt_text(with_full_stop(failure_text)));
}

}  // namespace tirna
