#include <gtest/gtest.h>

#include <functional>

#include "core/channels/frequency_entry.h"
#include "core/channels/subtone_entry.h"
#include "core/image/frequency.h"
#include "core/image/subtone.h"
#include "core/image/workspace.h"
#include "test_support.h"

namespace tirna {
namespace {

using test::hex;
using test::memory;

TEST(FrequencyField, KeyFilterAdmitsDigitsOneCommaAndBackspace) {
  EXPECT_EQ(frequency_key_filter('7', "16"), '7');
  EXPECT_EQ(frequency_key_filter('.', "160"), ',');
  EXPECT_EQ(frequency_key_filter(',', "160"), ',');
  EXPECT_EQ(frequency_key_filter('.', "160,5"), std::nullopt);
  EXPECT_EQ(frequency_key_filter(',', "160,5"), std::nullopt);
  EXPECT_EQ(frequency_key_filter('\b', "160"), '\b');
  EXPECT_EQ(frequency_key_filter('a', "160"), std::nullopt);
  EXPECT_EQ(frequency_key_filter(' ', "160"), std::nullopt);
  EXPECT_EQ(frequency_key_filter('-', ""), std::nullopt);
}

TEST(FrequencyField, TextGivesHertz) {
  EXPECT_EQ(parse_frequency_text("160"), 160000000);
  EXPECT_EQ(parse_frequency_text("160,0125"), 160012500);
  EXPECT_EQ(parse_frequency_text("160.0125"), 160012500);
  EXPECT_EQ(parse_frequency_text("460,5"), 460500000);
  EXPECT_EQ(parse_frequency_text("148,000001"), 148000001);
  EXPECT_EQ(parse_frequency_text("4441"), 4441000000);
  EXPECT_EQ(parse_frequency_text(""), 0);
  EXPECT_EQ(parse_frequency_text(","), 0);
  EXPECT_EQ(parse_frequency_text(",5"), 500000);
}

// A text the field would not take is refused, and the refusal says why: a seventh decimal is a
// finer frequency than the field takes, anything else is no number.
TEST(FrequencyField, TextThatIsNotANumberIsRefusedWithItsReason) {
  for (const char* text : {"abc", "16o", "160,5,1", "160,0000001", ",146000000", "1 60", "-160",
                           "9999999999999", "160,5 ", "160.12345678"}) {
    EXPECT_EQ(parse_frequency_text(text), std::nullopt) << text;
    const std::string_view t = text;
    const bool decimals = t == "160,0000001" || t == ",146000000" || t == "160.12345678";
    EXPECT_EQ(frequency_text_refusal(text), decimals ? too_many_decimals_text : not_a_number_text)
        << text;
  }
  // A trailing separator is an empty fraction.
  EXPECT_EQ(parse_frequency_text("160,"), 160000000);
}

class Scripted_frequency_dialog : public Frequency_dialog {
 public:
  explicit Scripted_frequency_dialog(std::string text) : text_(std::move(text)) {}
  int64_t ask_frequency(Side side) override {
    asked_side = side;
    return parse_frequency_text(text_).value_or(0);
  }
  void show_out_of_band() override { ++out_of_band; }
  int out_of_band = 0;
  Side asked_side = Side::rx;

