#pragma once
// The catalogue of parameters: one table whose rows are what the window shows and edits by name,
// what the printed report prints and what `tirna520-cli set` and `show --json` name. Each row
// says what the parameter is (an identification label, one of the ten parameters of every
// channel, the free text, a general setting), its captions on its page and on the report, where
// it lives (the channel table's column or box, the settings byte and its codec and items) and
// where the report prints it. The report's names, order and count, the settings page's lists and
// widths, and the names `set` takes all follow from this table: adding a setting is adding a row
// (and naming its byte in mem::).

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/image/channel_record.h"
#include "core/image/param_image.h"

namespace tirna {

enum class Parameter_kind {
  model,           // the model label of the additional-data page
  factory_number,  // its factory-number label
  band,            // the shown item of the band list
  channel_box,     // a box of a channel's row: "V" when ticked
  channel_cell,    // a cell of a channel's row in the table
  free_text,       // the free-text box
  setting,         // a list of the general-settings page
};

// How a setting's item is held in its byte (the other bits of the byte are never changed).
struct Setting_codec {
  enum Kind {
    bits,          // item + offset in the bits of mask
    bcd,           // the byte as two BCD digits is scale x (item + offset)
    squelch_key,   // bits 7-5: the code of the squelch key's list in its long or short form
    power_select,  // the whole byte; its pick also rewrites the squelch-key list (linkage)
  };
  Kind kind = bits;
  uint8_t mask = 0xFF;
  int scale = 1;
  int offset = 0;
  int off_byte = -1;  // bcd: a byte that stands for the last item ("Выключен"); -1 for none
};

using Item_list = const std::vector<std::string>& (*)();

struct Parameter {
  Parameter_kind kind;
  std::string_view name;            // report name; for channel parameters the part before N
  std::string_view caption;         // as its page shows it
  std::string_view report_caption;  // as the printed report shows it
  int page = 0;                     // 0 channels, 1 general settings, 2 additional data
  // channel_box: 0 the "Канал выключен" box, 1 the "Запрет передачи" box; channel_cell: the
  // table column 1..8. Channel parameters: the line of the page's staggered captions (0 = top)
  // and the left edge of the report's column in inches.
  int column = 0;
  int caption_line = 0;
  double report_left = 0;
  // setting: ComboBox number, its byte, codec, items and width on the page in pixels.
  int control = 0;
  int address = 0;
  Setting_codec codec{};
  Item_list items = nullptr;
  int list_width = 0;
};

// The item lists of the settings (texts exact, as the lists show them).
const std::vector<std::string>& transmit_timer_items();     // A
const std::vector<std::string>& warning_timer_items();      // B
const std::vector<std::string>& repeat_timer_items();       // C, 1 to 60 s
const std::vector<std::string>& reset_timer_items();        // C, 1 to 15 s
const std::vector<std::string>& beep_items();
const std::vector<std::string>& squelch_level_items();
const std::vector<std::string>& power_save_items();
const std::vector<std::string>& scan_mode_items();
const std::vector<std::string>& priority_channel_items();   // D
const std::vector<std::string>& priority_period_items();    // E
const std::vector<std::string>& scan_tx_channel_items();    // F
const std::vector<std::string>& scan_resume_items();        // G
const std::vector<std::string>& squelch_key_items();        // H, long form
const std::vector<std::string>& squelch_key_short_items();  // H, short form
const std::vector<std::string>& power_select_items();       // J

namespace catalogue_rows {
using K = Parameter_kind;
using C = Setting_codec;
inline constexpr std::array<Parameter, 28> rows = {{
    {.kind = K::model, .name = "model", .caption = "Модель :", .report_caption = "Модель :",
     .page = 2},
    {.kind = K::factory_number, .name = "nomer", .caption = "Заводской № :",
     .report_caption = "Заводской № :", .page = 2},
    {.kind = K::band, .name = "frq", .caption = "Частотный диапазон радиостанции :",
     .report_caption = "Частотный диапазон :", .page = -1},

    {.kind = K::channel_box, .name = "no_kan", .caption = "Канал выключен",
     .report_caption = "Канал выключен", .column = 0, .caption_line = 0, .report_left = 1.2},
    {.kind = K::channel_box, .name = "no_tx", .caption = "Запрет передачи",
     .report_caption = "Запрет передачи", .column = 1, .caption_line = 1, .report_left = 1.5},
    {.kind = K::channel_cell, .name = "f_rx", .caption = "Частота приема (МГц)",
     .report_caption = "Частота прм (МГц)", .column = 1, .caption_line = 2, .report_left = 1.7},
    {.kind = K::channel_cell, .name = "st_rx", .caption = "Субтон приема",
     .report_caption = "Субтон прм", .column = 2, .caption_line = 3, .report_left = 2.44},
    {.kind = K::channel_cell, .name = "f_tx", .caption = "Частота передачи (МГц)",
     .report_caption = "Частота прд (МГц)", .column = 3, .caption_line = 2, .report_left = 3.1},
    {.kind = K::channel_cell, .name = "st_tx", .caption = "Субтон передачи",
     .report_caption = "Субтон прд", .column = 4, .caption_line = 3, .report_left = 3.85},
    {.kind = K::channel_cell, .name = "pow", .caption = "Мощность передачи",
     .report_caption = "Мощность передачи", .column = 5, .caption_line = 1, .report_left = 4.6},
    {.kind = K::channel_cell, .name = "band", .caption = "Ширина канала",
     .report_caption = "Ширина канала", .column = 6, .caption_line = 2, .report_left = 5.3},
    {.kind = K::channel_cell, .name = "skan", .caption = "Сканирование",
     .report_caption = "Сканирование", .column = 7, .caption_line = 3, .report_left = 5.9},
    {.kind = K::channel_cell, .name = "busy", .caption = "Запрет передачи на занятом канале",
     .report_caption = "Запрет передачи на занятом канале", .column = 8, .caption_line = 0,
     .report_left = 6.9},

    {.kind = K::free_text, .name = "memo1", .caption = "Дополнительная информация :",
     .report_caption = "Дополнительная информация", .page = 2},

    {.kind = K::setting, .name = "osn1", .caption = "Таймер ограничения непрерывной передачи :",
     .report_caption = "Таймер ограничения непрерывной передачи :", .page = 1, .control = 201,
     .address = mem::transmit_timer, .codec = {.kind = C::bcd, .scale = 3, .off_byte = 0xFF},
     .items = transmit_timer_items, .list_width = 96},
    {.kind = K::setting, .name = "osn2",
     .caption = "Таймер выдачи предупреждающего сигнала при передаче :",
     .report_caption = "Таймер выдачи предупреждающего сигнала при передаче :", .page = 1,
     .control = 202, .address = mem::warning_timer, .codec = {}, .items = warning_timer_items,
     .list_width = 96},
    // The page misspells "передачу" as "предачу"; the report does not.
    {.kind = K::setting, .name = "osn3", .caption = "Таймер запрета повторного выхода на предачу :",
     .report_caption = "Таймер запрета повторного выхода на передачу :", .page = 1,
     .control = 203, .address = mem::repeat_timer, .codec = {.kind = C::bcd},
     .items = repeat_timer_items, .list_width = 96},
    {.kind = K::setting, .name = "osn4", .caption = "Таймер запрета обнуления времени передачи :",
     .report_caption = "Таймер запрета обнуления времени передачи :", .page = 1, .control = 204,
     .address = mem::reset_timer, .codec = {.kind = C::bcd}, .items = reset_timer_items,
     .list_width = 96},
    {.kind = K::setting, .name = "osn5", .caption = "Звуковая сигнализация :",
     .report_caption = "Звуковая сигнализация :", .page = 1, .control = 205,
     .address = mem::beep_save, .codec = {.mask = 0x20}, .items = beep_items, .list_width = 96},
    {.kind = K::setting, .name = "osn6", .caption = "Уровень шумоподавителя :",
     .report_caption = "Уровень шумоподавителя :", .page = 1, .control = 206,
     .address = mem::squelch_level, .codec = {}, .items = squelch_level_items, .list_width = 40},
    {.kind = K::setting, .name = "osn7", .caption = "Режим энергосбережения :",
     .report_caption = "Режим энергосбережения :", .page = 1, .control = 208,
     .address = mem::beep_save, .codec = {.mask = 0x08}, .items = power_save_items,
     .list_width = 96},
    {.kind = K::setting, .name = "osn8", .caption = "Режим сканирования :",
     .report_caption = "Режим сканирования :", .page = 1, .control = 209,
     .address = mem::scan_key, .codec = {.mask = 0x18}, .items = scan_mode_items,
     .list_width = 96},
    {.kind = K::setting, .name = "osn9", .caption = "Приоритетный канал :",
     .report_caption = "Приоритетный канал :", .page = 1, .control = 210,
     .address = mem::priority_channel, .codec = {.kind = C::bcd}, .items = priority_channel_items,
     .list_width = 96},
    {.kind = K::setting, .name = "osn10", .caption = "Период контроля приоритетного канала :",
     .report_caption = "Период контроля приоритетного канала :", .page = 1, .control = 211,
     .address = mem::priority_period, .codec = {.kind = C::bcd, .offset = 3},
     .items = priority_period_items, .list_width = 96},
    {.kind = K::setting, .name = "osn11", .caption = "Канал передачи при сканировании :",
     .report_caption = "Канал передачи при сканировании :", .page = 1, .control = 212,
     .address = mem::scan_tx_channel, .codec = {.mask = 0x0F, .offset = 1},
     .items = scan_tx_channel_items, .list_width = 232},
    {.kind = K::setting, .name = "osn12",
     .caption = "Таймер возобновления сканирования после окончания приёма :",
     .report_caption = "Таймер возобновления сканирования после окончания приёма :", .page = 1,
     .control = 213, .address = mem::scan_resume, .codec = {.kind = C::bcd, .scale = 5, .offset = 1},
     .items = scan_resume_items, .list_width = 96},
    {.kind = K::setting, .name = "osn13", .caption = "Кнопка \"ШПД\" :",
     .report_caption = "Кнопка \"ШПД\" :", .page = 1, .control = 214, .address = mem::scan_key,
     .codec = {.kind = C::squelch_key, .mask = 0xE0}, .items = squelch_key_items,
     .list_width = 256},
    {.kind = K::setting, .name = "osn14", .caption = "Выбор мощности передачи :",
     .report_caption = "Выбор мощности передачи :", .page = 1, .control = 215,
     .address = mem::power_select, .codec = {.kind = C::power_select},
     .items = power_select_items, .list_width = 232},
}};

constexpr int count_of(Parameter_kind kind) {
  return static_cast<int>(std::count_if(rows.begin(), rows.end(),
                                        [kind](const Parameter& p) { return p.kind == kind; }));
}
constexpr int channel_parameters =
    count_of(Parameter_kind::channel_box) + count_of(Parameter_kind::channel_cell);
constexpr int slot_of(Setting_codec::Kind kind) {
  int slot = 0;
  for (const Parameter& p : rows) {
    if (p.kind != Parameter_kind::setting) continue;
    if (p.codec.kind == kind) return slot;
    ++slot;
  }
  return -1;
}
}  // namespace catalogue_rows

// The rows of the catalogue, in the report's order.
inline constexpr const std::array<Parameter, catalogue_rows::rows.size()>& catalogue =
    catalogue_rows::rows;

inline constexpr int settings_count = catalogue_rows::count_of(Parameter_kind::setting);
inline constexpr int channel_parameter_count = catalogue_rows::channel_parameters;
// Every row once, the channel parameters once per channel.
inline constexpr int report_parameter_count =
    static_cast<int>(catalogue_rows::rows.size()) - channel_parameter_count +
    channel_count * channel_parameter_count;
// The report, its printed page, `show --json` and the settings page are laid out for these counts:
// a row added or removed must change them knowingly.
static_assert(report_parameter_count == 178, "the report has 178 parameters");
static_assert(settings_count == 14, "the settings page has 14 lists");
static_assert(channel_parameter_count == 10, "a channel has 10 parameters in the report");
inline constexpr int squelch_key_slot = catalogue_rows::slot_of(Setting_codec::squelch_key);
inline constexpr int power_select_slot = catalogue_rows::slot_of(Setting_codec::power_select);

// The general setting of slot 0..settings_count-1, in page order.
const Parameter& setting_entry(int slot);
// The channel parameters, in the table's (and the report's) order.
const std::vector<const Parameter*>& channel_parameters();
// The row of a report name ("f_rx" for f_rx1 .. f_rx16, "osn3"), or none.
const Parameter* parameter_named(std::string_view stem);

}  // namespace tirna
