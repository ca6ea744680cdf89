// tirna520: the programming tool's window.

#include <QApplication>

#include "ui/app/program.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tirna520"));
  return tirna::run_program(app);
}
