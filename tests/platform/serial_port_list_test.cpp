#include <gtest/gtest.h>

#include "platform/serial_port_list.h"

namespace tirna {
namespace {

Serial_port_facts usb_port(std::string product) {
  Serial_port_facts p;
  p.device = "/dev/ttyUSB0";
  p.description = "FT232R USB UART";
  p.vendor_id = 0x0403;
  p.product_id = 0x6001;
  p.usb_product = std::move(product);
  p.may_open = true;
  p.group = "dialout";
  p.in_group = true;
  p.listed_in_group = true;
  return p;
}

TEST(SerialPortList, TheProgrammerIsItsExactProductString) {
  EXPECT_TRUE(port_row(usb_port("USB-Programmer K-731M")).programmer);
  for (const char* other :
       {"USB-Programmer K-731", "usb-programmer k-731m", "USB-Programmer K-731M ",
        "USB-Programmer К-731М", "FT232R USB UART", ""}) {
    EXPECT_FALSE(port_row(usb_port(other)).programmer) << other;
  }
}

struct Access_case {
  bool may_open, in_group, listed, root;
  const char* group;
  const char* access;
};

class SerialPortAccess : public ::testing::TestWithParam<Access_case> {};

TEST_P(SerialPortAccess, SaysWhetherAndWhatToDo) {
  const auto& c = GetParam();
  Serial_port_facts p = usb_port("");
  p.may_open = c.may_open;
  p.in_group = c.in_group;
  p.listed_in_group = c.listed;
  p.root = c.root;
  p.group = c.group;
  EXPECT_EQ(port_row(p).access, c.access);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SerialPortAccess,
    ::testing::Values(
        Access_case{true, true, true, false, "dialout", "yes"},
        Access_case{true, false, false, true, "dialout", "yes"},
        Access_case{false, false, false, false, "dialout",
                    "no: add this user to the group dialout (sudo usermod -aG dialout $USER), then "
                    "log in again"},
        Access_case{false, false, true, false, "dialout",
                    "no: log out and in again to take up the group dialout"},
        Access_case{false, true, true, false, "dialout", "no (permission denied)"},
        Access_case{false, false, false, false, "uucp", "no: the port belongs to the group uucp"},
        Access_case{false, false, false, false, "", "no (permission denied)"}));

TEST(SerialPortList, TableLinesUpItsColumns) {
  Serial_port_facts plain;
  plain.device = "/dev/ttyS0";
  plain.may_open = false;
  plain.group = "dialout";
  const std::string table = port_table({usb_port("USB-Programmer K-731M"), plain});
  EXPECT_EQ(table,
            "DEVICE        DESCRIPTION      USB ID     PROGRAMMER  MAY OPEN\n"
            "/dev/ttyUSB0  FT232R USB UART  0403:6001  yes         yes\n"
            "/dev/ttyS0    -                -          no          no: add this user to the group "
            "dialout (sudo usermod -aG dialout $USER), then log in again\n");
  EXPECT_EQ(port_table({}), "No serial ports found.\n");
}

}  // namespace
}  // namespace tirna
