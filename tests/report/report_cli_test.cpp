// tirna520-cli report: the same page for a parameter file, without a display and without Qt
// Widgets.

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "report_test_support.h"

namespace tirna {
namespace {

const QString cli = QStringLiteral(TIRNA_CLI);
// No display and no platform chosen: the command must choose one that needs no display.
const QStringList headless = {QStringLiteral("DISPLAY"), QStringLiteral("WAYLAND_DISPLAY"),
                              QStringLiteral("QT_QPA_PLATFORM")};

TEST(ReportCommand, WritesThePageOfAFileWithoutADisplay) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("radio.tn5"));
  const QString pdf = dir.filePath(QStringLiteral("radio.pdf"));
  ASSERT_EQ(test::run_program(cli, {QStringLiteral("new"), QStringLiteral("--band"),
                                    QStringLiteral("1"), QStringLiteral("-o"), file}),
            0);
  QString output;
  ASSERT_EQ(test::run_program(cli, {QStringLiteral("report"), file, QStringLiteral("-o"), pdf},
                              &output, headless),
            0)
      << output.toStdString();
  EXPECT_TRUE(output.isEmpty()) << output.toStdString();
  const QString text = test::pdf_text(pdf, {QStringLiteral("-layout")});
  EXPECT_TRUE(text.contains(QStringLiteral("450МГц - 470МГц (П45)")));
  EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("\\n\\s*16\\s+460,000000"))))
      << text.toStdString();
  EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("\\d+ [а-я]+ \\d{4} г\\."))));
}

TEST(ReportCommand, FileErrorsEndWithStatus3AndLeaveNoOutput) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("radio.pdf"));
  QString output;
  EXPECT_EQ(test::run_program(cli,
                              {QStringLiteral("report"), dir.filePath(QStringLiteral("none.tn5")),
                               QStringLiteral("-o"), pdf},
                              &output, headless),
            3);
  EXPECT_TRUE(output.contains(QStringLiteral("File not found."))) << output.toStdString();
  EXPECT_FALSE(QFile::exists(pdf));

  const QString file = dir.filePath(QStringLiteral("radio.tn5"));
  ASSERT_EQ(test::run_program(cli, {QStringLiteral("new"), QStringLiteral("-o"), file}), 0);
  const QString unwritable = dir.filePath(QStringLiteral("no/such/folder/radio.pdf"));
  EXPECT_EQ(
      test::run_program(cli, {QStringLiteral("report"), file, QStringLiteral("-o"), unwritable},
                        &output, headless),
      3);
  EXPECT_TRUE(output.startsWith(unwritable + QStringLiteral(": "))) << output.toStdString();
}

TEST(ReportCommand, UsageErrorsEndWithStatus2) {
  EXPECT_EQ(test::run_program(cli, {QStringLiteral("report"), QStringLiteral("x.tn5")}), 2);
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("radio.tn5"));
  ASSERT_EQ(test::run_program(cli, {QStringLiteral("new"), QStringLiteral("-o"), file}), 0);
  QFile original(file);
  ASSERT_TRUE(original.open(QIODevice::ReadOnly));
  const QByteArray bytes = original.readAll();
  EXPECT_EQ(test::run_program(cli, {QStringLiteral("report"), file, QStringLiteral("-o"), file}),
            2);
  QFile after(file);
  ASSERT_TRUE(after.open(QIODevice::ReadOnly));
  EXPECT_EQ(after.readAll(), bytes);
}

TEST(ReportCommand, DoesNotLinkQtWidgets) {
  QString output;
  ASSERT_EQ(test::run_program(QStringLiteral("ldd"), {cli}, &output), 0);
  EXPECT_TRUE(output.contains(QStringLiteral("libQt6Gui")));
  EXPECT_FALSE(output.contains(QStringLiteral("libQt6Widgets"))) << output.toStdString();
}

}  // namespace
}  // namespace tirna
