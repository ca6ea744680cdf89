#include "core/catalogue/catalogue.h"

namespace tirna {
namespace {

// Unit-word rule: "секунда" after 1 (not 11), "секунды" after 2-4 (not 12-14), else "секунд".
std::string seconds_word(int n) {
  if (n % 10 == 1 && n % 100 != 11) return "секунда";
  if (n % 10 >= 2 && n % 10 <= 4 && (n % 100 < 12 || n % 100 > 14)) return "секунды";
  return "секунд";
}

std::vector<std::string> seconds_list(int last) {
  std::vector<std::string> items{"Выключен"};
  for (int n = 1; n <= last; ++n) items.push_back(std::to_string(n) + " " + seconds_word(n));
  return items;
}

}  // namespace

const std::vector<std::string>& transmit_timer_items() {
  static const std::vector<std::string> items = {
      "10 минут",   "30 секунд",  "60 секунд",  "90 секунд",  "120 секунд", "150 секунд",
      "180 секунд", "210 секунд", "240 секунд", "270 секунд", "300 секунд", "Выключен"};
  return items;
}

// Two exceptions to the unit-word rule: "32 секунд" and "245 секунд " (a trailing blank).
const std::vector<std::string>& warning_timer_items() {
  static const std::vector<std::string> items = [] {
    auto list = seconds_list(255);
    list[32] = "32 секунд";
    list[245] = "245 секунд ";
    return list;
  }();
  return items;
}

const std::vector<std::string>& repeat_timer_items() {
  static const std::vector<std::string> items = seconds_list(60);
  return items;
}

const std::vector<std::string>& reset_timer_items() {
  static const std::vector<std::string> items = seconds_list(15);
  return items;
}

const std::vector<std::string>& beep_items() {
  static const std::vector<std::string> items = {"Выключена", "Включена"};
  return items;
}

const std::vector<std::string>& squelch_level_items() {
  static const std::vector<std::string> items = {"0", "1", "2", "3", "4",
                                                 "5", "6", "7", "8", "9"};
  return items;
}

const std::vector<std::string>& power_save_items() {
  static const std::vector<std::string> items = {"Выключен", "Включен"};
  return items;
}

const std::vector<std::string>& scan_mode_items() {
  static const std::vector<std::string> items = {"Выключен", "По несущей", "По времени"};
  return items;
}

const std::vector<std::string>& priority_channel_items() {
  static const std::vector<std::string> items = [] {
    std::vector<std::string> list{"Выключен"};
    for (int n = 1; n <= 15; ++n) list.push_back(std::to_string(n) + " канал");
    return list;
  }();
  return items;
}

// "0,3 секунды" .. "5,0 секунд"; items 1 to 8 spell the unit with a Latin "c".
const std::vector<std::string>& priority_period_items() {
  static const std::vector<std::string> items = [] {
    std::vector<std::string> list = {"0,3 секунды", "0,4 cекунды", "0,5 cекунд",
                                     "0,6 cекунд",  "0,7 cекунд",  "0,8 cекунд",
                                     "0,9 cекунд",  "1,0 cекунды", "1,1 cекунды"};
    for (int tenths = 12; tenths <= 49; ++tenths) {
      list.push_back(std::to_string(tenths / 10) + "," + std::to_string(tenths % 10) +
                     " секунды");
    }
    list.push_back("5,0 секунд");
    return list;
  }();
  return items;
}

const std::vector<std::string>& scan_tx_channel_items() {
  static const std::vector<std::string> items = {
      "Последний приёмный канал", "Последний передающий канал",
      "Первый канал в списке сканирования", "Приоритетный канал"};
  return items;
}

const std::vector<std::string>& scan_resume_items() {
  static const std::vector<std::string> items = {
      "0,5 секунды", "1,0 секунды", "1,5 секунды", "2,0 секунды", "2,5 секунды",
      "3,0 секунды", "3,5 секунды", "4,0 секунды", "4,5 секунды", "5,0 секунд"};
  return items;
}

const std::vector<std::string>& squelch_key_items() {
  static const std::vector<std::string> items = {
      "Выключена", "Временное откл. тонового шумоподавителя",
      "Перекл. режимов тонового шумоподавителя", "Временное откл. шумоподавителя",
      "Перекл. режимов шумоподавителя"};
  return items;
}

const std::vector<std::string>& squelch_key_short_items() {
  static const std::vector<std::string> items = {
      "Выключена", "Перекл. режимов тонового шумоподавителя", "Перекл. режимов шумоподавителя"};
  return items;
}

const std::vector<std::string>& power_select_items() {
  static const std::vector<std::string> items = {
      "Выключен", "Кратковременное нажатие (кн.\"ШПД\")", "Продолжительное нажатие (кн.\"ШПД\")"};
  return items;
}

const Parameter& setting_entry(int slot) {
  static const std::vector<const Parameter*> settings = [] {
    std::vector<const Parameter*> list;
    for (const Parameter& p : catalogue) {
      if (p.kind == Parameter_kind::setting) list.push_back(&p);
    }
    return list;
  }();
  return *settings.at(static_cast<std::size_t>(slot));
}

const std::vector<const Parameter*>& channel_parameters() {
  static const std::vector<const Parameter*> list = [] {
    std::vector<const Parameter*> out;
    for (const Parameter& p : catalogue) {
      if (p.kind == Parameter_kind::channel_box || p.kind == Parameter_kind::channel_cell) {
        out.push_back(&p);
      }
    }
    return out;
  }();
  return list;
}

const Parameter* parameter_named(std::string_view stem) {
  for (const Parameter& p : catalogue) {
    if (p.name == stem) return &p;
  }
  return nullptr;
}

}  // namespace tirna
