#pragma once
// The arguments Qt's application objects keep a reference to for their whole life (the serial
// port's events need a QCoreApplication, the report's fonts a QGuiApplication): the program's
// name only, so that Qt takes none of the command's own options for its.

namespace tirna::cli {

int& qt_argc();
char** qt_argv();

}  // namespace tirna::cli
