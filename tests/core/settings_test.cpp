#include <gtest/gtest.h>

#include "core/channels/window_view.h"
#include "core/image/workspace.h"
#include "core/pages/settings.h"

namespace tirna {
namespace {

int slot_of(int control) {
  for (int s = 0; s < settings_count; ++s) {
    if (setting_entry(s).control == control) return s;
  }
  return -1;
}

std::string shown(const Param_image& image, int control) {
  const int slot = slot_of(control);
  const Squelch_form form =
      slot == squelch_key_slot ? squelch_form_for(image) : Squelch_form::long_form;
  return setting_text(slot, form, read_setting(image, slot));
}

TEST(SettingsLists, HaveTheirSizesAndExactTexts) {
  const int sizes[] = {12, 256, 61, 16, 2, 10, 2, 3, 16, 48, 4, 10, 5, 3};
  for (int s = 0; s < settings_count; ++s) EXPECT_EQ(setting_items(s).size(), sizes[s]) << s;
  EXPECT_EQ(setting_items(squelch_key_slot, Squelch_form::short_form).size(), 3u);
  const auto& b = setting_items(slot_of(202));
  EXPECT_EQ(b[0], "Выключен");
  EXPECT_EQ(b[1], "1 секунда");
  EXPECT_EQ(b[2], "2 секунды");
  EXPECT_EQ(b[5], "5 секунд");
  EXPECT_EQ(b[11], "11 секунд");
  EXPECT_EQ(b[12], "12 секунд");
  EXPECT_EQ(b[21], "21 секунда");
  EXPECT_EQ(b[22], "22 секунды");
  EXPECT_EQ(b[32], "32 секунд");
  EXPECT_EQ(b[33], "33 секунды");
  EXPECT_EQ(b[111], "111 секунд");
  EXPECT_EQ(b[112], "112 секунд");
  EXPECT_EQ(b[121], "121 секунда");
  EXPECT_EQ(b[245], "245 секунд ");
  EXPECT_EQ(b[255], "255 секунд");
  const auto& c = setting_items(slot_of(203));
  EXPECT_EQ(c[32], "32 секунды");
  EXPECT_EQ(c[60], "60 секунд");
  const auto& e = setting_items(slot_of(211));
  EXPECT_EQ(e[0], "0,3 секунды");
  EXPECT_EQ(e[1], "0,4 c\u0435кунды");
  EXPECT_EQ(e[1].substr(4, 1), "c");  // Latin c in items 1 to 8
  EXPECT_EQ(e[8], "1,1 cекунды");
  EXPECT_EQ(e[8].substr(4, 1), "c");
  EXPECT_EQ(e[9], "1,2 секунды");
  EXPECT_NE(e[9].substr(4, 1), "c");
  EXPECT_EQ(e[46], "4,9 секунды");
  EXPECT_EQ(e[47], "5,0 секунд");
  EXPECT_EQ(setting_items(slot_of(210))[15], "15 канал");
  EXPECT_EQ(setting_items(slot_of(215))[2], "Продолжительное нажатие (кн.\"ШПД\")");
}

TEST(SettingsRead, DefaultImageShowsEachListsStartUpItem) {
  const Workspace ws = start_up_workspace();
  const std::vector<std::string> expected = {"60 секунд",
                                             "Выключен",
                                             "Выключен",
                                             "Выключен",
                                             "Включена",
                                             "5",
                                             "Включен",
                                             "Выключен",
                                             "Выключен",
                                             "0,5 cекунд",
                                             "Первый канал в списке сканирования",
                                             "3,0 секунды",
                                             "Временное откл. шумоподавителя",
                                             "Кратковременное нажатие (кн.\"ШПД\")"};
  for (int s = 0; s < settings_count; ++s) {
    EXPECT_EQ(shown(ws.image, setting_entry(s).control), expected[s]) << setting_entry(s).control;
  }
  EXPECT_EQ(squelch_form_for(ws.image), Squelch_form::long_form);
}

TEST(SettingsWrite, EachCodingStoresItsItemInItsOwnBitsOnly) {
  Workspace ws = start_up_workspace();
  Param_image& im = ws.image;
  write_setting(im, slot_of(201), 0);
  EXPECT_EQ(im.byte(0x2B7), 0x00);
  write_setting(im, slot_of(201), 11);
  EXPECT_EQ(im.byte(0x2B7), 0xFF);
  im.set_byte(0x2B7, 0x01);
  EXPECT_EQ(shown(im, 201), "10 минут");
  write_setting(im, slot_of(202), 255);
  EXPECT_EQ(im.byte(0x2BD), 0xFF);
  write_setting(im, slot_of(203), 60);
  EXPECT_EQ(im.byte(0x2BE), 0x60);
  write_setting(im, slot_of(211), 47);
  EXPECT_EQ(im.byte(0x2B3), 0x50);
  write_setting(im, slot_of(213), 9);
  EXPECT_EQ(im.byte(0x2B6), 0x50);
  im.set_byte(0x2B1, 0xA3);
  write_setting(im, slot_of(212), 3);
  EXPECT_EQ(im.byte(0x2B1), 0xA4);
}

TEST(SettingsWrite, BitFieldsKeepTheOtherBits) {
  Workspace ws = start_up_workspace();
  Param_image& im = ws.image;
  im.set_byte(0x2BC, 0xD7);
  write_setting(im, slot_of(205), 1);
  EXPECT_EQ(im.byte(0x2BC), 0xF7);
  write_setting(im, slot_of(208), 0);
  EXPECT_EQ(im.byte(0x2BC), 0xF7 & ~0x08);
  im.set_byte(0x2B0, 0xE7);
  write_setting(im, slot_of(209), 2);
  EXPECT_EQ(im.byte(0x2B0), 0xF7);
}

TEST(SettingsRoundTrip, EveryItemOfEveryListComesBack) {
  for (int s = 0; s < settings_count; ++s) {
    if (s == power_select_slot || s == squelch_key_slot) continue;
    for (int i = 0; i < static_cast<int>(setting_items(s).size()); ++i) {
      Workspace ws = start_up_workspace();
      const Param_image before = ws.image;
      write_setting(ws.image, s, i);
      ASSERT_EQ(read_setting(ws.image, s), i) << setting_entry(s).control << " item " << i;
      // Nothing outside the setting's own byte changed.
      for (int a = 0; a < memory_size; ++a) {
        if (a != setting_entry(s).address) {
          ASSERT_EQ(ws.image.byte(a), before.byte(a)) << a;
        }
      }
    }
  }
  for (Squelch_form form : {Squelch_form::long_form, Squelch_form::short_form}) {
    for (int i = 0; i < static_cast<int>(setting_items(squelch_key_slot, form).size()); ++i) {
      Workspace ws = start_up_workspace();
      ws.image.set_byte(0x2B4, form == Squelch_form::short_form ? 2 : 0);
      squelch_key_change(ws.image, i);
      ASSERT_EQ(read_setting(ws.image, squelch_key_slot), i);
      EXPECT_EQ(ws.image.byte(0x2B0) & 0x1F, 0x00);
    }
  }
}

TEST(SettingsRead, ValuesWithoutAnItemShowNoSelection) {
  Workspace ws = start_up_workspace();
  Param_image& im = ws.image;
  im.set_byte(0x2B0, 0x18);  // scan mode 3
  EXPECT_EQ(read_setting(im, slot_of(209)), std::nullopt);
  im.set_byte(0x2B0, 0xA0);  // squelch key code 5
  EXPECT_EQ(read_setting(im, slot_of(214)), std::nullopt);
  im.set_byte(0x2B3, 0x02);
  EXPECT_EQ(read_setting(im, slot_of(211)), std::nullopt);
  im.set_byte(0x2B6, 0x04);
  EXPECT_EQ(read_setting(im, slot_of(213)), std::nullopt);
  im.set_byte(0x2BB, 0x0A);
  EXPECT_EQ(read_setting(im, slot_of(206)), std::nullopt);
  im.set_byte(0x2B1, 0x00);
  EXPECT_EQ(read_setting(im, slot_of(212)), std::nullopt);
  im.set_byte(0x2B4, 2);
  im.set_byte(0x2B0, 0x20);  // code 1 has no item in the short form
  EXPECT_EQ(read_setting(im, slot_of(214)), std::nullopt);
  EXPECT_EQ(shown(im, 214), "");
}

TEST(SettingsRead, AnyByteOfAnySettingGivesAnItemOrNone) {
  for (int s = 0; s < settings_count; ++s) {
    for (int b = 0; b < 256; ++b) {
      Workspace ws = start_up_workspace();
      ws.image.set_byte(setting_entry(s).address, static_cast<uint8_t>(b));
      const auto item = read_setting(ws.image, s);
      const Squelch_form form =
          s == squelch_key_slot ? squelch_form_for(ws.image) : Squelch_form::long_form;
      if (item) {
        EXPECT_LT(*item, static_cast<int>(setting_items(s, form).size()));
      }
    }
  }
}

// The squelch key's list and code as a power selection leaves them, from a file's power and key
// code: the short form while power selection 2 is chosen, each code carried to the other form's
// item or to "Выключена", and a code no item shows left as it is.
TEST(SquelchAndPower, PowerSelectionCarriesTheKeyBetweenItsTwoForms) {
  struct Case {
    uint8_t power, code;
    int pick;  // the power selection picked, -1 for none
    Squelch_form form;
    const char* shown;  // the squelch key's text afterwards; null for a code no item shows
    uint8_t code_after;
  };
  const Case cases[] = {
      {1, 2, 2, Squelch_form::short_form, "Перекл. режимов тонового шумоподавителя", 2},
      {1, 3, 2, Squelch_form::short_form, "Выключена", 0},  // the default key: no short item
      {2, 0, 0, Squelch_form::long_form, "Выключена", 0},
      {2, 0, 1, Squelch_form::long_form, "Выключена", 0},
      {2, 2, 1, Squelch_form::long_form, "Перекл. режимов тонового шумоподавителя", 2},
      {2, 4, 1, Squelch_form::long_form, "Перекл. режимов шумоподавителя", 4},
      {2, 4, -1, Squelch_form::short_form, "Перекл. режимов шумоподавителя", 4},
      {1, 6, 2, Squelch_form::short_form, nullptr, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "power " << int(c.power) << ", code " << int(c.code)
                                    << ", pick " << c.pick);
    Workspace ws = start_up_workspace();
    ws.image.set_byte(0x2B4, c.power);
    ws.image.set_bits(0x2B0, 0xE0, static_cast<uint8_t>(c.code << 5));
    Window_view view;
    print_wind_blok(view, ws.image, ws.state);
    if (c.pick >= 0) {
      power_select_change(ws.image, view.settings.squelch_form,
                          view.settings.selection[squelch_key_slot], c.pick);
      print_wind_blok(view, ws.image, ws.state);
    }
    EXPECT_EQ(view.settings.squelch_form, c.form);
    if (c.shown != nullptr) {
      EXPECT_EQ(view.settings.text(squelch_key_slot), c.shown);
    }
    EXPECT_EQ(ws.image.byte(0x2B0) >> 5, c.code_after);
    EXPECT_EQ(ws.image.byte(0x2B0) & 0x1F, 0x00);  // the other bits of the byte stay
    if (c.pick >= 0) {
      EXPECT_EQ(ws.image.byte(0x2B4), c.pick);
    }
  }
}

}  // namespace
}  // namespace tirna
