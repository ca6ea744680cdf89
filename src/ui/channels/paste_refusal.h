#pragma once
// Why the table's Paste refused its rows, in the window's words: Russian with the decimal comma.
// The columns are named as the pasted table names them (the user sees those names there).

#include <QString>
#include <QStringList>

#include "core/files/channel_csv.h"

class QWidget;

namespace tirna {

// "Строка 2, Frequency «460,000000»: частота вне диапазона 146,000000 - 174,000000 МГц".
QString paste_refusal_text(const Csv_problem& problem);

// The box that says a paste changed nothing and why.
void show_paste_refused(QWidget* parent, const Csv_import_result& refused);

}  // namespace tirna
