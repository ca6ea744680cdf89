// The machine's FTDI device lists: the system's list read from a made-up sysfs tree, and the
// D2XX binding against a stand-in library.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QTemporaryDir>

#include "core/usb/d2xx_unit.h"
#include "core/usb/programmer_status.h"
#include "platform/ftdi_device_lists.h"

namespace tirna {
namespace {

// /sys/class/tty/<tty>/device -> /sys/devices/.../<usb device>/<interface>/<tty>, with idVendor
// and product in the USB device's folder.
struct Fake_sysfs {
  QTemporaryDir root;
  QString tty_dir() const { return root.filePath(QStringLiteral("class/tty")); }

  void add_usb_tty(const QString& tty, const QByteArray& vendor, const QByteArray& product) {
    const QString device = root.filePath(QStringLiteral("devices/usb1/1-%1").arg(tty));
    const QString interface = device + QStringLiteral("/1-1:1.0");
    QDir().mkpath(interface + u'/' + tty);
    write(device + QStringLiteral("/idVendor"), vendor + "\n");
    write(device + QStringLiteral("/product"), product + "\n");
    QDir().mkpath(tty_dir() + u'/' + tty);
    QFile::link(interface + u'/' + tty, tty_dir() + u'/' + tty + QStringLiteral("/device"));
  }
  void add_plain_tty(const QString& tty) { QDir().mkpath(tty_dir() + u'/' + tty); }

