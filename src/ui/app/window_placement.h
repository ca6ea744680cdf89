#pragma once
// Every window and dialog of the program keeps its frame (title bar included) inside the screen's
// available area: on a 1366x768 or 1280x720 laptop a dialog as tall as the screen is made to fit
// and none is placed with its title bar above the top, where it could not be grabbed. Before a
// window's first showing its frame is not known; the frame of the main window stands in for it,
// so that a dialog lands at the same place at its first showing and its later ones.

#include <QMargins>
#include <QRect>

class QApplication;
class QWidget;

namespace tirna {

// From now on, each window shown is kept inside its screen's available area.
void keep_windows_on_screen(QApplication& app);

// The frame a window has, or will have once a window manager decorates it.
QMargins frame_margins(const QWidget* window);

// The frame moved (and shrunk, when it is larger) into the available area.
QRect frame_inside(QRect frame, const QRect& available);

// Places the window so that its frame's centre is `centre`, inside the available area.
void centre_window(QWidget* window, QPoint centre);

}  // namespace tirna
