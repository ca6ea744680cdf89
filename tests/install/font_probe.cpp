// Prints the fonts Qt resolves on this system for the window's Arial, the application's default
// (message boxes, Qt's file dialog) and a message box, one "what: family" line each, with
// "(fixed pitch)" after a monospaced one. fresh_root_check.sh runs it in a minimal system that
// has only the package's fonts.

#include <QApplication>
#include <QFontInfo>
#include <QMessageBox>
#include <QTextStream>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QMessageBox box(QMessageBox::Warning, QStringLiteral("Ошибка"), QStringLiteral("Текст"));
  const std::pair<const char*, QFont> fonts[] = {
      {"window", QFont(QStringLiteral("Arial"))},
      {"application", QApplication::font()},
      {"message box", box.font()},
  };
  QTextStream out(stdout);
  for (const auto& [what, font] : fonts) {
    const QFontInfo info(font);
    out << what << ": " << info.family() << (info.fixedPitch() ? " (fixed pitch)" : "") << "\n";
  }
  return 0;
}
