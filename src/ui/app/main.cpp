// tirna520: the programming tool's window. `tirna520 FILE` opens a parameter file after start-up,
// as "Открыть" does (a double click on a *.tn5 file in the file manager).

#include <QApplication>
#include <QCommandLineParser>

#include "ui/app/program.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tirna520"));
  QApplication::setApplicationVersion(QStringLiteral(TIRNA_VERSION));
  QCommandLineParser options;
  options.setApplicationDescription(QStringLiteral("ПО Тирна-520: программирование радиостанции"));
  options.addHelpOption();
  options.addVersionOption();
  options.addPositionalArgument(QStringLiteral("FILE"),
                                QStringLiteral("A parameter file (*.tn5) to open after start-up"));
  options.process(app);
  const QStringList files = options.positionalArguments();
  return tirna::run_program(app, files.isEmpty() ? QString() : files.first());
}
