#include "core/pages/settings.h"

namespace tirna {
namespace {

constexpr int a_timer = 0x2B7, a_warning = 0x2BD, a_repeat = 0x2BE, a_reset = 0x2BF;
constexpr int a_beep_save = 0x2BC, a_squelch = 0x2BB, a_scan_key = 0x2B0, a_priority = 0x2B2;
constexpr int a_priority_period = 0x2B3, a_scan_tx = 0x2B1, a_resume = 0x2B6, a_power = 0x2B4;
constexpr uint8_t beep_bit = 0x20, save_bit = 0x08, scan_mode_bits = 0x18, key_bits = 0xE0;

const std::array<Setting_entry, settings_count> entries = {{
    {201, "Таймер ограничения непрерывной передачи :", "Таймер ограничения непрерывной передачи :",
     a_timer},
    {202, "Таймер выдачи предупреждающего сигнала при передаче :",
     "Таймер выдачи предупреждающего сигнала при передаче :", a_warning},
    {203, "Таймер запрета повторного выхода на предачу :",
     "Таймер запрета повторного выхода на передачу :", a_repeat},
    {204, "Таймер запрета обнуления времени передачи :",
     "Таймер запрета обнуления времени передачи :", a_reset},
    {205, "Звуковая сигнализация :", "Звуковая сигнализация :", a_beep_save},
    {206, "Уровень шумоподавителя :", "Уровень шумоподавителя :", a_squelch},
    {208, "Режим энергосбережения :", "Режим энергосбережения :", a_beep_save},
    {209, "Режим сканирования :", "Режим сканирования :", a_scan_key},
    {210, "Приоритетный канал :", "Приоритетный канал :", a_priority},
    {211, "Период контроля приоритетного канала :", "Период контроля приоритетного канала :",
     a_priority_period},
    {212, "Канал передачи при сканировании :", "Канал передачи при сканировании :", a_scan_tx},
    {213, "Таймер возобновления сканирования после окончания приёма :",
     "Таймер возобновления сканирования после окончания приёма :", a_resume},
    {214, "Кнопка \"ШПД\" :", "Кнопка \"ШПД\" :", a_scan_key},
    {215, "Выбор мощности передачи :", "Выбор мощности передачи :", a_power},
}};

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

std::vector<std::string> make_list_b() {
  auto items = seconds_list(255);
  items[32] = "32 секунд";
  items[245] = "245 секунд ";
  return items;
}

std::vector<std::string> make_list_d() {
  std::vector<std::string> items{"Выключен"};
  for (int n = 1; n <= 15; ++n) items.push_back(std::to_string(n) + " канал");
  return items;
}

// "0,3 секунды" .. "5,0 секунд"; items 1 to 8 spell the unit with a Latin "c".
std::vector<std::string> make_list_e() {
  std::vector<std::string> items = {"0,3 секунды", "0,4 cекунды", "0,5 cекунд",
                                    "0,6 cекунд",  "0,7 cекунд",  "0,8 cекунд",
                                    "0,9 cекунд",  "1,0 cекунды", "1,1 cекунды"};
  for (int tenths = 12; tenths <= 49; ++tenths) {
    items.push_back(std::to_string(tenths / 10) + "," + std::to_string(tenths % 10) + " секунды");
  }
  items.push_back("5,0 секунд");
  return items;
}

const std::vector<std::string>& list(int slot) {
  static const std::array<std::vector<std::string>, settings_count> lists = {{
      {"10 минут", "30 секунд", "60 секунд", "90 секунд", "120 секунд", "150 секунд", "180 секунд",
       "210 секунд", "240 секунд", "270 секунд", "300 секунд", "Выключен"},
      make_list_b(),
      seconds_list(60),
      seconds_list(15),
      {"Выключена", "Включена"},
      {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"},
      {"Выключен", "Включен"},
      {"Выключен", "По несущей", "По времени"},
      make_list_d(),
      make_list_e(),
      {"Последний приёмный канал", "Последний передающий канал",
       "Первый канал в списке сканирования", "Приоритетный канал"},
      {"0,5 секунды", "1,0 секунды", "1,5 секунды", "2,0 секунды", "2,5 секунды", "3,0 секунды",
       "3,5 секунды", "4,0 секунды", "4,5 секунды", "5,0 секунд"},
      {"Выключена", "Временное откл. тонового шумоподавителя",
       "Перекл. режимов тонового шумоподавителя", "Временное откл. шумоподавителя",
       "Перекл. режимов шумоподавителя"},
      {"Выключен", "Кратковременное нажатие (кн.\"ШПД\")", "Продолжительное нажатие (кн.\"ШПД\")"},
  }};
  return lists[slot];
}

const std::vector<std::string>& squelch_short_list() {
  static const std::vector<std::string> items = {
      "Выключена", "Перекл. режимов тонового шумоподавителя", "Перекл. режимов шумоподавителя"};
  return items;
}

int bcd_value(uint8_t b) {
  return 10 * (b >> 4) + (b & 0x0F);
}
uint8_t to_bcd(int v) {
  return static_cast<uint8_t>((v / 10) * 16 + v % 10);
}
int squelch_code(const Param_image& image) {
  return image.byte(a_scan_key) >> 5;
}

std::optional<int> in_list(int index, int slot, Squelch_form form) {
  if (index < 0 || index >= static_cast<int>(setting_items(slot, form).size())) {
    return std::nullopt;
  }
  return index;
}

}  // namespace

const Setting_entry& setting_entry(int slot) {
  return entries[slot];
}

const std::vector<std::string>& setting_items(int slot, Squelch_form form) {
  if (slot == squelch_key_slot && form == Squelch_form::short_form) return squelch_short_list();
  return list(slot);
}

Squelch_form squelch_form_for(const Param_image& image) {
  return image.byte(a_power) == 2 ? Squelch_form::short_form : Squelch_form::long_form;
}

std::optional<int> read_setting(const Param_image& image, int slot) {
  const uint8_t b = image.byte(entries[slot].address);
  const Squelch_form form = squelch_form_for(image);
  int index = -1;
  switch (entries[slot].control) {
    case 201:
      index = b == 0xFF ? 11 : (100 * (b >> 4) + 10 * (b & 0x0F)) / 30;
      break;
    case 202:
      index = b;
      break;
    case 203:
    case 204:
    case 210:
      index = bcd_value(b);
      break;
    case 205:
      index = (b & beep_bit) ? 1 : 0;
      break;
    case 206:
      index = b;
      break;
    case 208:
      index = (b & save_bit) ? 1 : 0;
      break;
    case 209:
      index = (b & scan_mode_bits) >> 3;
      break;
    case 211:
      index = bcd_value(b) - 3;
      break;
    case 212:
      index = (b & 0x0F) - 1;
      break;
    case 213:
      index = bcd_value(b) / 5 - 1;
      break;
    case 214: {
      const int code = squelch_code(image);
      if (form == Squelch_form::long_form) {
        index = code;
      } else {
        index = code % 2 == 0 ? code / 2 : -1;
      }
      break;
    }
    case 215:
      index = b;
      break;
  }
  return in_list(index, slot, form);
}

void write_setting(Param_image& image, int slot, int i) {
  const int addr = entries[slot].address;
  switch (entries[slot].control) {
    case 201:
      image.set_byte(addr, i == 11 ? 0xFF : to_bcd(3 * i));
      break;
    case 202:
    case 206:
    case 215:
      image.set_byte(addr, static_cast<uint8_t>(i));
      break;
    case 203:
    case 204:
    case 210:
      image.set_byte(addr, to_bcd(i));
      break;
    case 205:
      image.set_bits(addr, beep_bit, i ? beep_bit : 0);
      break;
    case 208:
      image.set_bits(addr, save_bit, i ? save_bit : 0);
      break;
    case 209:
      image.set_bits(addr, scan_mode_bits, static_cast<uint8_t>(i << 3));
      break;
    case 211:
      image.set_byte(addr, to_bcd(i + 3));
      break;
    case 212:
      image.set_bits(addr, 0x0F, static_cast<uint8_t>(i + 1));
      break;
    case 213:
      image.set_byte(addr, to_bcd(5 * (i + 1)));
      break;
    case 214:
      squelch_key_change(image, i);
      break;
  }
}

void squelch_key_change(Param_image& image, int item) {
  int code = item;
  if (squelch_form_for(image) == Squelch_form::short_form) code = 2 * item;
  image.set_bits(a_scan_key, key_bits, static_cast<uint8_t>(code << 5));
}

Power_change_result power_select_change(Param_image& image, Squelch_form shown_form,
                                        std::optional<int> k, int p) {
  image.set_byte(a_power, static_cast<uint8_t>(p));
  Power_change_result result{shown_form, k};
  if (p == 2) {
    result.form = Squelch_form::short_form;
    if (shown_form == Squelch_form::long_form && k) {
      static constexpr int long_to_short[] = {0, 0, 1, 0, 2};
      result.squelch_item =
          *k >= 0 && *k <= 4 ? std::optional<int>(long_to_short[*k]) : std::nullopt;
    }
  } else if (p == 0 || p == 1) {
    result.form = Squelch_form::long_form;
    if (shown_form == Squelch_form::short_form && k) {
      static constexpr int short_to_long[] = {0, 2, 4};
      result.squelch_item =
          *k >= 0 && *k <= 2 ? std::optional<int>(short_to_long[*k]) : std::nullopt;
    }
  }
  if (result.squelch_item) squelch_key_change(image, *result.squelch_item);
  return result;
}

std::string setting_text(int slot, Squelch_form form, std::optional<int> item) {
  if (!item) return "";
  const auto& items = setting_items(slot, form);
  if (*item < 0 || *item >= static_cast<int>(items.size())) return "";
  return items[*item];
}

}  // namespace tirna
