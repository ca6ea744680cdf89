#pragma once
// The pictures of the menu and tool bar (one list serves both) and of the about box.

#include <QIcon>
#include <QPixmap>

namespace tirna {

// Index as the menu and tool bar use it: 0 new file, 1 open file, 2 save file, 3 read from the
// radio, 4 write to the radio, 5 exit, 6 print.
enum class Command_icon {
  new_file = 0,
  open_file,
  save_file,
  read_radio,
  write_radio,
  exit,
  print
};

// The desktop theme's icon when it has one, else a small picture of our own.
QIcon command_icon(Command_icon which);

// The program's icon (the one of its menu entry), for the window.
QIcon program_icon();

// The about box picture: a hand-held radio with a programming cable, transparent background.
QPixmap radio_picture(QSize size);

}  // namespace tirna
