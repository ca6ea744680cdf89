#include "core/report/certificate.h"

#include <algorithm>
#include <set>

#include "core/fleet/fleet_journal.h"

namespace tirna {
namespace {

constexpr double page_width = 210.0 / 25.4;
constexpr double page_height = 297.0 / 25.4;
constexpr double rule_left = 0.7, rule_right = 7.8, right_limit = 7.9;
constexpr double rows_top = 3.15, row_step = 0.25;

Report_text text(double left, double top, double right, double pt, bool bold, Report_field field,
                 std::string content) {
  return report_text_at(left, top, right, pt, bold, field, std::move(content));
}

Report_text fixed(double left, double top, double right, double pt, bool bold, std::string s) {
  return text(left, top, right, pt, bold, Report_field::fixed, std::move(s));
}

Report_text named(double left, double top, double right, double pt, std::string name) {
  return text(left, top, right, pt, false, Report_field::parameter, std::move(name));
}

// The row columns: caption, the parameter's name (before the row number), left edge.
struct Column {
  const char* caption;
  const char* name;
  double left;
};
constexpr Column columns[] = {
    {"№", "n", 0.8},
    {"Заводской №", "number", 1.2},
    {"Время", "time", 2.2},
    {"Команда", "command", 3.55},
    {"Результат", "result", 4.75},
    {"Проверка чтением", "check", 6.45},
};

// The identification block: caption and parameter, one line each, under the files.
struct Line {
  const char* caption;
  const char* name;
};
constexpr Line lines[] = {
    {"Станция :", "station"},       {"Пользователь :", "user"},
    {"Период :", "period"},         {"Журнал :", "journal"},
    {"Цепочка журнала :", "chain"}, {"SHA-256 последней строки :", "last_row"},
};

Report_layout make_layout() {
  Report_layout l;
  l.page_width = page_width;
  l.page_height = page_height;
  l.line_width_pt = 1;
  l.font_family = "Arial";
  auto& t = l.texts;
  t.push_back(text(0.8, 0.2, 7.0, 8, false, Report_field::organisation, ""));
  t.push_back(fixed(7.0, 0.2, right_limit, 8, false, "ПО Тирна-520"));
  l.lines.push_back({rule_left, 0.4, rule_right, 0.4});
  t.push_back(fixed(1.75, 0.55, right_limit, 14, true, "Сертификат программирования радиостанций"));

  t.push_back(fixed(0.8, 1.0, 2.6, 8, true, "Файлы и SHA-256 :"));
  Report_text files = named(2.6, 1.0, right_limit, 8, "files");
  files.height = 0.5;
  files.multi_line = true;
  t.push_back(files);
  double top = 1.55;
  for (const Line& line : lines) {
    t.push_back(fixed(0.8, top, 2.6, 8, true, line.caption));
    t.push_back(named(2.6, top, right_limit, 8, line.name));
    top += 0.2;
  }

  const double head = rows_top - 0.3;
  for (std::size_t c = 0; c < std::size(columns); ++c) {
    const double right = c + 1 < std::size(columns) ? columns[c + 1].left : right_limit;
    t.push_back(fixed(columns[c].left, head, right, 8, true, columns[c].caption));
  }
  l.lines.push_back({rule_left, rows_top - 0.08, rule_right, rows_top - 0.08});
  for (int r = 1; r <= certificate_rows_per_page; ++r) {
    const double row_top = rows_top + row_step * (r - 1);
    for (std::size_t c = 0; c < std::size(columns); ++c) {
      const double right = c + 1 < std::size(columns) ? columns[c + 1].left : right_limit;
      t.push_back(named(columns[c].left, row_top, right, 8,
                        std::string(columns[c].name) + std::to_string(r)));
    }
  }

  l.lines.push_back({rule_left, 11.3, rule_right, 11.3});
  t.push_back(named(0.8, 11.3, 3.0, 8, "page"));
  t.push_back(text(6.9, 11.3, 8.1, 8, false, Report_field::print_date, ""));
  return l;
}

// The journal's result in the certificate's words.
std::string result_words(const std::string& result) {
  static const std::pair<Radio_result, const char*> words[] = {
      {Radio_result::done, "записано"},
      {Radio_result::already_done, "записано ранее"},
      {Radio_result::read_failed, "не считана"},
      {Radio_result::band_refused, "другой диапазон"},
      {Radio_result::backup_failed, "копия не сохранена"},
      {Radio_result::write_failed, "запись не удалась"},
      {Radio_result::text_failed, "текст не записан"},
      {Radio_result::readback_differs, "записано с ошибкой"},
      {Radio_result::readback_failed, "проверка не удалась"},
      {Radio_result::stopped, "прервано"},
      {Radio_result::matches, "совпадает с файлом"},
      {Radio_result::differs, "отличается от файла"},
  };
  for (const auto& [r, w] : words) {
    if (result == result_text(r)) return w;
  }
  return result;
}

std::string readback_words(const Journal_entry& e) {
  const std::string& result = e.cell("result");
  if (result == result_text(Radio_result::readback_differs) ||
      result == result_text(Radio_result::differs)) {
    return "не совпадает";
  }
  if (e.cell("readback_sha256").empty()) return "не проводилась";
  return result == result_text(Radio_result::done) || result == result_text(Radio_result::matches)
             ? "совпадает"
             : "—";
}

std::string joined(const std::set<std::string>& items, const char* between) {
  std::string out;
  for (const auto& item : items) out += (out.empty() ? "" : between) + item;
  return out.empty() ? "—" : out;
}

}  // namespace

bool Certificate_filter::takes(const Journal_entry& row) const {
  const std::string& time = row.cell("time");
  if (!since.empty() && time.substr(0, since.size()) < since) return false;
  if (!until.empty() && time.substr(0, until.size()) > until) return false;
  return numbers.empty() ||
         std::find(numbers.begin(), numbers.end(), row.cell("factory_number")) != numbers.end();
}

const Report_layout& certificate_layout() {
  static const Report_layout layout = make_layout();
  return layout;
}

std::vector<std::vector<Report_parameter>> certificate_pages(const std::vector<Journal_entry>& rows,
                                                             const Certificate_filter& filter,
                                                             const std::string& journal_name,
                                                             const Chain_verdict& chain) {
  std::vector<const Journal_entry*> taken;
  std::set<std::string> files, stations, users;
  for (const Journal_entry& e : rows) {
    if (!filter.takes(e)) continue;
    taken.push_back(&e);
    if (!e.cell("file").empty()) {
      files.insert(e.cell("file") + "  " +
                   (e.cell("file_sha256").empty() ? "(SHA-256 нет)" : e.cell("file_sha256")));
    }
    if (!e.cell("station").empty()) stations.insert(e.cell("station"));
    if (!e.cell("user").empty()) users.insert(e.cell("user"));
  }
  std::string period = "все записи";
  if (!filter.since.empty() || !filter.until.empty()) {
    period = (filter.since.empty() ? "" : "с " + filter.since) +
             (filter.since.empty() || filter.until.empty() ? "" : " ") +
             (filter.until.empty() ? "" : "по " + filter.until);
  }
  if (taken.empty()) period += " (записей нет)";
  const std::string chain_text =
      chain.intact ? "цела, строк: " + std::to_string(chain.rows)
                   : "НАРУШЕНА в строке " + std::to_string(chain.broken_row) + " (строка файла " +
                         std::to_string(chain.broken_line) + ")";
  const std::vector<Report_parameter> common = {
      {"files", joined(files, "\n")},
      {"station", joined(stations, ", ")},
      {"user", joined(users, ", ")},
      {"period", period},
      {"journal", journal_name},
      {"chain", chain_text},
      {"last_row", chain.intact ? chain.last_row_sha256 : "—"},
  };
  const std::size_t page_count = std::max<std::size_t>(
      1, (taken.size() + certificate_rows_per_page - 1) / certificate_rows_per_page);
  std::vector<std::vector<Report_parameter>> pages;
  for (std::size_t p = 0; p < page_count; ++p) {
    std::vector<Report_parameter> params = common;
    params.push_back(
        {"page", "Лист " + std::to_string(p + 1) + " из " + std::to_string(page_count)});
    for (int r = 1; r <= certificate_rows_per_page; ++r) {
      const std::size_t i = p * certificate_rows_per_page + static_cast<std::size_t>(r - 1);
      if (i >= taken.size()) break;
      const Journal_entry& e = *taken[i];
      const std::string suffix = std::to_string(r);
      params.push_back({"n" + suffix, std::to_string(i + 1)});
      params.push_back(
          {"number" + suffix, e.cell("factory_number").empty() ? "—" : e.cell("factory_number")});
      params.push_back({"time" + suffix, e.cell("time")});
      params.push_back({"command" + suffix, e.cell("command")});
      params.push_back({"result" + suffix, result_words(e.cell("result"))});
      params.push_back({"check" + suffix, readback_words(e)});
    }
    pages.push_back(std::move(params));
  }
  return pages;
}

}  // namespace tirna
