// report: the printed parameter report of a parameter file, as a PDF, without a display.

#include <QBuffer>
#include <QByteArray>
#include <QDate>
#include <QGuiApplication>
#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "cli/file_io.h"
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
    // A slip of the pen must not turn the parameter file into a PDF.
    refuse_output_over_input(options->output, {options->file});
    const Workspace ws = open_or_fail(options->file);
    const auto params = report_parameters(fresh_window_view(ws));
    const auto gui = start_gui();
    QByteArray pdf;
    QBuffer out(&pdf);
    if (!out.open(QIODevice::WriteOnly) ||
        !ui::write_report_pdf(out, params, ui::report_date(QDate::currentDate()))) {
      throw Command_failed(exit_file_error, options->output + ": cannot draw the PDF.");
    }
    write_output_or_fail(options->output, std::string_view(pdf.constData(), pdf.size()));
  });
}

}  // namespace tirna::cli
