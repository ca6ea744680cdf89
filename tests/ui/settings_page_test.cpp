// The general-settings page (picks through the lists, the squelch-key / power linkage) and the
// additional-data page.

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStyleOptionComboBox>
#include <QTest>

#include "core/pages/extra_data.h"
#include "core/pages/settings.h"
#include "ui/app/main_window.h"
#include "ui/pages/extra_page.h"
#include "ui/pages/settings_page.h"
#include "ui_test_support.h"

namespace tirna {

using test::Program_folder;

class Settings_page_test : public test::Window_fixture {
  Q_OBJECT

 private:

  Param_image& image() const { return w_->workspace().image; }
  QComboBox* list(int control) const {
    for (int slot = 0; slot < settings_count; ++slot) {
      if (setting_entry(slot).control == control) return test::parts(w_).settings_page()->list(slot);
    }
    return nullptr;
  }
  void pick(int control, const QString& text) {
    QComboBox* l = list(control);
    const int index = l->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    test::pick(l, index);
  }
  QStringList items(int control) const {
    QStringList out;
    for (int i = 0; i < list(control)->count(); ++i) out << list(control)->itemText(i);
    return out;
  }

 private slots:
  void init() {
    open_window();
    w_->N16Click();
  }
  void lists_are_pick_only_and_as_wide_as_given() {
    for (int slot = 0; slot < settings_count; ++slot) {
      QComboBox* l = test::parts(w_).settings_page()->list(slot);
      QVERIFY(!l->isEditable());
      QCOMPARE(l->width(), setting_entry(slot).list_width);
      QCOMPARE(l->objectName(), QStringLiteral("ComboBox%1").arg(setting_entry(slot).control));
      QVERIFY(test::parts(w_).settings_page()->caption(slot)->alignment() & Qt::AlignRight);
    }
    QCOMPARE(list(202)->count(), 256);
    QCOMPARE(list(202)->itemText(32), QStringLiteral("32 секунд"));
    QCOMPARE(list(202)->itemText(245), QStringLiteral("245 секунд "));
    QCOMPARE(list(203)->count(), 61);
    QCOMPARE(list(204)->count(), 16);
    QCOMPARE(list(211)->count(), 48);
  }

  void every_item_fits_its_list() {
    for (int slot = 0; slot < settings_count; ++slot) {
      QComboBox* l = test::parts(w_).settings_page()->list(slot);
      QStyleOptionComboBox option;
      option.initFrom(l);
      option.editable = false;
      const int room =
          l->style()
              ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, l)
              .width();
      QStringList texts = items(setting_entry(slot).control);
      if (slot == squelch_key_slot) texts << qt_texts(Squelch_form::short_form);
      for (const QString& text : texts) {
        QVERIFY2(l->fontMetrics().horizontalAdvance(text) <= room,
                 qPrintable(QStringLiteral("%1 does not fit ComboBox%2 (%3 px)")
                                .arg(text)
                                .arg(setting_entry(slot).control)
                                .arg(room)));
      }
    }
  }

  void picks_write_the_image_and_set_the_flag() {
    pick(201, QStringLiteral("10 минут"));
    QCOMPARE(image().byte(0x2B7), uint8_t{0x00});
    QVERIFY(w_->workspace().state.modified);
    QCOMPARE(list(201)->currentText(), QStringLiteral("10 минут"));
    pick(201, QStringLiteral("Выключен"));
    QCOMPARE(image().byte(0x2B7), uint8_t{0xFF});
    pick(202, QStringLiteral("255 секунд"));
    QCOMPARE(image().byte(0x2BD), uint8_t{0xFF});
    pick(203, QStringLiteral("60 секунд"));
    QCOMPARE(image().byte(0x2BE), uint8_t{0x60});
    pick(211, QStringLiteral("5,0 секунд"));
    QCOMPARE(image().byte(0x2B3), uint8_t{0x50});
    pick(213, QStringLiteral("5,0 секунд"));
    QCOMPARE(image().byte(0x2B6), uint8_t{0x50});
    image().set_byte(0x2B1, 0xA3);
    pick(212, QStringLiteral("Приоритетный канал"));
    QCOMPARE(image().byte(0x2B1), uint8_t{0xA4});
    pick(205, QStringLiteral("Выключена"));
    QCOMPARE(image().byte(0x2BC), uint8_t{0x08});
  }

  void picking_the_shown_item_still_counts_as_an_edit() {
    const Param_image before = image();
    pick(206, QStringLiteral("5"));
    QVERIFY(w_->workspace().state.modified);
    QVERIFY(image() == before);
  }

  void a_value_without_an_item_shows_an_empty_list() {
    image().set_byte(0x2B3, 0x01);
    image().set_bits(0x2B0, 0x18, 0x18);
    w_->print_wind_blok();
    QCOMPARE(list(211)->currentIndex(), -1);
    QCOMPARE(list(211)->currentText(), QString());
    QCOMPARE(list(209)->currentText(), QString());
    QCOMPARE(image().byte(0x2B3), uint8_t{0x01});
    QVERIFY(!w_->workspace().state.modified);
  }

