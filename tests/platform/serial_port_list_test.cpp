#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

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
  bool may_open, in_group, listed, root, group_may_open;
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
  p.group_may_open = c.group_may_open;
  EXPECT_EQ(port_row(p).access, c.access);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SerialPortAccess,
    ::testing::Values(
        Access_case{true, true, true, false, true, "dialout", "yes"},
        Access_case{true, false, false, true, true, "dialout", "yes"},
        Access_case{false, false, false, false, true, "dialout",
                    "no: add this user to the group dialout (sudo usermod -aG dialout $USER), then "
                    "log in again"},
        Access_case{false, false, true, false, true, "dialout",
                    "no: log out and in again to take up the group dialout"},
        Access_case{false, true, true, false, true, "dialout", "no (permission denied)"},
        Access_case{false, false, false, false, true, "uucp",
                    "no: the port belongs to the group uucp"},
        Access_case{false, false, false, false, true, "", "no (permission denied)"},
        // A node only its owner may open (crw-------): no group to join helps.
        Access_case{false, false, false, false, false, "dialout", "no (permission denied)"}));

TEST(SerialPortList, TableLinesUpItsColumns) {
  Serial_port_facts plain;
  plain.device = "/dev/ttyS0";
  plain.may_open = false;
  plain.group = "dialout";
  Serial_port_facts programmer = usb_port("USB-Programmer K-731M");
  programmer.stable_name = "/dev/serial/by-id/usb-FTDI_USB-Programmer_K-731M_A50285BI-if00-port0";
  const std::string table = port_table({programmer, plain});
  EXPECT_EQ(table,
            "DEVICE        DESCRIPTION      USB ID     PROGRAMMER  MAY OPEN\n"
            "/dev/ttyUSB0  FT232R USB UART  0403:6001  yes         yes\n"
            "  (also /dev/serial/by-id/usb-FTDI_USB-Programmer_K-731M_A50285BI-if00-port0)\n"
            "/dev/ttyS0    -                -          no          no: add this user to the group "
            "dialout (sudo usermod -aG dialout $USER), then log in again\n");
  EXPECT_EQ(port_table({}), "No serial ports found.\n");
}

// A sysfs tree as the kernel lays it out: a USB-serial converter (tty under the port under the
// interface under the device), a modem-class device (tty's device is the interface) under a root
// hub that has USB ids of its own, and a built-in port without USB.
class TtySysfs : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "sysfs-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root = pattern;
    const auto usb1 = root / "devices/usb1";
    file(usb1 / "idVendor", "1d6b");
    file(usb1 / "idProduct", "0002");
    file(usb1 / "1-1/idVendor", "0403");
    file(usb1 / "1-1/idProduct", "6001");
    file(usb1 / "1-1/product", "USB-Programmer K-731M");
    std::filesystem::create_directories(usb1 / "1-1/1-1:1.0/ttyUSB0");
    file(usb1 / "1-2/idVendor", "2341");
    file(usb1 / "1-2/idProduct", "0043");
    file(usb1 / "1-2/product", "Modem");
    std::filesystem::create_directories(usb1 / "1-2/1-2:1.0");
    std::filesystem::create_directories(root / "devices/pnp0/00:04");
    link("ttyUSB0", "../../../devices/usb1/1-1/1-1:1.0/ttyUSB0");
    link("ttyACM0", "../../../devices/usb1/1-2/1-2:1.0");
    link("ttyS0", "../../../devices/pnp0/00:04");
  }
  void TearDown() override { std::filesystem::remove_all(root); }

  void file(const std::filesystem::path& path, const std::string& line) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << line << '\n';
  }
  void link(const std::string& tty, const std::string& target) {
    std::filesystem::create_directories(root / "class/tty" / tty);
    std::filesystem::create_directory_symlink(target, root / "class/tty" / tty / "device");
  }
  Serial_port_facts read(const std::string& tty) {
    Serial_port_facts port;
    read_usb_identity(root.string(), tty, port);
    return port;
  }

  std::filesystem::path root;
};

// udev's links in /dev/serial/by-id lead to the ttys; a port finds the link that leads to it.
TEST_F(TtySysfs, StableNameIsTheByIdLinkToThePort) {
  file(root / "dev/ttyUSB0", "");
  file(root / "dev/ttyUSB1", "");
  const auto by_id = root / "dev/serial/by-id";
  std::filesystem::create_directories(by_id);
  const std::string programmer = "usb-FTDI_USB-Programmer_K-731M_A50285BI-if00-port0";
  std::filesystem::create_symlink("../../ttyUSB1", by_id / programmer);
  std::filesystem::create_symlink("../../ttyUSB0", by_id / "usb-FTDI_FT232R_USB_UART_A9X1-if00-port0");
  std::filesystem::create_symlink("../../ttyUSB9", by_id / "usb-gone-if00-port0");
  file(by_id / "not-a-link", "");

  Serial_port_facts port;
  port.device = (root / "dev/ttyUSB1").string();
  read_stable_name(by_id.string(), port);
  EXPECT_EQ(port.stable_name, (by_id / programmer).string());

  Serial_port_facts built_in;
  built_in.device = (root / "dev/ttyS0").string();
  read_stable_name(by_id.string(), built_in);
  EXPECT_EQ(built_in.stable_name, "");
  read_stable_name((root / "no-such-folder").string(), port);  // no udev links at all
  EXPECT_EQ(port.stable_name, (by_id / programmer).string());
}

TEST_F(TtySysfs, ConverterIdentityIsTwoLevelsAboveItsPort) {
  const auto port = read("ttyUSB0");
  EXPECT_EQ(port.vendor_id, 0x0403);
  EXPECT_EQ(port.product_id, 0x6001);
  EXPECT_TRUE(is_usb_programmer(port));
}

TEST_F(TtySysfs, ModemIdentityIsItsDeviceNotItsHub) {
  const auto port = read("ttyACM0");
  EXPECT_EQ(port.vendor_id, 0x2341);
  EXPECT_EQ(port.usb_product, "Modem");
}

TEST_F(TtySysfs, BuiltInPortHasNoUsbIdentity) {
  const auto port = read("ttyS0");
  EXPECT_FALSE(port.vendor_id);
  EXPECT_EQ(port_row(port).usb_id, "-");
  EXPECT_FALSE(read("ttyNone").vendor_id);
}

}  // namespace
}  // namespace tirna
