#include <gtest/gtest.h>

#include "core/image/frequency.h"
#include "core/image/subtone.h"
#include "core/edit/parameter_edit.h"
#include "core/report/report_params.h"
#include "test_support.h"

namespace tirna {
namespace {

using test::hex;
using test::memory;

// A workspace as opening a file gives it: the band limits after frq_set.
Workspace opened(int band = 0, uint8_t coding_version = 2) {
  Workspace ws;
  ws.state.coding_version = coding_version;
  frq_set(ws.state, band);
  new_blok(ws.image, band, coding_version);
  return ws;
}

std::string shown(const Workspace& ws, const std::string& name) {
  Window_view view;
  print_wind_blok(view, ws.image, ws.state);
  for (const auto& p : report_parameters(view)) {
    if (p.name == name) return p.text;
  }
  return "<no such parameter>";
}

TEST(ParameterName, TheReportNamesAndNothingElse) {
  const auto p = parse_parameter_name("busy16");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->kind(), Parameter_kind::channel_cell);
  EXPECT_EQ(p->number, 16);
  EXPECT_EQ(p->column(), 8);
  EXPECT_EQ(parse_parameter_name("st_tx3")->column(), 4);
  EXPECT_EQ(parse_parameter_name("no_tx1")->kind(), Parameter_kind::channel_box);
  EXPECT_EQ(parse_parameter_name("no_tx1")->column(), 1);
  EXPECT_EQ(parse_parameter_name("osn14")->number, 14);
  EXPECT_EQ(parse_parameter_name("osn1")->number, 1);
  EXPECT_EQ(parse_parameter_name("frq")->kind(), Parameter_kind::band);
  for (const char* bad : {"no_kan0", "no_kan17", "no_kan01", "osn0", "osn15", "f_rx", "F_rx1",
                          "pow1 ", "memo", "memo2", "channel1", "", "osn1x"}) {
    EXPECT_FALSE(parse_parameter_name(bad)) << bad;
  }
}

TEST(ParameterEdit, EveryReportNameIsKnown) {
  Workspace ws = opened();
  Window_view view;
  print_wind_blok(view, ws.image, ws.state);
  for (const auto& p : report_parameters(view)) EXPECT_TRUE(parse_parameter_name(p.name)) << p.name;
}

TEST(ParameterEdit, FrequencyAsTypedIntoTheDialog) {
  Workspace ws = opened();
  Parameter_editor editor(ws);
  EXPECT_FALSE(editor.assign("f_rx1", "150,5").refusal);
  EXPECT_EQ(shown(ws, "f_rx1"), "  150,500000");
  EXPECT_FALSE(editor.assign("f_tx1", "151.0125").refusal);
  // The old coding keeps 5 kHz steps: the typed frequency is stored truncated, and said so.
  const auto out = editor.assign("f_tx2", "151.0125");
  EXPECT_FALSE(out.refusal);
  EXPECT_EQ(out.detail, "  151,010000");
  EXPECT_EQ(shown(ws, "f_tx2"), "  151,010000");
  // The shown text with its blanks is accepted too.
  EXPECT_FALSE(editor.assign("f_rx3", "  170,000000").refusal);
  EXPECT_EQ(shown(ws, "f_rx3"), "  170,000000");
}

TEST(ParameterEdit, FrequencyLimitsAfterFrqSetAreInclusive) {
  Workspace ws = opened();
  Parameter_editor editor(ws);
  EXPECT_FALSE(editor.assign("f_rx1", "175").refusal);
  EXPECT_FALSE(editor.assign("f_rx2", "146").refusal);
}

// What the window would not let the user do is refused with its reason and changes nothing:
// (assignments made first, then) the assignment and its refusal.
TEST(ParameterEdit, WhatTheWindowWouldNotAllowIsRefusedAndChangesNothing) {
  using R = Edit_refusal;
  struct Case {
    std::vector<std::pair<const char*, const char*>> first;
    const char* name;
    const char* value;
    R refusal;
  };
  const std::vector<Case> cases = {
      {{}, "f_rx3", "175,000001", R::out_of_band},
      {{}, "f_rx3", "145,999999", R::out_of_band},
      {{}, "f_rx3", "460", R::out_of_band},
      {{}, "f_rx1", "160,5,1", R::not_a_frequency},
      {{}, "f_rx1", "160 MHz", R::not_a_frequency},
      {{}, "f_rx1", "-160", R::not_a_frequency},
      {{}, "f_rx1", "0000160,000", R::frequency_too_long},
      {{}, "f_rx1", "", R::no_frequency},
      {{}, "f_rx1", "0", R::no_frequency},
      {{}, "st_rx1", "DCS 089", R::subtone_refused},
      {{}, "st_rx1", "DCS 23", R::subtone_refused},
      {{}, "st_rx1", "CTC 6,5", R::subtone_refused},
      {{}, "st_rx1", "CTC 1000,0", R::subtone_refused},
      {{}, "st_rx1", "CTCSS 67,0", R::not_a_subtone},
      {{}, "st_rx1", "DCS", R::not_a_subtone},
      {{}, "st_rx1", "выключен", R::not_a_subtone},
      {{}, "band1", "25", R::not_a_cell_text},
      {{}, "pow1", "Понижен", R::not_a_cell_text},
      {{{"no_tx2", "V"}}, "f_tx2", "150", R::tx_inhibited},
      {{{"no_tx2", "V"}}, "st_tx2", "CTC 67,0", R::tx_inhibited},
      {{{"no_tx2", "V"}}, "pow2", "Понижен.", R::tx_inhibited},
      {{{"no_tx2", "V"}}, "busy2", "Включен", R::tx_inhibited},
      {{{"no_kan5", "V"}}, "f_rx5", "150", R::channel_off},
      {{{"no_kan5", "V"}}, "skan5", "Включен", R::channel_off},
      {{{"no_kan5", "V"}}, "no_tx5", "V", R::channel_off},
      {{}, "no_kan1", "v", R::not_a_box_value},
      {{}, "no_kan1", "1", R::not_a_box_value},
      {{}, "model", "Тирна-X", R::read_only},
      {{}, "nomer", "1234567", R::read_only},
      {{}, "frq", "450МГц - 470МГц (П45)", R::read_only},
      {{}, "no_kan17", "V", R::unknown_name},
      {{}, "osn2", "32 секунды", R::not_a_list_item},
      {{}, "osn6", "10", R::not_a_list_item},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + "=" + c.value);
    Workspace ws = opened();
    Parameter_editor editor(ws);
    for (const auto& [name, value] : c.first) ASSERT_FALSE(editor.assign(name, value).refusal);
    const Param_image before = ws.image;
    const Assignment_outcome out = editor.assign(c.name, c.value);
    EXPECT_EQ(out.refusal, c.refusal);
    if (c.refusal == R::subtone_refused) {
      EXPECT_FALSE(out.detail.empty());  // the dialog's words
    }
    EXPECT_EQ(ws.image, before);
  }
}

