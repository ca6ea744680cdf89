#include "ui/app/about_box.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "core/text/messages.h"
#include "ui/app/icons.h"
#include "ui/app/message_boxes.h"

namespace tirna {

TForm11::TForm11(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TForm11"));
  setAttribute(Qt::WA_WindowPropagation);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(QStringLiteral("О программе"));
  setFixedSize(328, 169);

  auto* picture = new QLabel(this);
  picture->setGeometry(20, 16, 97, 57);
  picture->setPixmap(radio_picture(QSize(97, 57)));

  name_ = new QLabel(this);
  name_->setObjectName(QStringLiteral("Label1"));
  QFont large = font();
  large.setBold(true);
  large.setPixelSize(18);
  name_->setFont(large);
  name_->setGeometry(134, 16, 136, 24);

  version_ = new QLabel(this);
  version_->setObjectName(QStringLiteral("Label2"));
  QFont bold = font();
  bold.setBold(true);
  version_->setFont(bold);
  version_->setGeometry(134, 44, 92, 20);

  const QString maker_lines[] = {QStringLiteral("© 2003-2026 НПП «Тирна»"),
                                 QStringLiteral("Программное обеспечение радиостанций")};
  for (int i = 0; i < 2; ++i) {
    auto* line = new QLabel(maker_lines[i], this);
    line->setAlignment(Qt::AlignHCenter);
    line->setGeometry(0, 80 + 16 * i, 328, 16);
  }

  auto* separator = new QFrame(this);
  separator->setFrameShape(QFrame::HLine);
  separator->setFrameShadow(QFrame::Sunken);
  separator->setGeometry(8, 123, 313, 2);

  close_ = new QPushButton(QStringLiteral("Закрыть"), this);
  close_->setObjectName(QStringLiteral("Button1"));
  close_->setGeometry(122, 134, 75, 25);
  close_->setDefault(true);
  connect(close_, &QPushButton::clicked, this, &QDialog::accept);
}

void TForm11::showEvent(QShowEvent* event) {
  name_->setText(qt_text(app_title));
  version_->setText(qt_text(version_text));
  close_->setFocus();
  QDialog::showEvent(event);
}

}  // namespace tirna
