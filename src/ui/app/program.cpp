#include "ui/app/program.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>
#include <QLibraryInfo>
#include <QTranslator>

#include "platform/instance_lock.h"
#include "ui/app/main_window.h"
#include "ui/app/message_boxes.h"

namespace tirna {

void load_russian_texts(QApplication& app) {
  if (app.findChild<QTranslator*>(QString(), Qt::FindDirectChildrenOnly) != nullptr) return;
  auto* translator = new QTranslator(&app);
  if (translator->load(QStringLiteral("qtbase_ru"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(translator);
  }
}

int run_program(QApplication& app, const QString& file) {
  // Held for the whole run; the system frees it however the process ends.
  Instance_lock lock;
  switch (lock.acquire(program_lock_name)) {
    case Instance_lock::Result::acquired:
      break;
    case Instance_lock::Result::held_elsewhere:
      show_message(nullptr, QMessageBox::Critical, QStringLiteral("Ошибка"),
                   QStringLiteral("Программа уже открыта!"));
      return 1;
    case Instance_lock::Result::failed:
      // Only a running copy keeps the program from starting; a lock that cannot be taken is said.
      show_message(nullptr, QMessageBox::Warning, QStringLiteral("Предупреждение"),
                   QStringLiteral("Не удалось проверить, не открыта ли программа уже:\r%1\r"
                                  "Программа запускается без этой проверки.")
                       .arg(QString::fromLocal8Bit(lock.failure())));
      break;
  }
  load_russian_texts(app);  // when main has not yet
  TForm1 form;
  if (form.start_refused()) return 1;
  form.show();
  if (!file.isEmpty()) {
    // Relative to the folder the program was started in, which is the program folder.
    const QString path = QFileInfo(file).absoluteFilePath();
    QTimer::singleShot(0, &form, [&form, path] { form.open_file(path); });
  }
  return QApplication::exec();
}

}  // namespace tirna
