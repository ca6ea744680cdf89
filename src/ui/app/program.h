#pragma once
// The program's entry: the single-instance lock, the Russian texts of Qt's own dialogs, the main
// window and the event loop.

class QApplication;
class QString;

namespace tirna {

// Runs the program until the main window closes; the exit status. A second copy shows
// "Программа уже открыта!" and ends at once without touching anything. A file, when given, is
// opened once the window shows, as "Открыть" does.
int run_program(QApplication& app, const QString& file);

// Qt's own dialogs, boxes and command-line help (file dialogs, text field menus, --help) in
// Russian, as the program is. Loaded once, before anything shows a text; later calls change
// nothing.
void load_russian_texts(QApplication& app);

}  // namespace tirna
