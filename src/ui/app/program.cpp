#include "ui/app/program.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "platform/instance_lock.h"
#include "ui/app/main_window.h"
#include "ui/app/message_boxes.h"

namespace tirna {

void load_russian_texts(QApplication& app) {
  auto* translator = new QTranslator(&app);
  if (translator->load(QStringLiteral("qtbase_ru"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(translator);
  }
}

int run_program(QApplication& app) {
  // Held for the whole run; the system frees it however the process ends.
  Instance_lock lock;
  if (!lock.acquire(program_lock_name, temporary_folder())) {
    show_message(nullptr, QMessageBox::Critical, QStringLiteral("Ошибка"),
                 QStringLiteral("Программа уже открыта!"));
    return 1;
  }
  load_russian_texts(app);
  TForm1 form;
  if (form.start_refused()) return 1;
  form.show();
  return QApplication::exec();
}

}  // namespace tirna
