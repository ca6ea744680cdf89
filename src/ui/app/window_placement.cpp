#include "ui/app/window_placement.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>

namespace tirna {
namespace {

QMargins known_margins(const QWidget* w) {
  const QRect frame = w->frameGeometry(), client = w->geometry();
  return {client.left() - frame.left(), client.top() - frame.top(),
          frame.right() - client.right(), frame.bottom() - client.bottom()};
}

QRect available_area(const QWidget* w) {
  const QScreen* screen = w->screen() != nullptr ? w->screen() : QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect();
}

// Moves the window's frame inside the available area, shrinking a window that is larger.
void keep_inside(QWidget* w) {
  const QRect available = available_area(w);
  if (available.isEmpty()) return;
  const QMargins m = frame_margins(w);
  const QRect frame = w->geometry().marginsAdded(m);
  const QRect inside = frame_inside(frame, available);
  if (inside == frame) return;
  if (inside.size() != frame.size()) w->resize(inside.marginsRemoved(m).size());
  w->move(inside.topLeft());  // a window's position is that of its frame
}

class Placement_filter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
      auto* w = static_cast<QWidget*>(watched);
      if (w->isWindow() && !(w->windowFlags() & Qt::Popup).testFlag(Qt::Popup) &&
          w->windowType() != Qt::ToolTip) {
        keep_inside(w);
      }
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

void keep_windows_on_screen(QApplication& app) {
  // Once per application. (Not by looking for the filter among the application's children: a
  // class without its own meta-object is found as any QObject, a translator say, and the filter
  // was then never installed.)
  static constexpr char installed[] = "tirna_windows_kept_on_screen";
  if (app.property(installed).toBool()) return;
  app.setProperty(installed, true);
  app.installEventFilter(new Placement_filter(&app));
}

QMargins frame_margins(const QWidget* window) {
  const QMargins own = known_margins(window);
  if (!own.isNull() || window->isVisible()) return own;
  // Not decorated yet: the main window's frame, when it has one, is what the manager will add.
  for (const QWidget* top : QApplication::topLevelWidgets()) {
    if (top != window && top->isVisible() && top->inherits("QMainWindow")) {
      return known_margins(top);
    }
  }
  return own;
}

QRect frame_inside(QRect frame, const QRect& available) {
  frame.setWidth(std::min(frame.width(), available.width()));
  frame.setHeight(std::min(frame.height(), available.height()));
  if (frame.right() > available.right()) frame.moveRight(available.right());
  if (frame.bottom() > available.bottom()) frame.moveBottom(available.bottom());
  if (frame.left() < available.left()) frame.moveLeft(available.left());
  if (frame.top() < available.top()) frame.moveTop(available.top());
  return frame;
}

void centre_window(QWidget* window, QPoint centre) {
  QRect frame = window->geometry().marginsAdded(frame_margins(window));
  frame.moveCenter(centre);
  const QRect available = available_area(window);
  if (!available.isEmpty()) frame = frame_inside(frame, available);
  window->move(frame.topLeft());
}

}  // namespace tirna
