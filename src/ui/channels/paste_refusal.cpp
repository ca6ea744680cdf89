#include "ui/channels/paste_refusal.h"

#include "core/files/file_store.h"
#include "core/text/format.h"
#include "ui/app/message_boxes.h"

namespace tirna {
namespace {

const QString caption = QStringLiteral("Вставка каналов");

QString mhz(int64_t hz) {
  return qt_text(megahertz_text(hz));
}

QString reason(const Csv_problem& p) {
  switch (p.refusal) {
    case Csv_refusal::unclosed_quote:
      return QStringLiteral("поле в кавычках не закрыто");
    case Csv_refusal::no_location_column:
      return QStringLiteral("в заголовке таблицы нет столбца Location");
    case Csv_refusal::bad_location:
      return QStringLiteral("номер должен быть целым числом");
    case Csv_refusal::duplicate_location:
      return QStringLiteral("этот номер уже был в строке %1").arg(p.number);
    case Csv_refusal::not_a_number:
      return QStringLiteral("не число");
    case Csv_refusal::missing_value:
      return QStringLiteral("значение нужно этой строке, но оно пустое или столбца нет");
    case Csv_refusal::out_of_band:
      return QStringLiteral("частота вне диапазона %1 - %2 МГц")
          .arg(mhz(p.limits.lower), mhz(p.limits.upper));
    case Csv_refusal::bad_duplex:
      return QStringLiteral("неизвестный вид разноса частот приема и передачи");
    case Csv_refusal::bad_tone_mode:
      return QStringLiteral("вид субтона, которого нет у радиостанции");
    case Csv_refusal::bad_cross_mode:
      return QStringLiteral("неизвестное сочетание субтонов приема и передачи");
    case Csv_refusal::bad_polarity:
      return QStringLiteral("неизвестная полярность цифровых субтонов");
    case Csv_refusal::tone_refused:
      return qt_text(p.detail);  // the sub-tone dialog's own words
    case Csv_refusal::bad_mode:
      return QStringLiteral("ширина канала, которой нет у радиостанции (есть 25 кГц и 12,5 кГц)");
    case Csv_refusal::bad_skip:
      return QStringLiteral("неизвестная отметка сканирования");
    case Csv_refusal::bad_power:
      return QStringLiteral("мощность передачи задается в ваттах");
    case Csv_refusal::bad_mark:
      return QStringLiteral("неизвестная отметка");
    case Csv_refusal::bad_record:
      return QStringLiteral("не 16 байт записи канала в шестнадцатеричном виде");
    case Csv_refusal::no_channel:
      return QStringLiteral("ни одна строка не попадает в каналы 1 - 16");
    case Csv_refusal::past_last_channel:
      return QStringLiteral("строка попала бы в канал %1, а последний канал 16").arg(p.number);
    case Csv_refusal::empty_table:
      return QStringLiteral("в таблице нет строк каналов");
    case Csv_refusal::duplicate_column:
      return QStringLiteral("столбец назван в заголовке дважды");
    case Csv_refusal::channel_refused:
      return p.fault ? qt_text(channel_fault_text_ru(*p.fault)) : QString();
  }
  return {};
}

}  // namespace

QString paste_refusal_text(const Csv_problem& p) {
  QString out = p.line > 0 ? QStringLiteral("Строка %1").arg(p.line) : QStringLiteral("Таблица");
  if (p.column) {
    const QString value = p.refusal == Csv_refusal::out_of_band ? mhz(p.hz) : qt_text(p.value);
    out += QStringLiteral(", %1 «%2»").arg(qt_text(column_name(*p.column)), value);
  }
  return out + QStringLiteral(": ") + reason(p);
}

void show_paste_refused(QWidget* parent, const Csv_import_result& refused) {
  QStringList reasons;
  reasons.reserve(static_cast<qsizetype>(refused.problems.size()));
  for (const Csv_problem& p : refused.problems) reasons << paste_refusal_text(p);
  show_reasons(parent, QMessageBox::Warning, caption,
               QStringLiteral("Каналы не вставлены: ничего не изменено."), reasons,
               refused.unlisted_problems);
}

void show_paste_too_large(QWidget* parent) {
  show_message(parent, QMessageBox::Warning, caption,
               QStringLiteral("Каналы не вставлены: текст в буфере обмена больше %1 МБ "
                              "и не может быть таблицей каналов.")
                   .arg(csv_size_limit >> 20));
}

}  // namespace tirna
