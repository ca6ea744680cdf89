#include <gtest/gtest.h>

#include "core/image/subtone.h"
#include "test_support.h"

namespace tirna {
namespace {

using test::hex;
using test::memory;

Param_image default_image() {
  Param_image image;
  new_blok(image, 0, 2);
  return image;
}

TEST(SubtoneLists, HoldTheOfferedTonesAndCodes) {
  EXPECT_EQ(ctcss_list.front(), "67,0");
  EXPECT_EQ(ctcss_list[11], "100,0");
  EXPECT_EQ(ctcss_list.back(), "250,3");
  EXPECT_EQ(dcs_list.front(), "023");
  EXPECT_EQ(dcs_list[50], "411");
  EXPECT_EQ(dcs_list.back(), "754");
}

TEST(SubtoneCoding, CtcssOnReceiveStoresBcdAndShowsTheTone) {
  Param_image image = default_image();
  store_subtone_ctcss(image, 1, Side::rx, 0x06, 0x70);
  EXPECT_EQ(memory(image, 2, 3), hex("3C 70 06"));
  EXPECT_EQ(blok_to_stone_str(image, 1, Side::rx), "  CTC 67,0");
}

TEST(SubtoneCoding, InvertedDcsOnTransmit) {
  Param_image image = default_image();
  image.set_byte(7, 0x08);
  store_subtone_dcs(image, 1, Side::tx, 7, 5, 4, true);
  EXPECT_EQ(memory(image, 7, 3), hex("78 EC 01"));
  EXPECT_EQ(blok_to_stone_str(image, 1, Side::tx), "  -DCS 754");
}

TEST(SubtoneCoding, SwitchingOffAfterDcsClearsTypeAndValue) {
  Param_image image = default_image();
  store_subtone_dcs(image, 2, Side::rx, 4, 1, 1, false);
  EXPECT_EQ(memory(image, 16 + 3, 2), hex("09 01"));
  store_subtone_none(image, 2, Side::rx);
  EXPECT_EQ(memory(image, 16 + 2, 3), hex("0C 00 00"));
  EXPECT_EQ(blok_to_stone_str(image, 2, Side::rx), " Выключен");
}

TEST(SubtoneCoding, CtcssDropsLeadingZerosAndDcsKeepsThreeDigits) {
  Param_image image = default_image();
  set_subtone(image, 1, Side::rx, 3, 0x00, 0x10);
  EXPECT_EQ(blok_to_stone_str(image, 1, Side::rx), "  CTC 100,0");
  set_subtone(image, 1, Side::rx, 3, 0x70, 0x06);
  EXPECT_EQ(blok_to_stone_str(image, 1, Side::rx), "  CTC 67,0");
  set_subtone(image, 1, Side::rx, 5, 0x13, 0x00);
  EXPECT_EQ(blok_to_stone_str(image, 1, Side::rx), "   DCS 023");
  set_subtone(image, 1, Side::rx, 5, 0x4C, 0x00);
  EXPECT_EQ(blok_to_stone_str(image, 1, Side::rx), "   DCS 114");
}

TEST(SubtoneCoding, TypesTheProgramNeverWritesShowNoText) {
  Param_image image = default_image();
  for (int type : {1, 2, 4, 6}) {
    set_subtone(image, 1, Side::rx, type, 0x12, 0x34);
    EXPECT_EQ(blok_to_stone_str(image, 1, Side::rx), "") << type;
  }
}

TEST(SubtoneCoding, AnyValueGivesATextWithoutDigitChecks) {
  Param_image image = default_image();
  set_subtone(image, 1, Side::rx, 3, 0xFF, 0xFF);
  EXPECT_EQ(blok_to_stone_str(image, 1, Side::rx), "  CTC 1666,5");
  set_subtone(image, 1, Side::rx, 7, 0xFF, 0xFF);
  EXPECT_EQ(blok_to_stone_str(image, 1, Side::rx), "  -DCS 1577");
}

TEST(SubtoneCoding, EveryListEntryRoundTripsThroughTheImage) {
  Param_image image = default_image();
  for (auto tone : ctcss_list) {
    const std::string t(tone);
    const std::string digits = t.substr(0, t.size() - 2) + t.back();
    const int tenths = std::stoi(digits);
    store_subtone_ctcss(image, 5, Side::tx,
                        static_cast<uint8_t>((tenths / 1000) * 16 + (tenths / 100) % 10),
                        static_cast<uint8_t>(((tenths / 10) % 10) * 16 + tenths % 10));
    EXPECT_EQ(read_subtone(image, 5, Side::tx).ctcss, tone);
  }
  for (auto code : dcs_list) {
    for (bool inverted : {false, true}) {
      store_subtone_dcs(image, 5, Side::rx, code[0] - '0', code[1] - '0', code[2] - '0', inverted);
      const Subtone_reading r = read_subtone(image, 5, Side::rx);
      EXPECT_EQ(r.dcs, code);
      EXPECT_EQ(r.type, inverted ? 7 : 5);
    }
  }
  // Frequency bits, step flag and in-use bit of the control byte never change.
  EXPECT_EQ(image.byte(16 * 4 + 2) & 0x8F, 0x0C);
  EXPECT_EQ(image.byte(16 * 4 + 7) & 0x8F, 0x0C);
}

}  // namespace
}  // namespace tirna
