// report: the printed parameter report of a parameter file, as a PDF, without a display.

#include <QByteArray>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "cli/show_format.h"
#include "core/report/report_params.h"
#include "core/text/messages.h"
#include "ui/report/report_painter.h"

namespace tirna::cli {
namespace {

// Fonts and painting need a QGuiApplication; without a platform chosen, the offscreen one needs
// no display.
std::unique_ptr<QGuiApplication> start_gui() {
  // Qt's own warnings (a missing runtime folder and the like) say nothing about the report.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << message.toStdString() << '\n';
  });
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "tirna520-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

void add_report_command(CLI::App& app) {
  auto* cmd = app.add_subcommand(
      "report", "Write the printed parameter report of a parameter file as a PDF (one A4 page)");
  struct Options {
    std::string file;
    std::string output;
  };
  auto options = std::make_shared<Options>();
  cmd->add_option("FILE", options->file, "The parameter file (*.tn5)")->required();
  cmd->add_option("-o,--output", options->output, "The PDF file to write")->required();
  cmd->callback([options] {
    const QString output = QFile::decodeName(QByteArray::fromStdString(options->output));
    // A slip of the pen must not turn the parameter file into a PDF.
    if (QFileInfo(output).exists() &&
        QFileInfo(output).canonicalFilePath() ==
            QFileInfo(QFile::decodeName(QByteArray::fromStdString(options->file)))
                .canonicalFilePath()) {
      throw Command_failed(exit_usage,
                           options->output + ": the report would overwrite the parameter file");
    }
    const Workspace ws = open_or_fail(options->file);
    const auto params = report_parameters(fresh_window_view(ws));
    const auto gui = start_gui();
    QSaveFile out(output);
    if (!out.open(QIODevice::WriteOnly) ||
        !ui::write_report_pdf(out, params, ui::report_date(QDate::currentDate())) ||
        !out.commit()) {
      const std::string reason = out.errorString().toStdString();
      throw Command_failed(exit_file_error,
                           options->output + ": " +
                               with_full_stop(reason.empty() ? "cannot write the PDF" : reason));
    }
  });
}

}  // namespace tirna::cli
