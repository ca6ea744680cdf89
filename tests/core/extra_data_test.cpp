#include <gtest/gtest.h>

#include "core/image/workspace.h"
#include "core/pages/extra_data.h"
#include "test_support.h"

namespace tirna {
namespace {

using test::hex;
using test::memory;

void put(Param_image& image, int addr, const std::vector<uint8_t>& bytes) {
  for (uint8_t b : bytes) image.set_byte(addr++, b);
}

TEST(ExtraData, DefaultImageShowsBlanksAndAnEmptyBox) {
  const Workspace ws = start_up_workspace();
  EXPECT_EQ(model_label(ws.image), "Тирна-" + std::string(16, ' '));
  EXPECT_EQ(factory_number_label(ws.image), std::string(7, ' '));
  EXPECT_EQ(time_label(ws.image), "  -  -         :  :  ");
  EXPECT_EQ(time_label(ws.image).size(), 21u);
  EXPECT_EQ(free_text(ws.image), "");
}

TEST(ExtraData, LabelsShowTheStoredCharacters) {
  Workspace ws = start_up_workspace();
  put(ws.image, 0x2C0, {0xD0, 0xE0, 0xE4, 0xE8, 0xEE, 0x00, 0xFF, 0x31});
  EXPECT_EQ(model_label(ws.image), "Тирна-Радио1" + std::string(8, ' '));
  put(ws.image, 0x2E0, {'1', '2', '3', 0x00, '5', '6', '7'});
  EXPECT_EQ(factory_number_label(ws.image), "123");
  put(ws.image, 0x3C0, hex("32 30 32 36 31 32 30 38 31 34 30 35 30 37"));
  EXPECT_EQ(time_label(ws.image), "08-12-2026   14:05:07");
  ws.image.set_byte(0x3C9, 0x00);  // a zero byte ends the label
  EXPECT_EQ(time_label(ws.image), "08-12-2026   1");
}

TEST(ExtraData, SetTimeStampsAsciiDigits) {
  Workspace ws = start_up_workspace();
  set_time(ws.image, [] { return Local_time{2026, 12, 8, 9, 5, 7}; });
  EXPECT_EQ(memory(ws.image, 0x3C0, 8), hex("32 30 32 36 31 32 30 38"));
  EXPECT_EQ(memory(ws.image, 0x3C8, 6), hex("30 39 30 35 30 37"));
  EXPECT_EQ(memory(ws.image, 0x3CE, 2), hex("00 00"));
  EXPECT_EQ(time_label(ws.image), "08-12-2026   09:05:07");
}

TEST(ExtraData, SetDopDatFillsWithZerosAndCutsAt192) {
  Workspace ws = start_up_workspace();
  set_dop_dat(ws.image, "");
  EXPECT_EQ(memory(ws.image, 0x300, 192), std::vector<uint8_t>(192, 0x00));
  set_dop_dat(ws.image, std::string(300, 'x'));
  EXPECT_EQ(memory(ws.image, 0x300, 192), std::vector<uint8_t>(192, 'x'));
  EXPECT_EQ(ws.image.byte(0x3C0), 0x20);  // the time after the area is untouched
  set_dop_dat(ws.image, std::string(200, 'y'));
  EXPECT_EQ(memory(ws.image, 0x300, 192), std::vector<uint8_t>(192, 'y'));
}

TEST(ExtraData, TwoLinesRoundTripWithCrLf) {
  Workspace ws = start_up_workspace();
  set_dop_dat(ws.image, *free_text_bytes("AB\nCD"));
  std::vector<uint8_t> expected = hex("41 42 0D 0A 43 44");
  expected.resize(192, 0x00);
  EXPECT_EQ(memory(ws.image, 0x300, 192), expected);
  EXPECT_EQ(free_text(ws.image), "AB\nCD");
}

TEST(ExtraData, LetterYaSurvivesUnlessItEndsTheArea) {
  Workspace ws = start_up_workspace();
  set_dop_dat(ws.image, *free_text_bytes("Моя рация"));
  EXPECT_EQ(free_text(ws.image), "Моя рация");
  set_dop_dat(ws.image, *free_text_bytes("яя"));
  EXPECT_EQ(free_text(ws.image), "яя");
  // Erased memory: only the run of 0xFF that reaches the end of the area.
  put(ws.image, 0x300, {'a', 0xFF, 'b'});
  for (int a = 0x303; a < 0x3C0; ++a) ws.image.set_byte(a, 0xFF);
  EXPECT_EQ(free_text(ws.image), "aяb");
  ws.image.set_byte(0x3BF, 'z');
  EXPECT_EQ(free_text(ws.image).size(), std::string("aяb").size() + 188 * 2 + 1);
}

TEST(ExtraData, ZeroBytesAnywhereAreSkipped) {
  Workspace ws = start_up_workspace();
  put(ws.image, 0x300, {0x00, 'a', 0x00, 'b', 0x0D, 0x0A, 'c', 0x0D, 'd', 0x0A, 'e'});
  for (int a = 0x30B; a < 0x3C0; ++a) ws.image.set_byte(a, 0x00);
  EXPECT_EQ(free_text(ws.image), "ab\nc\nd\ne");
}

TEST(ExtraData, TextsOutsideTheCodePageAreRefused) {
  EXPECT_EQ(free_text_bytes("snow ☃"), std::nullopt);
  EXPECT_EQ(free_text_bytes("№ 5"), std::string("\xB9 5"));
}

}  // namespace
}  // namespace tirna
