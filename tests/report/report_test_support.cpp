#include "report_test_support.h"

#include <QProcess>
#include <QProcessEnvironment>

#include "core/channels/channel_edits.h"
#include "core/image/workspace.h"

namespace tirna::test {

std::vector<Report_parameter> start_up_parameters() {
  const Workspace ws = start_up_workspace();
  Window_view view;
  print_wind_blok(view, ws.image, ws.state);
  return report_parameters(view);
}

std::vector<Report_parameter> channel3_off_parameters() {
  Workspace ws = start_up_workspace();
  toggle_channel_off(ws.image, 3, true);
  Window_view view;
  print_wind_blok(view, ws.image, ws.state);
  return report_parameters(view, edited_memo.toStdString());
}

int run_program(const QString& program, const QStringList& args, QString* output,
                const QStringList& environment_changes) {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const QString& change : environment_changes) {
    const qsizetype eq = change.indexOf(u'=');
    if (eq < 0) {
      env.remove(change);
    } else {
      env.insert(change.left(eq), change.mid(eq + 1));
    }
  }
  process.setProcessEnvironment(env);
  process.start(program, args);
  if (!process.waitForFinished(60000)) {
    process.kill();
    process.waitForFinished(5000);
    return -1;
  }
  if (output != nullptr) {
    *output = QString::fromUtf8(process.readAllStandardOutput()) +
              QString::fromUtf8(process.readAllStandardError());
  }
  return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QString pdf_text(const QString& pdf_path, const QStringList& options) {
  QProcess process;
  process.start(QStringLiteral(PDFTOTEXT), QStringList(options) << pdf_path << QStringLiteral("-"));
  if (!process.waitForFinished(60000)) {
    process.kill();
    process.waitForFinished(5000);
    return {};
  }
  return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace tirna::test
