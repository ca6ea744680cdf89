// report and certificate: the printed parameter report of a parameter file, and the programming
// certificate of the journal's rows, as PDFs drawn by one painter, without a display.

#include <QBuffer>
#include <QByteArray>
#include <QDate>
#include <QGuiApplication>
#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "cli/file_io.h"
#include "cli/print_queue.h"
#include "cli/qt_application.h"
#include "cli/show_format.h"
#include "core/report/certificate.h"
#include "core/report/report_params.h"
#include "core/text/messages.h"
#include "platform/files/safe_file.h"
#include "platform/programming_journal.h"
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
  return std::make_unique<QGuiApplication>(qt_argc(), qt_argv());
}

struct Certificate_options {
  std::string journal, output;
  Certificate_filter filter;
};

void write_certificate(const Certificate_options& o) {
  const auto [path, journal, chain] = read_programming_journal(o.journal);
  refuse_output_over_input(o.output, {path});
  const auto pages = certificate_pages(journal_entries(journal), o.filter, path, chain);
  const auto gui = start_gui();
  QByteArray pdf;
  QBuffer out(&pdf);
  if (!out.open(QIODevice::WriteOnly) ||
      !ui::write_pages_pdf(out, certificate_layout(), pages, ui::report_date(QDate::currentDate()),
                           QStringLiteral("Сертификат программирования радиостанций"))) {
    throw Command_failed(exit_file_error, "certificate: cannot draw the PDF.");
  }
  write_output_or_fail(o.output,
                       std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())));
  if (!chain.intact) {
    std::cerr << path << ": the chain breaks at row " << chain.broken_row
              << "; the certificate says so.\n";
  }
}

}  // namespace

void add_certificate_command(CLI::App& app) {
  auto* cmd = app.add_subcommand(
      "certificate",
      "Write the programming certificate of the journal's rows as a PDF: one A4 page per 30 "
      "rows, in the report's style");
  auto o = std::make_shared<Certificate_options>();
  cmd->add_option("--journal", o->journal,
                  "The journal (default: the user's, $XDG_DATA_HOME/tirna520/journal.csv)")
      ->type_name("JOURNAL.csv");
  cmd->add_option("--since", o->filter.since,
                  "Rows from this time on: YYYY-MM-DD[ HH:MM[:SS]] (a day: from its start)")
      ->type_name("TIME");
  cmd->add_option("--until", o->filter.until,
                  "Rows up to this time: YYYY-MM-DD[ HH:MM[:SS]] (a day: to its end)")
      ->type_name("TIME");
  cmd->add_option("--number", o->filter.numbers, "Only these factory numbers")
      ->type_name("N")
      ->expected(1, -1);
  cmd->add_option("-o,--output", o->output, "The PDF file to write (- for standard output)")
      ->required();
  cmd->footer(
      "The certificate names the files written and their SHA-256, the station and user, each\n"
      "row's factory number, time, command, result and whether its read-back matched, the\n"
      "journal's chain state (as `journal verify` finds it) and the SHA-256 of its last row.\n"
      "Keep that hash: a row removed from the journal's end later shows against it.");
  cmd->callback([o] { write_certificate(*o); });
}

void add_report_command(CLI::App& app) {
  auto* cmd = app.add_subcommand(
      "report",
      "Write the printed parameter report of a parameter file as a PDF (one A4 page), or print it");
  struct Options {
    std::string file;
    std::string output;
    std::string queue;
    CLI::Option* print = nullptr;
  };
  auto options = std::make_shared<Options>();
  cmd->add_option("FILE", options->file, "The parameter file (*.tn5)")->required();
  auto* output = cmd->add_option("-o,--output", options->output,
                                 "The PDF file to write (- for standard output)");
  options->print = cmd->add_option("--print", options->queue,
                                   "Print the page on the printer queue QUEUE of CUPS (without "
                                   "QUEUE: the default printer)")
                       ->expected(0, 1)
                       ->type_name("[QUEUE]");
  cmd->callback([options, output] {
    const bool printing = options->print->count() > 0;
    if (!printing && output->count() == 0) {
      throw Command_failed(exit_usage, "report: give -o FILE, --print [QUEUE] or both");
    }
    std::string queue = options->queue;
    if (printing && queue.empty()) {
      const auto found = default_print_queue();
      if (!found) {
        throw Command_failed(exit_file_error,
                             "report: there is no default printer; name the queue: --print QUEUE "
                             "(lpstat -p lists them)");
      }
      queue = *found;
    }
    // A slip of the pen must not turn the parameter file into a PDF.
    refuse_output_over_input(options->output, {options->file});
    const Workspace ws = open_or_fail(options->file);
    const auto params = report_parameters(fresh_window_view(ws));
    const auto gui = start_gui();
    QByteArray pdf;
    QBuffer out(&pdf);
    if (!out.open(QIODevice::WriteOnly) ||
        !ui::write_report_pdf(out, params, ui::report_date(QDate::currentDate()))) {
      throw Command_failed(exit_file_error, "report: cannot draw the PDF.");
    }
    const std::string_view page(pdf.constData(), static_cast<std::size_t>(pdf.size()));
    if (output->count() > 0) write_output_or_fail(options->output, page);
    if (printing) {
      const Print_result result = print_pdf(queue, "Параметры радиостанции", page);
      if (result.job == 0) {
        throw Command_failed(exit_file_error, "report: printer " + queue + ": " + result.failure);
      }
      std::cerr << "report: printing on " << queue << " (job " << queue << "-" << result.job
                << ")\n";
    }
  });
}

}  // namespace tirna::cli