  static void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
};

TEST(SystemFtdiList, ListsOnlyFtdiAdaptersWithTheirExactProductString) {
  Fake_sysfs sys;
  sys.add_usb_tty(QStringLiteral("ttyUSB10"), "0403", "FT232R USB UART");
  sys.add_usb_tty(QStringLiteral("ttyUSB0"), "0403", "USB-Programmer K-731M");
  sys.add_usb_tty(QStringLiteral("ttyUSB2"), "067b", "USB-Serial Controller");
  sys.add_usb_tty(QStringLiteral("ttyUSB3"), "0403", "usb-programmer k-731m  ");
  sys.add_plain_tty(QStringLiteral("ttyUSB7"));  // no device link: skipped
  sys.add_plain_tty(QStringLiteral("ttyS0"));
  System_ftdi_list list(sys.tty_dir());
  EXPECT_EQ(list.product_strings(),
            (std::vector<std::string>{"USB-Programmer K-731M", "usb-programmer k-731m  ",
                                      "FT232R USB UART"}));

  D2XXUnit unit(list);
  Programmer_status status(unit);
  EXPECT_EQ(status.Timer1Timer(), "USB-Программатор подключен");
  EXPECT_EQ(unit.device_count(), 3u);
  EXPECT_TRUE(unit.take_error_reports().empty());
}

TEST(SystemFtdiList, NoAdapterShowsTheProgrammerAsNotConnected) {
  Fake_sysfs sys;
  sys.add_plain_tty(QStringLiteral("ttyS0"));
  System_ftdi_list list(sys.tty_dir());
  D2XXUnit unit(list);
  Programmer_status status(unit);
  EXPECT_EQ(status.Timer1Timer(), "");
  EXPECT_EQ(status.Timer1Timer(), "USB-Программатор не подключен");
  EXPECT_TRUE(unit.take_error_reports().empty());

  System_ftdi_list nowhere(sys.root.filePath(QStringLiteral("missing")));
  uint32_t count = 99;
  EXPECT_EQ(nowhere.list_number(count), ft_ok);
  EXPECT_EQ(count, 0u);
}

TEST(SystemFtdiList, DescriptionsAnswerFromTheLastCount) {
  Fake_sysfs sys;
  sys.add_usb_tty(QStringLiteral("ttyUSB0"), "0403", "USB-Programmer K-731M");
  System_ftdi_list list(sys.tty_dir());
  std::array<char, ft_description_buffer_size> buffer{};
  EXPECT_EQ(list.list_description(0, buffer), ft_device_not_found);  // before any count
  uint32_t count = 0;
  ASSERT_EQ(list.list_number(count), ft_ok);
  ASSERT_EQ(count, 1u);
  EXPECT_EQ(list.list_description(0, buffer), ft_ok);
  EXPECT_STREQ(buffer.data(), "USB-Programmer K-731M");
  EXPECT_EQ(list.list_description(1, buffer), ft_device_not_found);
}

TEST(D2xxLibraryList, MissingLibraryIsNotLoaded) {
  D2xx_library_list list(QStringLiteral("/nonexistent/libftd2xx.so"));
  EXPECT_FALSE(list.loaded());
}

TEST(D2xxLibraryList, CallsFtListDevicesAsTheLibraryExpects) {
  D2xx_library_list list(QStringLiteral(FAKE_FTD2XX));
  ASSERT_TRUE(list.loaded());
  QLibrary fake(QStringLiteral(FAKE_FTD2XX));
  ASSERT_TRUE(fake.load());
  auto last_arg1 = reinterpret_cast<uintptr_t (*)()>(fake.resolve("fake_last_arg1"));
  auto last_arg2_null = reinterpret_cast<bool (*)()>(fake.resolve("fake_last_arg2_null"));
  auto last_flags = reinterpret_cast<uint32_t (*)()>(fake.resolve("fake_last_flags"));

  uint32_t count = 0;
  EXPECT_EQ(list.list_number(count), ft_ok);
  EXPECT_EQ(count, 2u);
  EXPECT_EQ(last_flags(), 0x80000000u);
  EXPECT_TRUE(last_arg2_null());

  D2XXUnit unit(list);
  Programmer_status status(unit);
  EXPECT_EQ(status.Timer1Timer(), "USB-Программатор подключен");
  EXPECT_EQ(last_flags(), 0x40000002u);
  EXPECT_EQ(last_arg1(), 1u);  // the index, passed as the value
  EXPECT_EQ(unit.device_description(), "USB-Programmer K-731M");
}

// A user without rights on the USB device nodes: the library loads but counts with status 2; the
// programmer is then found through the kernel's list, and the library answers again once it can.
TEST(FtdiDeviceList, ALibraryWithoutUsbRightsGivesWayToTheSystemList) {
  Fake_sysfs sys;
  sys.add_usb_tty(QStringLiteral("ttyUSB0"), "0403", "USB-Programmer K-731M");
  QLibrary fake(QStringLiteral(FAKE_FTD2XX));
  ASSERT_TRUE(fake.load());
  auto set_count_status = reinterpret_cast<void (*)(uint32_t)>(fake.resolve("fake_set_count_status"));
  ASSERT_NE(set_count_status, nullptr);

  auto library = std::make_unique<D2xx_library_list>(QStringLiteral(FAKE_FTD2XX));
  ASSERT_TRUE(library->loaded());
  D2xx_with_system_list list(std::move(library), std::make_unique<System_ftdi_list>(sys.tty_dir()));
  D2XXUnit unit(list);
  Programmer_status status(unit);

  set_count_status(2);
  EXPECT_EQ(status.Timer1Timer(), "USB-Программатор подключен");
  EXPECT_TRUE(list.system_answered());
  EXPECT_EQ(unit.device_count(), 1u);
  EXPECT_TRUE(unit.take_error_reports().empty());

  set_count_status(0);
  EXPECT_EQ(status.Timer1Timer(), "USB-Программатор подключен");
  EXPECT_FALSE(list.system_answered());
  EXPECT_EQ(unit.device_count(), 2u);  // the library's two devices

  set_count_status(4);  // any other failure stays the library's
  uint32_t count = 0;
  EXPECT_EQ(list.list_number(count), 4u);
  EXPECT_FALSE(list.system_answered());
  set_count_status(0);

  EXPECT_NE(dynamic_cast<D2xx_with_system_list*>(
                make_ftdi_device_list(QStringLiteral(FAKE_FTD2XX)).get()),
            nullptr);
}

TEST(FtdiDeviceList, WithoutTheD2xxLibraryTheSystemListIsUsed) {
  if (QLibrary(QStringLiteral("ftd2xx")).load()) GTEST_SKIP() << "the D2XX library is installed";
  auto list = make_ftdi_device_list();
  EXPECT_NE(dynamic_cast<System_ftdi_list*>(list.get()), nullptr);
}

}  // namespace
}  // namespace tirna
