#pragma once
// Why the table's Paste refused its rows, in the window's words: Russian with the decimal comma.
// The columns are named as the pasted table names them (the user sees those names there).

#include <QString>
#include <QStringList>
#include <cstddef>

#include "core/files/channel_csv.h"

class QWidget;

namespace tirna {

// "Строка 2, Frequency «460,000000»: частота вне диапазона 146,000000 - 174,000000 МГц".
QString paste_refusal_text(const Csv_problem& problem);

// The most reasons of a refused paste that the window lists; the others it counts. A table's
// reasons are far fewer; a clipboard of a hundred thousand lines would have as many.
inline constexpr std::size_t paste_reasons_listed = 1000;

// The box that says a paste changed nothing and why: the first reasons, and all that were listed
// behind "Подробнее".
void show_paste_refused(QWidget* parent, const Csv_import_result& refused);

// A clipboard larger than a table file may be is not read as a table.
void show_paste_too_large(QWidget* parent);

}  // namespace tirna
