#include "core/files/csv_columns.h"

namespace tirna {

std::optional<Csv_column> column_named(std::string_view name) {
  const auto lower = [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  };
  for (const Csv_column_name& c : csv_columns) {
    if (c.name.size() != name.size()) continue;
    bool same = true;
    for (std::size_t i = 0; same && i < name.size(); ++i) same = lower(c.name[i]) == lower(name[i]);
    if (same) return c.column;
  }
  return std::nullopt;
}

}  // namespace tirna