 private:
  std::string text_;
};

struct Range_case {
  const char* text;
  bool after_frq_set;
  bool accepted;
};

class FrequencyRange : public ::testing::TestWithParam<Range_case> {};

TEST_P(FrequencyRange, LimitsAreInclusiveAndStartUpHas174) {
  const auto& c = GetParam();
  Workspace ws = start_up_workspace();
  if (c.after_frq_set) frq_set(ws.state, 0);
  const Param_image before = ws.image;
  Scripted_frequency_dialog dialog(c.text);
  in_frq(ws.image, ws.state, 1, Side::rx, dialog);
  EXPECT_EQ(dialog.out_of_band, c.accepted ? 0 : 1);
  EXPECT_EQ(ws.image == before, !c.accepted || std::string(c.text) == "160");
}

INSTANTIATE_TEST_SUITE_P(
    Band0, FrequencyRange,
    ::testing::Values(Range_case{"175", true, true}, Range_case{"175,000001", true, false},
                      Range_case{"146", true, true}, Range_case{"145,999999", true, false},
                      Range_case{"174,5", false, false}, Range_case{"174", false, true},
                      Range_case{"4441", true, false}, Range_case{"160", false, true}));

TEST(FrequencyEntry, FractionTruncatesByCoding) {
  for (uint8_t version : {uint8_t{2}, uint8_t{4}}) {
    Param_image image;
    new_blok(image, 0, version);
    Working_state state;
    state.coding_version = version;
    Scripted_frequency_dialog dialog("160,00625");
    in_frq(image, state, 1, Side::rx, dialog);
    EXPECT_EQ(channel_frequency(image, 1, Side::rx, version), version >= 4 ? 160000000 : 160005000);
    if (version < 4) {
      EXPECT_EQ(memory(image, 0, 3), hex("01 7D 08"));
    }
  }
}

TEST(FrequencyEntry, TransmitEntryLeavesEverythingElseOfTheChannel) {
  Workspace ws = start_up_workspace();
  store_subtone_ctcss(ws.image, 1, Side::rx, 0x06, 0x70);
  const auto before = memory(ws.image, 0, 16);
  Scripted_frequency_dialog dialog("150,5");
  in_frq(ws.image, ws.state, 1, Side::tx, dialog);
  EXPECT_EQ(dialog.asked_side, Side::tx);
  auto after = memory(ws.image, 0, 16);
  EXPECT_NE(after, before);
  for (int i : {0, 1, 2, 3, 4, 8, 9, 10, 11, 12, 13, 14, 15}) EXPECT_EQ(after[i], before[i]) << i;
  EXPECT_EQ(after[7] & 0xF8, before[7] & 0xF8);
}

TEST(FrequencyEntry, CancelAndEmptyChangeNothing) {
  Workspace ws = start_up_workspace();
  const Param_image before = ws.image;
  Scripted_frequency_dialog empty("");
  in_frq(ws.image, ws.state, 1, Side::rx, empty);
  EXPECT_EQ(ws.image, before);
  EXPECT_EQ(empty.out_of_band, 0);
}

class Scripted_subtone_dialog : public Subtone_dialog {
 public:
  using Edit = std::function<void(Subtone_dialog_state&)>;
  Scripted_subtone_dialog(bool accept, Edit edit = {}) : accept_(accept), edit_(std::move(edit)) {}
  bool ask_subtone(Side, Subtone_dialog_state& state) override {
    shown = state;
    if (edit_) edit_(state);
    return accept_;
  }
  void show_refused(const std::string& message) override { refusals.push_back(message); }
  Subtone_dialog_state shown;
  std::vector<std::string> refusals;

