// tirna520: the programming tool's window. `tirna520 FILE` opens a parameter file after start-up,
// as "Открыть" does (a double click on a *.tn5 file in the file manager).

#include <QApplication>
#include <QCommandLineParser>
#include <string_view>

#include "ui/app/program.h"

namespace {

// --help and --version print and end before any window; they need no display.
bool only_prints(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--") return false;
    if (arg == "-h" || arg == "-?" || arg == "--help" || arg == "--help-all" || arg == "-v" ||
        arg == "--version") {
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (only_prints(argc, argv)) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform's notes (no runtime folder and the like) are not the answer asked for.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tirna520"));
  QApplication::setApplicationVersion(QStringLiteral(TIRNA_VERSION));
  // The menu entry of the installed program, for the desktop to match the window with it.
  QApplication::setDesktopFileName(QStringLiteral("ru.tirna.Tirna520"));
  // The window speaks Russian, its --help (Qt's own lines included) too.
  tirna::load_russian_texts(app);
  QCommandLineParser options;
  options.setApplicationDescription(QStringLiteral("ПО Тирна-520: программирование радиостанции"));
  options.addHelpOption();
  options.addVersionOption();
  options.addPositionalArgument(
      QStringLiteral("ФАЙЛ"),
      QStringLiteral("Файл параметров (*.tn5), который открывается после запуска"),
      QStringLiteral("[ФАЙЛ]"));
  options.process(app);
  const QStringList files = options.positionalArguments();
  return tirna::run_program(app, files.isEmpty() ? QString() : files.first());
}
