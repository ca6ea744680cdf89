#include <gtest/gtest.h>

#include "core/text/cp1251.h"
#include "core/text/messages.h"

namespace tirna {
namespace {

TEST(Cp1251, EveryByteRoundTrips) {
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const auto back = utf8_to_cp1251(cp1251_to_utf8(byte));
    ASSERT_TRUE(back.has_value()) << b;
    EXPECT_EQ(*back, byte) << b;
  }
}

TEST(Cp1251, KnownLetters) {
  EXPECT_EQ(cp1251_to_utf8("\xFF"), "я");
  EXPECT_EQ(cp1251_to_utf8("\xA8\xB8\xB9"), "Ёё№");
  EXPECT_EQ(utf8_to_cp1251("СОМ/USB"), std::string("\xD1\xCE\xCC/USB"));
  EXPECT_EQ(utf8_to_cp1251("Общие"), std::string("\xCE\xE1\xF9\xE8\xE5"));
}

TEST(Cp1251, UnmappableAndMalformedInputIsRefused) {
  EXPECT_EQ(utf8_to_cp1251("€ ok"), std::string("\x88 ok"));
  EXPECT_EQ(utf8_to_cp1251("日本"), std::nullopt);
  EXPECT_EQ(utf8_to_cp1251("\xC3"), std::nullopt);
  EXPECT_EQ(utf8_to_cp1251("\xE2\x82"), std::nullopt);
  EXPECT_EQ(utf8_to_cp1251("\x80"), std::nullopt);
  EXPECT_EQ(utf8_to_cp1251_lossy("a日b"), "a?b");
}

TEST(ErrorBoxText, FullStopFollowsTheCodePageRule) {
  EXPECT_EQ(with_full_stop("File not found"), "File not found.");
  EXPECT_EQ(with_full_stop("I/O error 5"), "I/O error 5.");
  EXPECT_EQ(with_full_stop("Программа уже открыта!"), "Программа уже открыта!");
  EXPECT_EQ(with_full_stop("Готово."), "Готово.");
  EXPECT_EQ(with_full_stop("Файл"), "Файл.");
  EXPECT_EQ(with_full_stop("(скобки)"), "(скобки)");
  EXPECT_EQ(with_full_stop("a/"), "a/.");
  EXPECT_EQ(with_full_stop(""), "");
}

}  // namespace
}  // namespace tirna