TEST(ParameterEdit, SubtoneTextsAsShown) {
  Workspace ws = opened();
  Parameter_editor editor(ws);
  EXPECT_FALSE(editor.assign("st_rx1", "CTC 67,0").refusal);
  EXPECT_EQ(memory(ws.image, 2, 3), hex("3C 70 06"));
  EXPECT_FALSE(editor.assign("st_tx1", "  -DCS 754").refusal);
  EXPECT_EQ(memory(ws.image, 7, 3), hex("7C EC 01"));
  EXPECT_FALSE(editor.assign("st_tx2", "DCS 411").refusal);
  EXPECT_EQ(shown(ws, "st_tx2"), "   DCS 411");
  EXPECT_FALSE(editor.assign("st_rx1", "Выключен").refusal);
  EXPECT_EQ(memory(ws.image, 2, 3), hex("0C 00 00"));
  // Any tone or code the dialog accepts when typed, listed or not.
  EXPECT_FALSE(editor.assign("st_rx3", "CTC 254,1").refusal);
  EXPECT_EQ(shown(ws, "st_rx3"), "  CTC 254,1");
  EXPECT_FALSE(editor.assign("st_rx4", "CTC 67.0").refusal);
  EXPECT_EQ(shown(ws, "st_rx4"), "  CTC 67,0");
  EXPECT_FALSE(editor.assign("st_rx5", "DCS 017").refusal);
  EXPECT_EQ(shown(ws, "st_rx5"), "   DCS 017");
}

