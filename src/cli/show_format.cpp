#include "cli/show_format.h"

#include <nlohmann/json.hpp>
#include <sstream>

#include "core/image/frequency.h"
#include "core/report/report_params.h"
#include "core/text/format.h"

namespace tirna::cli {
Window_view fresh_window_view(const Workspace& ws) {
  Window_view view;
  print_wind_blok(view, ws.image, ws.state);
  return view;
}

std::string show_listing(const Workspace& ws, const Window_view& view) {
  std::ostringstream out;
  out << "Частотный диапазон радиостанции : " << band_text(view.band_selector) << '\n'
      << "Версия кодировки частот : " << static_cast<int>(ws.state.coding_version)
      << (is_new_coding(ws.state.coding_version) ? " (шаг 12,5 кГц)" : " (шаг 5 / 6,25 кГц)")
      << "\n\n";

  out << "Параметры каналов\n";
  static constexpr const char* headers[] = {"Кан",
                                            "Выкл",
                                            "Зпрд",
                                            "Частота приема",
                                            "Субтон приема",
                                            "Частота передачи",
                                            "Субтон передачи",
                                            "Мощность",
                                            "Ширина",
                                            "Скан.",
                                            "Запрет на занятом"};
  static constexpr std::size_t widths[] = {4, 5, 5, 15, 14, 17, 16, 11, 11, 11, 0};
  for (std::size_t i = 0; i < std::size(headers); ++i) out << padded(headers[i], widths[i]);
  out << '\n';
  for (int n = 1; n <= channel_count; ++n) {
    const Channel_row_view& row = view.rows[n - 1];
    std::string line = padded(row.cells[0], widths[0]) +
                       padded(row.off_ticked ? "  V" : "", widths[1]) +
                       padded(row.tx_inhibit_ticked ? "  V" : "", widths[2]);
    for (int c = 1; c < table_columns; ++c) line += padded(row.cells[c], widths[c + 2]);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << '\n';
  }

  out << "\nОсновные настройки радиостанции\n";
  for (int slot = 0; slot < settings_count; ++slot) {
    out << padded(setting_entry(slot).report_caption, 62) << view.settings.text(slot) << '\n';
  }

  out << "\nДополнительные данные\n"
      << "Модель : " << view.extra.model << '\n'
      << "Заводской № : " << view.extra.factory_number << '\n'
      << "Время последнего программирования : " << view.extra.time << '\n'
      << "Дополнительная информация :\n";
  if (!view.extra.free_text.empty()) out << view.extra.free_text << '\n';
  return out.str();
}

std::string show_json(const Workspace& ws, const Window_view& view) {
  nlohmann::ordered_json json;
  for (const auto& p : report_parameters(view)) json[p.name] = p.text;
  json["band_index"] = ws.state.band_index;
  json["coding_version"] = ws.state.coding_version;
  json["time"] = view.extra.time;
  return json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

}  // namespace tirna::cli