  void a_long_press_power_choice_shortens_the_squelch_key_list() {
    // Long form on code 2: the short form shows the same function and keeps code 2.
    pick(214, QStringLiteral("Перекл. режимов тонового шумоподавителя"));
    QCOMPARE(image().byte(0x2B0) & 0xE0, 0x40);
    pick(215, QStringLiteral("Продолжительное нажатие (кн.\"ШПД\")"));
    QCOMPARE(list(214)->count(), 3);
    QCOMPARE(list(214)->currentText(), QStringLiteral("Перекл. режимов тонового шумоподавителя"));
    QCOMPARE(image().byte(0x2B0) & 0xE0, 0x40);
    QCOMPARE(image().byte(0x2B4), uint8_t{2});
    // In the short form item 2 is code 4.
    pick(214, QStringLiteral("Перекл. режимов шумоподавителя"));
    QCOMPARE(image().byte(0x2B0) & 0xE0, 0x80);
    // Back to the long form: code 4 stays.
    pick(215, QStringLiteral("Выключен"));
    QCOMPARE(list(214)->count(), 5);
    QCOMPARE(list(214)->currentText(), QStringLiteral("Перекл. режимов шумоподавителя"));
    QCOMPARE(image().byte(0x2B0) & 0xE0, 0x80);
  }

  void a_function_the_short_form_lacks_becomes_off() {
    QCOMPARE(list(214)->currentText(), QStringLiteral("Временное откл. шумоподавителя"));
    pick(215, QStringLiteral("Продолжительное нажатие (кн.\"ШПД\")"));
    QCOMPARE(list(214)->currentText(), QStringLiteral("Выключена"));
    QCOMPARE(image().byte(0x2B0) & 0xE0, 0x00);
    pick(215, QStringLiteral("Выключен"));
    QCOMPARE(list(214)->count(), 5);
    QCOMPARE(list(214)->currentText(), QStringLiteral("Выключена"));
    QCOMPARE(image().byte(0x2B0) & 0xE0, 0x00);
    QCOMPARE(image().byte(0x2B0) & 0x1F, 0x00);  // the other bits untouched
  }

  void an_opened_image_with_the_long_press_shows_the_short_form() {
    image().set_byte(0x2B4, 2);
    image().set_bits(0x2B0, 0xE0, 0x80);
    w_->print_wind_blok();
    QCOMPARE(list(214)->count(), 3);
    QCOMPARE(list(214)->currentText(), QStringLiteral("Перекл. режимов шумоподавителя"));
    image().set_bits(0x2B0, 0xE0, 0x60);  // code 3: no item in the short form
    w_->print_wind_blok();
    QCOMPARE(list(214)->currentIndex(), -1);
  }

  void the_free_text_is_typed_freely_and_replaced_by_any_refresh() {
    w_->N17Click();
    QPlainTextEdit* box = test::parts(w_).extra_page()->RichEdit1();
    set_dop_dat(image(), "AB\r\nCD");
    w_->print_wind_blok();
    QCOMPARE(box->toPlainText(), QStringLiteral("AB\nCD"));
    box->setFocus();
    QTest::keyClicks(box, "XY");
    QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QStringLiteral("я"), Qt::NoModifier);
    QVERIFY(!w_->workspace().state.modified);
    const auto bytes = test::parts(w_).extra_page()->free_text_bytes();
    QVERIFY(bytes.has_value());
    QVERIFY(bytes->find("\r\n") != std::string::npos);
    QVERIFY(bytes->find('\xFF') != std::string::npos);
    w_->N16Click();
    pick(206, QStringLiteral("3"));
    QCOMPARE(box->toPlainText(), QStringLiteral("AB\nCD"));
  }

  void the_labels_show_the_stored_texts() {
    const char model[] = "520-1 K";
    for (int i = 0; i < 16; ++i) {
      image().set_byte(0x2C0 + i, i < 7 ? static_cast<uint8_t>(model[i]) : 0xFF);
    }
    const char number[] = "0012345";
    for (int i = 0; i < 7; ++i) image().set_byte(0x2E0 + i, static_cast<uint8_t>(number[i]));
    set_time(image(), [] { return Local_time{2026, 12, 8, 9, 5, 7}; });
    w_->print_wind_blok();
    QCOMPARE(test::parts(w_).extra_page()->model_label()->text(), QStringLiteral("Тирна-520-1 K"));
    QCOMPARE(test::parts(w_).extra_page()->factory_number_label()->text(), QStringLiteral("0012345"));
    QCOMPARE(test::parts(w_).extra_page()->time_label()->text(), QStringLiteral("08-12-2026   09:05:07"));
  }

 private:
  static QStringList qt_texts(Squelch_form form) {
    QStringList out;
    for (const auto& t : setting_items(squelch_key_slot, form)) out << QString::fromStdString(t);
    return out;
  }
};

}  // namespace tirna

QTEST_MAIN(tirna::Settings_page_test)
#include "settings_page_test.moc"