TEST(ParameterEdit, FlagCellsTakeTheirTwoTexts) {
  Workspace ws = opened();
  Parameter_editor editor(ws);
  EXPECT_FALSE(editor.assign("pow1", "Понижен.").refusal);
  EXPECT_FALSE(editor.assign("band1", "  12,5 кГц").refusal);
  EXPECT_FALSE(editor.assign("skan1", "Включен").refusal);
  EXPECT_FALSE(editor.assign("busy1", "Включен").refusal);
  EXPECT_EQ(ws.image.byte(10), 0x25);  // narrow, busy lock-out, scanned, low power
  // The text already shown changes nothing, however often.
  EXPECT_FALSE(editor.assign("pow1", "Понижен.").refusal);
  EXPECT_EQ(ws.image.byte(10), 0x25);
  EXPECT_FALSE(editor.assign("skan1", "Выключен").refusal);
  EXPECT_EQ(ws.image.byte(10), 0x35);
}

TEST(ParameterEdit, TransmitCellsOfAnInhibitedTransmitterAreRefused) {
  Workspace ws = opened();
  Parameter_editor editor(ws);
  EXPECT_FALSE(editor.assign("no_tx2", "V").refusal);
  // The receive side and the width and scan columns stay editable; the empty text is what the
  // cells show, so it changes nothing.
  EXPECT_FALSE(editor.assign("band2", "12,5 кГц").refusal);
  EXPECT_FALSE(editor.assign("pow2", "").refusal);
  // Allowing transmission first, in the same call, makes the cells editable.
  EXPECT_FALSE(editor.assign("no_tx2", "").refusal);
  EXPECT_FALSE(editor.assign("f_tx2", "150").refusal);
}

TEST(ParameterEdit, AChannelThatIsOffTakesNoEditUntilSwitchedOn) {
  Workspace ws = opened();
  Parameter_editor editor(ws);
  EXPECT_FALSE(editor.assign("no_kan5", "V").refusal);
  EXPECT_EQ(shown(ws, "f_rx5"), "");
  const Param_image before = ws.image;
  EXPECT_FALSE(editor.assign("f_rx5", "").refusal);  // what it shows
  EXPECT_EQ(ws.image, before);
  EXPECT_FALSE(editor.assign("no_kan5", "").refusal);
  EXPECT_FALSE(editor.assign("f_rx5", "150").refusal);
  EXPECT_EQ(shown(ws, "f_rx5"), "  150,000000");
}

TEST(ParameterEdit, BoxesTakeVOrEmpty) {
  Workspace ws = opened();
  Parameter_editor editor(ws);
  EXPECT_FALSE(editor.assign("no_tx1", "V").refusal);
  EXPECT_FALSE(tx_allowed(ws.image, 1));
  EXPECT_FALSE(editor.assign("no_kan1", "V").refusal);
  EXPECT_FALSE(channel_in_use(ws.image, 1));
  EXPECT_TRUE(ws.state.modified);
}

TEST(ParameterEdit, SettingsTakeAnItemOfTheirList) {
  Workspace ws = opened();
  Parameter_editor editor(ws);
  EXPECT_FALSE(editor.assign("osn1", "10 минут").refusal);
  EXPECT_EQ(ws.image.byte(0x2B7), 0x00);
  EXPECT_FALSE(editor.assign("osn1", "Выключен").refusal);
  EXPECT_EQ(ws.image.byte(0x2B7), 0xFF);
  EXPECT_FALSE(editor.assign("osn2", "255 секунд").refusal);
  EXPECT_EQ(ws.image.byte(0x2BD), 0xFF);
  EXPECT_FALSE(editor.assign("osn10", "5,0 секунд").refusal);
  EXPECT_EQ(ws.image.byte(0x2B3), 0x50);
  // The list spells items 1 to 8 of this list with a Latin "c"; typed with the Cyrillic letter
  // (or without the trailing blank of "245 секунд ") the item is still found.
  EXPECT_FALSE(editor.assign("osn10", "0,5 секунд").refusal);
  EXPECT_EQ(ws.image.byte(0x2B3), 0x05);
  EXPECT_FALSE(editor.assign("osn2", "245 секунд").refusal);
  EXPECT_EQ(ws.image.byte(0x2BD), 245);
}

TEST(ParameterEdit, AValueAlreadyShownLeavesTheByteAsItIs) {
  Workspace ws = opened();
  ws.image.set_byte(0x2B7, 0x01);  // reads as "10 минут", as 0x00 does
  Parameter_editor editor(ws);
  EXPECT_FALSE(editor.assign("osn1", "10 минут").refusal);
  EXPECT_EQ(ws.image.byte(0x2B7), 0x01);
}

