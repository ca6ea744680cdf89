#include <gtest/gtest.h>

#include "core/text/cp1251.h"
#include "platform/port_names.h"

namespace tirna {
namespace {

TEST(PortNames, PortNumberOpensTheConfiguredDeviceElseTheUsbAdapter) {
  EXPECT_EQ(port_device(1, std::nullopt), "/dev/ttyUSB0");
  EXPECT_EQ(port_device(8, std::nullopt), "/dev/ttyUSB7");
  EXPECT_EQ(port_device(3, std::string("/dev/ttyS0")), "/dev/ttyS0");
  EXPECT_EQ(port_device(3, std::string("")), "/dev/ttyUSB2");
}

TEST(PortNames, ConfigIniKeysAreLatinComInSectionPorty) {
  const Ini_file ini = Ini_file::parse(
      *utf8_to_cp1251("[Общие]\r\nСОМ/USB=1\r\n[Порты]\r\ncom2 = /dev/ttyACM0\r\nСОМ3=/dev/x\r\n"));
  EXPECT_EQ(configured_port_device(ini, 2), "/dev/ttyACM0");
  // A key spelled with the Cyrillic С, О, М is another key.
  EXPECT_EQ(configured_port_device(ini, 3), std::nullopt);
  EXPECT_EQ(configured_port_device(ini, 1), std::nullopt);
}

TEST(PortNames, ComNamesGiveTheirNumberAndPathsNone) {
  EXPECT_EQ(com_port_number("COM3"), 3);
  EXPECT_EQ(com_port_number("com12"), 12);
  EXPECT_EQ(com_port_number("COM0"), std::nullopt);
  EXPECT_EQ(com_port_number("COM"), std::nullopt);
  EXPECT_EQ(com_port_number("COM3x"), std::nullopt);
  EXPECT_EQ(com_port_number("COM+3"), std::nullopt);
  EXPECT_EQ(com_port_number("/dev/ttyUSB0"), std::nullopt);
  EXPECT_EQ(com_port_number("СОМ3"), std::nullopt);  // Cyrillic letters
}

}  // namespace
}  // namespace tirna
