// The window's "Печать" on a real CUPS queue, run by cups_print_test.sh with CUPS_SERVER naming
// its private cupsd: the output dialog lists the queues as they are when it opens (a queue added
// while the program runs is there the next time), and the page goes to the chosen queue.

#include <QComboBox>
#include <QDialogButtonBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "ui_test_support.h"

namespace tirna {

class Window_print_test : public test::Window_fixture {
  Q_OBJECT

  static QStringList offered(QWidget* dialog) {
    QStringList names;
    auto* list = dialog->findChild<QComboBox*>(QStringLiteral("printer_list"));
    for (int i = 0; list != nullptr && i < list->count(); ++i) names << list->itemText(i);
    return names;
  }
  void print() { test::parts(w_).action(QStringLiteral("N8"))->trigger(); }

 private slots:
  void the_page_goes_to_a_queue_the_dialog_lists_when_it_opens() {
    const QString queue = qEnvironmentVariable("TIRNA_QUEUE");
    const QString later = qEnvironmentVariable("TIRNA_LATER_QUEUE");
    QStringList first, second;
    test::when_modal([&](QWidget* dialog) {
      first = offered(dialog);
      dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    });
    print();

    QCOMPARE(QProcess::execute(QStringLiteral("lpadmin"),
                               {QStringLiteral("-p"), later, QStringLiteral("-E"),
                                QStringLiteral("-v"), QStringLiteral("file:///dev/null")}),
             0);
    test::when_modal([&](QWidget* dialog) {
      second = offered(dialog);
      auto* list = dialog->findChild<QComboBox*>(QStringLiteral("printer_list"));
      list->setCurrentIndex(list->findText(queue));
      QVERIFY(dialog->findChild<QRadioButton*>(QStringLiteral("printer_choice"))->isChecked());
      dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    print();
    QVERIFY2(first.contains(queue), qPrintable(first.join(u',')));
    QVERIFY(!first.contains(later));
    QVERIFY2(second.contains(later), qPrintable(second.join(u',')));
  }
};

}  // namespace tirna

QTEST_MAIN(tirna::Window_print_test)
#include "window_print.moc"
