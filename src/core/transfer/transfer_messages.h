#pragma once
// The texts the transfers show: message boxes and progress windows. Line breaks are single CR
// characters.

#include <string_view>

#include "core/link/link_view.h"

namespace tirna::transfer_text {

inline const Message read_done{Message_icon::information, "Чтение",
                               "Чтение данных успешно завершено."};
inline const Message read_failed{Message_icon::exclamation, "Ошибка чтения данных",
                                 "Данные не считаны. Проверьте включена ли радиостанция и\r"
                                 "подключение кабеля программатора."};
inline const Message write_done{Message_icon::information, "Запись",
                                "Запись данных успешно завершена."};
inline const Message write_failed{Message_icon::exclamation, "Ошибка записи данных",
                                  "Данные не записаны. Проверьте включена ли радиостанция и\r"
                                  "подключение кабеля программатора."};
// No full stop at the end: the text has always read so.
inline const Message band_mismatch{Message_icon::exclamation, "Ошибка записи данных",
                                   "Данная радиостанция не соответствует\r"
                                   "выбранному диапазону частот"};
inline const Message extra_read_failed{
    Message_icon::exclamation, "Ошибка чтения",
    "Дополнительная информация не считана. Проверьте включена ли радиостанция и\r"
    "подключение кабеля программатора."};
// A packet to be written does not carry the header of its own address: writing it would put its
// data at another address of the radio.
inline const Message corrupt_headers{
    Message_icon::exclamation, "Ошибка записи данных",
    "Файл параметров повреждён: заголовки пакетов не соответствуют адресам."};
// A channel in use holds a frequency outside the image's band or a sub-tone the radio does not
// have (a file edited elsewhere, a record of another radio): the lines that follow name them.
inline const Message refused_channels{Message_icon::exclamation, "Ошибка записи данных",
                                      "Данные не записаны. Параметры каналов недопустимы:"};
// The free text holds a character that code page 1251 has no byte for: the radio could only be
// given another character in its place.
inline const Message free_text_not_storable{
    Message_icon::exclamation, "Ошибка записи данных",
    "Текст содержит знаки, которых нет в кодовой странице 1251."};

struct Progress_text {
  std::string_view caption;
  std::string_view label;
};
inline constexpr Progress_text reading{"Чтение", "Чтение данных из радиостанции :"};
inline constexpr Progress_text writing{"Запись", "Запись данных в радиостанцию :"};
inline constexpr Progress_text reading_extra{"Чтение",
                                             "Чтение дополнительной информации из радиостанции :"};

}  // namespace tirna::transfer_text
