#include <gtest/gtest.h>

#include "core/text/cp1251.h"
#include "platform/ini_file.h"

namespace tirna {
namespace {

std::string cp(const std::string& utf8) {
  return *utf8_to_cp1251(utf8);
}

const char* general = "Общие";

TEST(IniFile, FreshFileHoldsExactlyTheFiveLines) {
  Ini_file ini;
  ini.set_integer(general, "СОМ/USB", 1);
  ini.set_integer(general, "СОМ-порт", 0);
  ini.set_integer(general, "X", 0);
  ini.set_integer(general, "Y", 0);
  EXPECT_EQ(ini.bytes(), cp("[Общие]\r\nСОМ/USB=1\r\nСОМ-порт=0\r\nX=0\r\nY=0\r\n"));
  EXPECT_EQ(ini.bytes().substr(9, 3), "\xD1\xCE\xCC");
}

TEST(IniFile, LookupIgnoresLetterCaseOfLatinAndCyrillic) {
  const Ini_file ini = Ini_file::parse(cp("[ОБЩИЕ]\r\nсом/usb=0\r\nx = 15 \r\n"));
  EXPECT_EQ(ini.integer(general, "СОМ/USB"), 0);
  EXPECT_EQ(ini.integer(general, "X"), 15);
  EXPECT_EQ(ini.integer(general, "Y"), std::nullopt);
}

TEST(IniFile, LatinComKeysDoNotMatchAndExitAppendsTheCyrillicOnes) {
  const std::string text =
      "[Общие]\r\nCOM/USB=0\r\nCOM-порт=3\r\nX=5\r\n\r\n[Порты]\r\nCOM1=/dev/ttyS0\r\n";
  Ini_file ini = Ini_file::parse(cp(text));
  EXPECT_EQ(ini.integer(general, "СОМ/USB"), std::nullopt);
  EXPECT_EQ(ini.integer(general, "СОМ-порт"), std::nullopt);
  ini.set_integer(general, "СОМ/USB", 1);
  ini.set_integer(general, "СОМ-порт", 0);
  ini.set_integer(general, "X", 7);
  ini.set_integer(general, "Y", 0);
  EXPECT_EQ(ini.bytes(),
            cp("[Общие]\r\nCOM/USB=0\r\nCOM-порт=3\r\nX=7\r\nСОМ/USB=1\r\nСОМ-порт=0\r\n"
               "Y=0\r\n\r\n[Порты]\r\nCOM1=/dev/ttyS0\r\n"));
  EXPECT_EQ(ini.value("порты", "com1"), "/dev/ttyS0");
}

TEST(IniFile, ValuesThatAreNotInt32AreMissing) {
  const Ini_file ini = Ini_file::parse(
      cp("[Общие]\nX=abc\nY=2147483648\nСОМ/USB=-2147483648\nСОМ-порт=7z\nA=+5\nB=\n"));
  EXPECT_EQ(ini.integer(general, "X"), std::nullopt);
  EXPECT_EQ(ini.integer(general, "Y"), std::nullopt);
  EXPECT_EQ(ini.integer(general, "СОМ/USB"), INT32_MIN);
  EXPECT_EQ(ini.integer(general, "СОМ-порт"), std::nullopt);
  EXPECT_EQ(ini.integer(general, "A"), 5);
  EXPECT_EQ(ini.integer(general, "B"), std::nullopt);
}

TEST(IniFile, BinaryBytesSurviveARewrite) {
  std::string garbage;
  for (int b = 1; b < 256; ++b) {
    if (b != '\r' && b != '\n') garbage += static_cast<char>(b);
  }
  const std::string text = "[Чужое]\r\n" + garbage + "\r\n" + std::string("\0\0x=1", 5) + "\r\n";
  Ini_file ini = Ini_file::parse(text);
  ini.set_integer(general, "X", 3);
  EXPECT_EQ(ini.bytes(), text + cp("[Общие]\r\nX=3\r\n"));
}

TEST(IniFile, MissingSectionIsAppendedAndLoneLineEndsBecomeCrLf) {
  Ini_file ini = Ini_file::parse("[Other]\nk=v\rz=1");
  ini.set_integer(general, "Y", -4);
  EXPECT_EQ(ini.bytes(), cp("[Other]\r\nk=v\r\nz=1\r\n[Общие]\r\nY=-4\r\n"));
}

TEST(IniFile, FirstOfDuplicateSectionsAndKeysWins) {
  Ini_file ini = Ini_file::parse(cp("[Общие]\r\nX=1\r\nX=2\r\n[Общие]\r\nX=3\r\n"));
  EXPECT_EQ(ini.integer(general, "X"), 1);
  ini.set_integer(general, "X", 9);
  EXPECT_EQ(ini.bytes(), cp("[Общие]\r\nX=9\r\nX=2\r\n[Общие]\r\nX=3\r\n"));
}

}  // namespace
}  // namespace tirna
