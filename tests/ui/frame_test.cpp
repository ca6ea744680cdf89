// The frame of the main window: menus, tool bar, strips, pages and their focus, the busy state,
// the about box, the help, and whether every text fits its control at the given sizes.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>

#include "ui/app/about_box.h"
#include "ui/app/help_viewer.h"
#include "ui/app/main_window.h"
#include "ui/channels/channel_page.h"
#include "ui/channels/frequency_dialog.h"
#include "ui/channels/subtone_dialog.h"
#include "ui/link/programmer_dialog.h"
#include "ui/pages/extra_page.h"
#include "ui/pages/settings_page.h"
#include "ui_test_support.h"

namespace tirna {

using test::Box_seen;
using test::Program_folder;

namespace {

// Room a label or button needs for its text beside what the font gives.
bool fits(const QWidget* w, const QString& text, int room) {
  return w->fontMetrics().horizontalAdvance(text) <= room;
}

QStringList entries(const QMenu* menu) {
  QStringList out;
  for (const QAction* a : menu->actions())
    out << (a->isSeparator() ? QStringLiteral("-") : a->text());
  return out;
}

}  // namespace

class Frame_test : public test::Window_fixture {
  Q_OBJECT

 private:

  QMenu* menu(const QString& title) const {
    for (QAction* a : w_->menuBar()->actions()) {
      if (a->text() == title) return a->menu();
    }
    return nullptr;
  }

