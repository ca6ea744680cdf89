#include "ui/app/wheel_guard.h"

#include <QComboBox>
#include <QEvent>

namespace tirna {
namespace {

class Wheel_guard : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Wheel) {
      auto* list = qobject_cast<QComboBox*>(watched);
      if (list != nullptr && !list->hasFocus()) return true;
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

void guard_wheel(QComboBox* list) {
  // A list's own policy (Qt::WheelFocus) lets a real wheel event give it the focus before the
  // event reaches it, and so past this guard: the wheel takes no focus.
  list->setFocusPolicy(Qt::StrongFocus);
  list->installEventFilter(new Wheel_guard(list));
}

}  // namespace tirna