TEST(ParameterEdit, PowerSelectionRunsTheSquelchKeyLinkage) {
  Workspace ws = opened();
  ws.image.set_bits(0x2B0, 0xE0, 2 << 5);  // "Перекл. режимов тонового шумоподавителя"
  Parameter_editor editor(ws);
  EXPECT_FALSE(editor.assign("osn14", "Продолжительное нажатие (кн.\"ШПД\")").refusal);
  EXPECT_EQ(ws.image.byte(0x2B4), 2);
  EXPECT_EQ(ws.image.byte(0x2B0) & 0xE0, 0x40);
  EXPECT_EQ(shown(ws, "osn13"), "Перекл. режимов тонового шумоподавителя");
  // In the short form, code 1 is not offered.
  EXPECT_EQ(editor.assign("osn13", "Временное откл. тонового шумоподавителя").refusal,
            Edit_refusal::not_a_list_item);
  EXPECT_FALSE(editor.assign("osn13", "Перекл. режимов шумоподавителя").refusal);
  EXPECT_EQ(ws.image.byte(0x2B0) & 0xE0, 0x80);
}

TEST(ParameterEdit, SquelchKeyIsPickedAfterThePowerSelectionWhateverTheOrder) {
  Workspace ws = opened();  // long form on code 3, power selection 1
  const auto outcomes = apply_assignments(ws, {{"osn13", "Перекл. режимов шумоподавителя"},
                                               {"osn14", "Продолжительное нажатие (кн.\"ШПД\")"}});
  ASSERT_EQ(outcomes.size(), 2u);
  EXPECT_EQ(outcomes[0].name, "osn14");
  EXPECT_FALSE(outcomes[0].refusal);
  EXPECT_FALSE(outcomes[1].refusal);
  EXPECT_EQ(shown(ws, "osn13"), "Перекл. режимов шумоподавителя");
  EXPECT_EQ(ws.image.byte(0x2B0) & 0xE0, 0x80);

  // A squelch-key item that the short form does not offer is refused, whatever the order.
  Workspace other = opened();
  const auto refused =
      apply_assignments(other, {{"osn13", "Временное откл. шумоподавителя"},
                                {"osn14", "Продолжительное нажатие (кн.\"ШПД\")"}});
  EXPECT_FALSE(refused[0].refusal);
  EXPECT_EQ(refused[1].refusal, Edit_refusal::not_a_list_item);
}

TEST(ParameterEdit, FreeTextAsSetDopDatStoresIt) {
  Workspace ws = opened();
  Parameter_editor editor(ws);
  EXPECT_FALSE(editor.assign("memo1", "AB\nCD").refusal);
  EXPECT_EQ(memory(ws.image, 0x300, 8), hex("41 42 0D 0A 43 44 00 00"));
  EXPECT_EQ(shown(ws, "memo1"), "AB\nCD");
  EXPECT_FALSE(editor.assign("memo1", "Позывной №5").refusal);
  EXPECT_EQ(shown(ws, "memo1"), "Позывной №5");
  EXPECT_FALSE(editor.assign("memo1", std::string(192, 'x')).refusal);
  EXPECT_FALSE(editor.assign("memo1", "").refusal);
  EXPECT_EQ(memory(ws.image, 0x300, 192), std::vector<uint8_t>(192, 0x00));
}

TEST(ParameterEdit, FreeTextTheRadioCannotKeepIsRefused) {
  Workspace ws = opened();
  const Param_image before = ws.image;
  Parameter_editor editor(ws);
  EXPECT_EQ(editor.assign("memo1", "emoji \xF0\x9F\x99\x82").refusal,
            Edit_refusal::not_in_code_page);
  const auto too_long = editor.assign("memo1", std::string(193, 'x'));
  EXPECT_EQ(too_long.refusal, Edit_refusal::text_too_long);
  EXPECT_EQ(too_long.detail, "193");
  // 96 line breaks are 192 bytes; one more character does not fit.
  std::string lines(96, '\n');
  EXPECT_EQ(editor.assign("memo1", lines + "x").refusal, Edit_refusal::text_too_long);
  // A final "я" in the last place is the byte 0xFF, which reads back as erased memory.
  EXPECT_EQ(editor.assign("memo1", std::string(191, 'x') + "я").refusal,
            Edit_refusal::text_not_kept);
  EXPECT_EQ(ws.image, before);
}

}  // namespace
}  // namespace tirna