 private:
  bool accept_;
  Edit edit_;
};

class SubtoneEntry : public ::testing::Test {
 protected:
  Workspace ws = start_up_workspace();
  Subtone_dialog_state state;
};

TEST_F(SubtoneEntry, DefaultChannelPreselectsOffWithBothListsDisabled) {
  Scripted_subtone_dialog dialog(false);
  in_tone(ws.image, 1, Side::rx, state, dialog);
  EXPECT_EQ(dialog.shown.choice, Subtone_dialog_state::off);
  EXPECT_FALSE(dialog.shown.ctcss_enabled);
  EXPECT_FALSE(dialog.shown.dcs_enabled);
  EXPECT_FALSE(dialog.shown.inverted_enabled);
  EXPECT_EQ(dialog.shown.ctcss_text, "67,0");
  EXPECT_EQ(dialog.shown.dcs_text, "023");
}

TEST_F(SubtoneEntry, StoredCtcssIsPreselectedAndAcceptedUnchanged) {
  set_subtone(ws.image, 1, Side::tx, 3, 0x18, 0x13);
  Scripted_subtone_dialog dialog(true);
  in_tone(ws.image, 1, Side::tx, state, dialog);
  EXPECT_EQ(dialog.shown.choice, Subtone_dialog_state::ctc);
  EXPECT_EQ(dialog.shown.ctcss_text, "131,8");
  EXPECT_TRUE(dialog.shown.ctcss_enabled);
  EXPECT_EQ(memory(ws.image, 8, 2), hex("18 13"));
}

TEST_F(SubtoneEntry, UncheckingInversionChangesOnlyTheType) {
  ws.image.set_byte(7, 0x08);
  set_subtone(ws.image, 1, Side::tx, 7, 0xEC, 0x01);
  Scripted_subtone_dialog dialog(true, [](Subtone_dialog_state& s) { s.inverted = false; });
  in_tone(ws.image, 1, Side::tx, state, dialog);
  EXPECT_EQ(dialog.shown.dcs_text, "754");
  EXPECT_TRUE(dialog.shown.inverted);
  EXPECT_EQ(memory(ws.image, 7, 3), hex("58 EC 01"));
}

TEST_F(SubtoneEntry, DcsThenOff) {
  Scripted_subtone_dialog pick(true, [](Subtone_dialog_state& s) {
    s.set_choice(Subtone_dialog_state::dcs);
    s.select_dcs(50);
  });
  in_tone(ws.image, 1, Side::rx, state, pick);
  EXPECT_EQ(subtone_type(ws.image, 1, Side::rx), 5);
  EXPECT_EQ(memory(ws.image, 3, 2), hex("09 01"));
  Scripted_subtone_dialog off(
      true, [](Subtone_dialog_state& s) { s.set_choice(Subtone_dialog_state::off); });
  in_tone(ws.image, 1, Side::rx, state, off);
  EXPECT_EQ(subtone_type(ws.image, 1, Side::rx), 0);
  EXPECT_EQ(memory(ws.image, 3, 2), hex("00 00"));
}

TEST_F(SubtoneEntry, NoLeavesTheRecordWhateverWasSelected) {
  const Param_image before = ws.image;
  Scripted_subtone_dialog dialog(false, [](Subtone_dialog_state& s) {
    s.set_choice(Subtone_dialog_state::ctc);
    s.select_ctcss(5);
  });
  in_tone(ws.image, 1, Side::rx, state, dialog);
  EXPECT_EQ(ws.image, before);
}

TEST_F(SubtoneEntry, TypedTextsFollowTheDigitPositions) {
  Scripted_subtone_dialog typed(true, [](Subtone_dialog_state& s) {
    s.set_choice(Subtone_dialog_state::ctc);
    s.ctcss_index = -1;
    s.ctcss_text = "254,1";
  });
  in_tone(ws.image, 1, Side::rx, state, typed);
  EXPECT_EQ(subtone_value(ws.image, 1, Side::rx), 0x2541);
  // The separator position is not examined; the initial "67.0" works as well.
  Subtone_dialog_state fresh;
  fresh.set_choice(Subtone_dialog_state::ctc);
  EXPECT_EQ(accept_subtone(ws.image, 2, Side::rx, fresh), std::nullopt);
  EXPECT_EQ(subtone_value(ws.image, 2, Side::rx), 0x0670);
}

TEST_F(SubtoneEntry, RefusedTextsLeaveTheRecordExactlyAsItWas) {
  store_subtone_dcs(ws.image, 1, Side::rx, 0, 2, 3, false);
  const Param_image before = ws.image;
  struct Case {
    int choice;
    const char* text;
  };
  for (const Case c :
       {Case{Subtone_dialog_state::ctc, ""}, Case{Subtone_dialog_state::ctc, "67,"},
        Case{Subtone_dialog_state::ctc, "6x,0"}, Case{Subtone_dialog_state::ctc, "1о0,0"},
        Case{Subtone_dialog_state::dcs, "089"}, Case{Subtone_dialog_state::dcs, "0234"},
        Case{Subtone_dialog_state::dcs, "23"}, Case{Subtone_dialog_state::dcs, "abc"},
        Case{Subtone_dialog_state::dcs, ""}}) {
    Scripted_subtone_dialog dialog(true, [&](Subtone_dialog_state& s) {
      s.set_choice(c.choice);
      if (c.choice == Subtone_dialog_state::ctc) s.ctcss_text = c.text;
      if (c.choice == Subtone_dialog_state::dcs) s.dcs_text = c.text;
    });
    in_tone(ws.image, 1, Side::rx, state, dialog);
    EXPECT_EQ(ws.image, before) << c.text;
    EXPECT_EQ(dialog.refusals.size(), 1u) << c.text;
  }
}

TEST_F(SubtoneEntry, StateIsKeptBetweenOpeningsForUnknownTypes) {
  Scripted_subtone_dialog pick(false, [](Subtone_dialog_state& s) {
    s.set_choice(Subtone_dialog_state::dcs);
    s.select_dcs(10);
    s.inverted = true;
  });
  in_tone(ws.image, 1, Side::rx, state, pick);
  set_subtone(ws.image, 2, Side::rx, 4, 0, 0);
  Scripted_subtone_dialog look(false);
  in_tone(ws.image, 2, Side::rx, state, look);
  EXPECT_EQ(look.shown.choice, Subtone_dialog_state::dcs);
  EXPECT_EQ(look.shown.dcs_text, "071");
  EXPECT_TRUE(look.shown.inverted);
}

TEST_F(SubtoneEntry, EveryDcsCodeOfTheListStoresItsOctalValue) {
  for (std::size_t i = 0; i < dcs_list.size(); ++i) {
    state.set_choice(Subtone_dialog_state::dcs);
    state.select_dcs(static_cast<int>(i));
    ASSERT_EQ(accept_subtone(ws.image, 3, Side::tx, state), std::nullopt);
    const std::string code(dcs_list[i]);
    EXPECT_EQ(subtone_value(ws.image, 3, Side::tx), std::stoi(code, nullptr, 8)) << code;
  }
}

}  // namespace
}  // namespace tirna