 private slots:
  void init() {
    open_window();
    w_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w_.get()));
  }
  void menus_hold_the_commands_in_order() {
    QStringList top;
    for (QAction* a : w_->menuBar()->actions()) top << a->text();
    QCOMPARE(top, (QStringList{"Файл", "Операции", "Опции", "Программатор", "Помощь"}));
    QCOMPARE(entries(menu("Файл")),
             (QStringList{"Новый", "Открыть", "-", "Сохранить", "Сохранить как ...", "-", "Печать",
                          "-", "Выход"}));
    // The radio's two commands and the pages as they always were; what was added comes after them.
    QCOMPARE(entries(menu("Операции")),
             (QStringList{"Чтение", "Запись", "-", "Сравнить с радиостанцией..."}));
    QCOMPARE(entries(menu("Опции")),
             (QStringList{"Параметры каналов", "Основные настройки радиостанции",
                          "Дополнительные данные", "-", "Журнал обмена с радиостанцией"}));
    QCOMPARE(entries(menu("Помощь")),
             (QStringList{"Справка", "Диагностика связи...", "О программе"}));
    QVERIFY(menu("Программатор") == nullptr);  // a command of its own, without sub-items
    QCOMPARE(test::parts(w_).action("N20")->shortcut(), QKeySequence(Qt::Key_F1));
    for (const char* with_icon : {"N2", "N3", "N5", "N8", "N10", "N12", "N13"}) {
      QVERIFY2(!test::parts(w_).action(with_icon)->icon().isNull(), with_icon);
    }
    QVERIFY(test::parts(w_).action("N6")->icon().isNull());
  }

  void the_tool_bar_has_its_buttons_and_hints() {
    QToolBar* bar = test::parts(w_).ToolBar1();
    QCOMPARE(bar->height(), 28);
    QStringList names, hints;
    QList<int> gaps;
    for (QAction* a : bar->actions()) {
      QWidget* item = bar->widgetForAction(a);
      if (auto* b = qobject_cast<QToolButton*>(item)) {
        names << b->objectName();
        hints << b->toolTip();
        QCOMPARE(b->height(), 23);
        QCOMPARE(b->toolButtonStyle(), Qt::ToolButtonIconOnly);
      } else {
        gaps << item->width();
      }
    }
    QCOMPARE(names, (QStringList{"ToolButton10", "ToolButton1", "ToolButton2", "ToolButton3",
                                 "ToolButton4", "ToolButton8"}));
    QCOMPARE(hints, (QStringList{"Новый файл", "Открыть файл", "Сохранить файл",
                                 "Печать параметров", "Чтение параметров", "Запись параметров"}));
    QCOMPARE(gaps, (QList<int>{4, 8, 8}));
  }

  void the_window_has_the_given_size_and_strips() {
    QCOMPARE(w_->width(), 639);
    QCOMPARE(w_->height() - w_->menuBar()->height(), 485);
    QCOMPARE(w_->minimumSize(), w_->maximumSize());  // fixed border
    QVERIFY(!(w_->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w_->windowFlags() & Qt::WindowMinimizeButtonHint);
    QCOMPARE(w_->findChild<QWidget*>("BandStrip")->height(), 31);
    QCOMPARE(w_->statusBar()->height(), 19);
    QVERIFY(test::parts(w_).status_panel(0)->width() >= 120);
    QVERIFY(test::parts(w_).status_panel(1)->width() >= 50);
    QCOMPARE(test::parts(w_).PageControl1()->count(), 3);
    QCOMPARE(test::parts(w_).PageControl1()->tabText(0), QStringLiteral("Параметры каналов"));
    QCOMPARE(test::parts(w_).PageControl1()->tabText(1), QStringLiteral("Основные настройки радиостанции"));
    QCOMPARE(test::parts(w_).PageControl1()->tabText(2), QStringLiteral("Дополнительные данные"));
    QVERIFY(test::parts(w_).PageControl1()->tabBar()->font().bold());
    QTableWidget* grid = test::parts(w_).channel_page()->StringGrid101();
    for (int c = 0; c < 9; ++c) {
      QCOMPARE(grid->columnWidth(c), Channel_page::column_widths[c] + 1);  // and its grid line
    }
    QCOMPARE(grid->rowHeight(0), 18);
    // The table and the boxes fit the page: nothing is cut off or scrolled.
    QWidget* page = test::parts(w_).channel_page();
    QVERIFY(page->rect().contains(grid->geometry()));
    for (int n : {1, 16, 21, 36}) {
      QCheckBox* box = test::parts(w_).channel_page()->CheckBox(n);
      QVERIFY(page->rect().contains(box->geometry()));
      const int row = (n - 1) % 20;
      const QRect cell = grid->visualItemRect(grid->item(row, 1));
      QCOMPARE(box->geometry().center().y(), grid->mapTo(page, cell.center()).y() + 1);
    }
  }

  void pages_take_the_focus_where_it_belongs() {
    w_->N17Click();
    QCOMPARE(test::parts(w_).PageControl1()->currentIndex(), 2);
    QCOMPARE(QApplication::focusWidget(), test::parts(w_).extra_page()->RichEdit1());
    w_->N16Click();
    QCOMPARE(QApplication::focusWidget(), test::parts(w_).settings_page()->panel());
    w_->N15Click();
    QCOMPARE(QApplication::focusWidget(), test::parts(w_).channel_page()->StringGrid101());
    // A click on the tab does the same.
    QTabBar* tabs = test::parts(w_).PageControl1()->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(2).center());
    QCOMPARE(QApplication::focusWidget(), test::parts(w_).extra_page()->RichEdit1());
  }

  void the_busy_state_locks_the_whole_window() {
    w_->blok_btn();
    QVERIFY(w_->busy());
    QVERIFY(!w_->menuBar()->isEnabled());
    QVERIFY(!test::parts(w_).ToolBar1()->isEnabled());
    QVERIFY(!test::parts(w_).ComboBox1()->isEnabled());
    QVERIFY(!test::parts(w_).PageControl1()->isEnabled());
    QVERIFY(!test::parts(w_).action("N20")->isEnabled());
    QTest::keyClick(w_.get(), Qt::Key_F1);
    QVERIFY(!test::parts(w_).help_viewer()->isVisible());
    const Param_image before = w_->workspace().image;
    test::click_cell(test::parts(w_).channel_page()->StringGrid101(), 0, 5);
    QVERIFY(w_->workspace().image == before);
    QVERIFY(!w_->workspace().state.modified);
    QVERIFY(!w_->close());  // a transfer owns the window
    w_->razblok_btn();
    QVERIFY(!w_->busy());
    QVERIFY(w_->menuBar()->isEnabled() && test::parts(w_).ToolBar1()->isEnabled());
    QVERIFY(test::parts(w_).ComboBox1()->isEnabled() && test::parts(w_).PageControl1()->isEnabled());
    QVERIFY(test::parts(w_).action("N20")->isEnabled());
    test::click_cell(test::parts(w_).channel_page()->StringGrid101(), 0, 5);
    QVERIFY(!(w_->workspace().image == before));
    w_->workspace().state.modified = false;
  }

  void the_about_box_shows_the_version_of_the_title() {
    test::when_modal([](QWidget* w) {
      auto* about = qobject_cast<TForm11*>(w);
      QVERIFY(about != nullptr);
      QCOMPARE(about->windowTitle(), QStringLiteral("О программе"));
      QCOMPARE(about->size(), QSize(328, 169));
      QCOMPARE(about->name_label()->text(), QStringLiteral("ПО Тирна-520"));
      QCOMPARE(about->version_label()->text(), QStringLiteral("Версия 1.3"));
      QVERIFY(fits(about->name_label(), about->name_label()->text(), about->name_label()->width()));
      QCOMPARE(about->Button1()->text(), QStringLiteral("Закрыть"));
      QCOMPARE(about->Button1()->geometry(), QRect(122, 134, 75, 25));
      QTest::keyClick(about->Button1(), Qt::Key_Escape);
    });
    w_->N21Click();
    QVERIFY(w_->windowTitle().endsWith(QStringLiteral("Версия 1.3")));
  }

  void help_opens_at_its_contents_on_f1() {
    QVERIFY(QFile::copy(QStringLiteral(TIRNA520_HELP), folder_->file("Tirna520.hlp")));
    w_->N16Click();
    QTest::keyClick(test::parts(w_).settings_page()->panel(), Qt::Key_F1);
    Help_viewer* help = test::parts(w_).help_viewer();
    QVERIFY(help->isVisible());
    QCOMPARE(help->contents()->currentRow(), 0);
    QStringList titles;
    for (int i = 0; i < help->contents()->count(); ++i) {
      titles << help->contents()->item(i)->text().trimmed();
    }
    for (const char* section : {"Меню «Файл»",
                                "Новый",
                                "Открыть",
                                "Сохранить",
                                "Сохранить как ...",
                                "Печать",
                                "Выход",
                                "Меню «Операции»",
                                "Чтение",
                                "Запись",
                                "Меню «Опции»",
                                "Программатор",
                                "Справка",
                                "О программе",
                                "Страница «Параметры каналов»",
                                "Страница «Основные настройки радиостанции»",
                                "Страница «Дополнительные данные»",
                                "Окно ввода частоты",
                                "Окно выбора субтона",
                                "Выбор частотного диапазона",
                                "Радиостанция не отвечает",
                                "Последовательные порты в Linux",
                                "Файл настроек config.ini"}) {
      QVERIFY2(titles.contains(QString::fromUtf8(section)), section);
    }
    QVERIFY(help->browser()->toPlainText().contains(QStringLiteral("dialout")));
    QVERIFY(help->browser()->toPlainText().contains(QStringLiteral("/dev/ttyUSB")));
    help->contents()->setCurrentRow(help->contents()->count() - 1);
    QVERIFY(help->browser()->verticalScrollBar()->value() > 0);
    help->close();
  }

  void a_missing_help_file_gives_the_viewers_message_and_nothing_else() {
    Box_seen box;
    test::answer_box(box, QMessageBox::Ok);
    w_->N20Click();
    QVERIFY(box.seen);
    QVERIFY(box.text.contains(folder_->file("Tirna520.hlp")));
    QVERIFY(!test::parts(w_).help_viewer()->isVisible());
    QVERIFY(w_->isVisible());
    test::click_cell(test::parts(w_).channel_page()->StringGrid101(), 0, 6);
    QCOMPARE(test::parts(w_).channel_page()->StringGrid101()->item(0, 6)->text(), QStringLiteral("  12,5 кГц"));
    w_->workspace().state.modified = false;
  }

  void every_cell_text_fits_its_column() {
    const QStringList by_column[] = {
        {" 9", "16"},
        {"  160,000000", "  460,012500", "  999,999999", "  448,987500"},
        {" Выключен", "  CTC 250,3", "  CTC 100,0", "  -DCS 754", "   DCS 023"},
        {"  174,987500", "  471,987500"},
        {" Выключен", "  CTC 203,5", "  -DCS 754"},
        {"  Повышен.", "  Понижен."},
        {"   25 кГц", "  12,5 кГц"},
        {"  Выключен", "   Включен"},
        {"  Выключен", "   Включен"},
    };
    QTableWidget* grid = test::parts(w_).channel_page()->StringGrid101();
    const int padding = Channel_page::text_margin + 1;
    for (int c = 0; c < 9; ++c) {
      for (const QString& text : by_column[c]) {
        QVERIFY2(fits(grid, text, Channel_page::column_widths[c] - padding),
                 qPrintable(QStringLiteral("column %1: %2").arg(c).arg(text)));
      }
    }
  }

  void column_captions_stand_clear_of_each_other() {
    const auto places = test::parts(w_).channel_page()->caption_places();
    QCOMPARE(places.size(), size_t{10});
    const QRect page = test::parts(w_).channel_page()->rect();
    const int table_top = test::parts(w_).channel_page()->StringGrid101()->y();
    for (const auto& a : places) {
      QVERIFY2(page.contains(a.rect), qPrintable(a.text));
      QVERIFY2(a.rect.left() <= a.line_x && a.line_x <= a.rect.right(), qPrintable(a.text));
      const QRect line(a.line_x, a.rect.bottom() + 1, 1, table_top - a.rect.bottom() - 1);
      for (const auto& b : places) {
        if (&a == &b) continue;
        QVERIFY2(!a.rect.intersects(b.rect), qPrintable(a.text + " / " + b.text));
        QVERIFY2(!line.intersects(b.rect), qPrintable(a.text + " line / " + b.text));
      }
    }
  }

  void strip_tab_and_status_texts_fit() {
    QComboBox* band = test::parts(w_).ComboBox1();
    QStyleOptionComboBox option;
    option.initFrom(band);
    const int room =
        band->style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, band)
            .width();
    for (int i = 0; i < band->count(); ++i) QVERIFY(fits(band, band->itemText(i), room));
    auto* caption = w_->findChild<QWidget*>("BandStrip")->findChild<QLabel*>();
    QVERIFY(caption->width() >= caption->sizeHint().width());
    QTabBar* tabs = test::parts(w_).PageControl1()->tabBar();
    QVERIFY(tabs->tabRect(2).right() < w_->width());
    for (int i = 0; i < 3; ++i) QVERIFY(fits(tabs, tabs->tabText(i), tabs->tabRect(i).width() - 8));
    QLabel* status = test::parts(w_).status_panel(0);
    QVERIFY(fits(status, QStringLiteral("Программатор COM88"), status->contentsRect().width()));
  }

  void page_texts_fit() {
    w_->N16Click();
    Settings_page* settings = test::parts(w_).settings_page();
    for (int slot = 0; slot < settings_count; ++slot) {
      QLabel* caption = settings->caption(slot);
      QVERIFY2(caption->width() >= caption->sizeHint().width(), qPrintable(caption->text()));
      QVERIFY(settings->rect().contains(
          settings->list(slot)->geometry().translated(settings->panel()->pos())));
    }
    w_->N17Click();
    Extra_page* extra = test::parts(w_).extra_page();
    for (QLabel* label :
         {extra->model_label(), extra->factory_number_label(), extra->time_label()}) {
      QVERIFY(fits(label, QStringLiteral("Тирна-WWWWWWWWWWWWWWWW"), label->width()));
    }
    QVERIFY(extra->rect().contains(extra->Button302()->geometry()));
  }

  void dialog_texts_fit() {
    TForm3* f3 = test::parts(w_).Form3();
    QVERIFY(fits(f3->AdvEdit1(), QStringLiteral("4444,44444"),
                 f3->AdvEdit1()->contentsRect().width() - 8));
    TForm4* f4 = test::parts(w_).Form4();
    QVERIFY(fits(f4->CheckBox1(), f4->CheckBox1()->text(), f4->CheckBox1()->width() - 20));
    for (int i = 0; i < 3; ++i) {
      QRadioButton* r = f4->choice_button(i);
      QVERIFY(fits(r, r->text(), r->width() - 20));
    }
    TForm2* f2 = w_->Form2();
    for (int i = 0; i < 2; ++i)
      QVERIFY(fits(f2->type_item(i), f2->type_item(i)->text(), f2->type_item(i)->width() - 20));
    for (int i = 0; i < 4; ++i)
      QVERIFY(fits(f2->port_item(i), f2->port_item(i)->text(), f2->port_item(i)->width() - 20));
    QVERIFY(fits(f2->RadioGroup1(), f2->RadioGroup1()->title(), 293 - 16));
  }
};

}  // namespace tirna

QTEST_MAIN(tirna::Frame_test)
#include "frame_test.moc"
