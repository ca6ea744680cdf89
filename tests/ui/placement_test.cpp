// Every window and dialog keeps its frame inside the screen's available area on a small laptop
// screen, wherever the main window was moved to, and the main window opens centred at every start
// whatever position config.ini kept. Run at 1366x768 and again at 1280x720
// (TIRNA_TEST_SCREEN=WIDTHxHEIGHT).

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QTest>

#include "core/image/frequency.h"
#include "ui/app/main_window.h"
#include "ui/channels/channel_page.h"
#include "ui/report/report_print_command.h"
#include "ui_test_support.h"

namespace tirna {

namespace {

QSize test_screen() {
  const QStringList size = qEnvironmentVariable("TIRNA_TEST_SCREEN", QStringLiteral("1366x768"))
                               .split(QLatin1Char('x'));
  return size.size() == 2 ? QSize(size[0].toInt(), size[1].toInt()) : QSize(1366, 768);
}

// Where a window went wrong: its frame, the area it had to stay in.
QString outside(const QWidget* w) {
  const QRect available = w->screen()->availableGeometry(), frame = w->frameGeometry();
  if (available.contains(frame)) return {};
  return QStringLiteral("%1 \"%2\" at %3,%4 %5x%6 outside %7x%8")
      .arg(QString::fromLatin1(w->metaObject()->className()), w->windowTitle())
      .arg(frame.x())
      .arg(frame.y())
      .arg(frame.width())
      .arg(frame.height())
      .arg(available.width())
      .arg(available.height());
}

}  // namespace

class Placement_test : public test::Window_fixture {
  Q_OBJECT

  QTableWidget* grid() const { return test::parts(w_).channel_page()->StringGrid101(); }

 private slots:
  void the_test_runs_on_the_screen_it_was_given() {
    QCOMPARE(w_->screen()->geometry().size(), test_screen());
  }

  // Each dialog opened over a main window pushed into a corner (or half off the screen) of the
  // laptop's screen, the print preview through the print dialog.
  void every_dialog_stays_inside_the_screen() {
    for (int f = 1; f <= channel_count; ++f) {
      store_frequency(ws().image, f, Side::rx, (150 + f) * int64_t{1000000}, 2);
    }
    w_->print_wind_blok();
    test::parts(w_).report_command()->set_printers({}, QString());
    const QRect area = w_->screen()->availableGeometry();
    const QPoint corners[] = {area.topLeft(), area.bottomRight() - QPoint(200, 150),
                              QPoint(area.right() - 100, area.top() + 10)};
    struct Opening {
      const char* what;
      std::function<void()> open;
    };
    const auto command = [this](const char* name) {
      return [this, name] { test::parts(w_).action(QString::fromLatin1(name))->trigger(); };
    };
    const Opening openings[] = {
        {"about box", command("N21")},
        {"programmer", command("N18")},
        {"several channels", [this] {
           test::parts(w_).channel_page()->select_rows({0, 1, 2});
           test::parts(w_).action(QStringLiteral("EditChannels"))->trigger();
         }},
        {"insert: question", [this] {
           test::parts(w_).channel_page()->select_rows({0});
           test::parts(w_).action(QStringLiteral("InsertChannel"))->trigger();
         }},
        {"frequency", [this] {
           grid()->setFocus();
           grid()->setCurrentCell(0, 1);
           QTest::keyClick(grid(), Qt::Key_Return);
         }},
        {"sub-tone", [this] {
           grid()->setFocus();
           grid()->setCurrentCell(0, 2);
           QTest::keyClick(grid(), Qt::Key_F2);
         }},
        {"print and preview", command("N8")},
    };
    for (const QPoint& corner : corners) {
      w_->move(corner);
      for (const Opening& o : openings) {
        QStringList seen, wrong;
        std::function<void(QWidget*)> check = [&](QWidget* shown) {
          seen << shown->windowTitle();
          if (const QString where = outside(shown); !where.isEmpty()) wrong << where;
          if (auto* preview = shown->findChild<QRadioButton*>(QStringLiteral("preview_choice"))) {
            preview->click();  // and on to the preview "Просмотр"
            test::when_modal(check);
            shown->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
          } else if (auto* box = qobject_cast<QMessageBox*>(shown)) {
            box->button(QMessageBox::No)->click();
          } else {
            shown->close();
          }
        };
        test::when_modal(check);
        o.open();
        QVERIFY2(!seen.isEmpty(), o.what);
        QVERIFY2(wrong.isEmpty(), qPrintable(QStringLiteral("%1 over a window at %2,%3: %4")
                                                 .arg(QString::fromLatin1(o.what))
                                                 .arg(corner.x())
                                                 .arg(corner.y())
                                                 .arg(wrong.join(QStringLiteral("; ")))));
        if (QString(o.what) == QStringLiteral("print and preview")) {
          QCOMPARE(seen, (QStringList{QStringLiteral("Печать"), QStringLiteral("Просмотр")}));
        }
      }
    }
  }

  // The main window opens centred, then again at the next start, when config.ini keeps the
  // position the first one closed at (the centred position itself included).
  void the_window_opens_centred_at_every_start() {
    close_window();
    test::Program_folder folder;
    QPoint closed_at;
    for (int start = 0; start < 3; ++start) {
      TForm1 w;
      w.show();
      QVERIFY(QTest::qWaitForWindowExposed(&w));
      const QRect area = w.screen()->availableGeometry();
      QVERIFY2(qAbs(w.frameGeometry().center().x() - area.center().x()) <= 1,
               qPrintable(QString::number(start)));
      QVERIFY(qAbs(w.frameGeometry().center().y() - area.center().y()) <= 1);
      if (start == 1) w.move(5, 7);  // moved away by the user: the next start centres it again
      closed_at = w.pos();
      QVERIFY(w.close());
      QVERIFY(folder.read("config.ini").contains(QByteArray("X=") +
                                                  QByteArray::number(closed_at.x())));
    }
    open_window();
  }
};

}  // namespace tirna

int main(int argc, char** argv) {
  const QSize size = tirna::test_screen();
  const tirna::test::Offscreen_screen laptop(size.width(), size.height());
  QApplication app(argc, argv);
  app.setAttribute(Qt::AA_Use96Dpi, true);
  tirna::Placement_test test;
  return QTest::qExec(&test, argc, argv);
}
#include "placement_test.moc"
