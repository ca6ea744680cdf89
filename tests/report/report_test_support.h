#pragma once
// Report parameters of the images the report tests print, and poppler's view of a PDF.

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "core/report/report_params.h"

namespace tirna::test {

// The window right after start-up.
std::vector<Report_parameter> start_up_parameters();
// Channel 3 switched off and the free-text box edited to "Бригада 7", "смена" (not written).
std::vector<Report_parameter> channel3_off_parameters();
inline const QString edited_memo = QStringLiteral("Бригада 7\nсмена");

// pdftotext with the given options (e.g. "-layout", "-bbox"), the text as UTF-8.
QString pdf_text(const QString& pdf_path, const QStringList& options);

// Runs a program to its end (at most 60 s); returns its exit code, -1 when it did not finish.
int run_program(const QString& program, const QStringList& args, QString* output = nullptr,
                const QStringList& environment_changes = {});

}  // namespace tirna::test
