// Timer1Timer and the D2XXUnit wrapper against a scripted device list.

#include <gtest/gtest.h>

#include "core/usb/d2xx_unit.h"
#include "core/usb/programmer_status.h"
#include "scripted_device_list.h"

namespace tirna {
namespace {

const std::string connected = "USB-Программатор подключен";
const std::string missing = "USB-Программатор не подключен";

struct Usb_status : ::testing::Test {
  Scripted_device_list list;
  D2XXUnit unit{list};
  Programmer_status status{unit};
};

TEST_F(Usb_status, NoDeviceBlinksStartingWithTheEmptyPanel) {
  EXPECT_EQ(status.Timer1Timer(), "");
  EXPECT_EQ(status.blink_phase(), 1);
  EXPECT_EQ(status.Timer1Timer(), missing);
  EXPECT_EQ(status.blink_phase(), 0);
  EXPECT_EQ(status.Timer1Timer(), "");
  EXPECT_EQ(status.Timer1Timer(), missing);
  EXPECT_TRUE(list.asked_indexes.empty());
  EXPECT_TRUE(unit.take_error_reports().empty());
}

TEST_F(Usb_status, ProgrammerSecondOfTwoDevicesIsFound) {
  list.descriptions = {"FT232R USB UART", "USB-Programmer K-731M"};
  EXPECT_EQ(status.Timer1Timer(), connected);
  EXPECT_EQ(status.Timer1Timer(), connected);
  EXPECT_EQ(list.asked_indexes, (std::vector<uint32_t>{0, 1, 0, 1}));
  EXPECT_EQ(status.blink_phase(), 0);
}

TEST_F(Usb_status, EveryDeviceIsAskedAlsoAfterTheMatch) {
  list.descriptions = {"USB-Programmer K-731M", "FT232R USB UART", "Dual RS232-HS A"};
  EXPECT_EQ(status.Timer1Timer(), connected);
  EXPECT_EQ(list.asked_indexes, (std::vector<uint32_t>{0, 1, 2}));
}

TEST_F(Usb_status, DescriptionMustMatchByteForByte) {
  for (const char* other :
       {"USB-programmer K-731M", "USB-PROGRAMMER K-731M", "USB-Programmer K-731M ",
        "USB-Programmer K-731", " USB-Programmer K-731M"}) {
    list.descriptions = {other};
    Programmer_status fresh(unit);
    EXPECT_EQ(fresh.Timer1Timer(), "") << other;
    EXPECT_EQ(fresh.Timer1Timer(), missing) << other;
  }
}

TEST_F(Usb_status, ProgrammerUnpluggedStartsTheBlinkAgain) {
  list.descriptions = {"USB-Programmer K-731M"};
  EXPECT_EQ(status.Timer1Timer(), connected);
  list.descriptions.clear();
  EXPECT_EQ(status.Timer1Timer(), "");
  EXPECT_EQ(status.Timer1Timer(), missing);
  list.descriptions = {"USB-Programmer K-731M"};
  EXPECT_EQ(status.Timer1Timer(), connected);
  EXPECT_EQ(status.blink_phase(), 0);  // a found programmer leaves the phase as it was
}

TEST_F(Usb_status, DeviceCountIsTakenModulo256) {
  list.descriptions = {"USB-Programmer K-731M", "USB-Programmer K-731M"};
  list.reported_count = 256;
  EXPECT_EQ(status.Timer1Timer(), "");
  EXPECT_TRUE(list.asked_indexes.empty());
  list.reported_count = 257;
  EXPECT_EQ(status.Timer1Timer(), connected);
  EXPECT_EQ(list.asked_indexes, (std::vector<uint32_t>{0}));
  list.asked_indexes.clear();
  list.reported_count = 0x102;
  EXPECT_EQ(status.Timer1Timer(), connected);
  EXPECT_EQ(list.asked_indexes, (std::vector<uint32_t>{0, 1}));
  EXPECT_EQ(unit.device_count(), 0x102u);
}

TEST_F(Usb_status, ComProgrammerShowsThePortNumberWithoutAskingTheList) {
  status.set_programmer(1, 2);
  EXPECT_EQ(status.Timer1Timer(), "Программатор COM3");
  EXPECT_EQ(status.Timer1Timer(), "Программатор COM3");
  status.set_programmer(5, 0);
  EXPECT_EQ(status.Timer1Timer(), "Программатор COM1");
  EXPECT_EQ(list.count_calls, 0);
  EXPECT_EQ(com_programmer_text(15), "Программатор COM16");
}

TEST_F(Usb_status, ProgrammerChoiceTakesEffectAtTheNextTick) {
  list.descriptions = {"USB-Programmer K-731M"};
  EXPECT_EQ(status.Timer1Timer(), connected);
  status.set_programmer(1, 0);
  EXPECT_EQ(status.Timer1Timer(), "Программатор COM1");
  status.set_programmer(0, 0);
  EXPECT_EQ(status.Timer1Timer(), connected);
}

TEST_F(Usb_status, StoppedPollingKeepsThePanelInUsbModeOnly) {
  EXPECT_EQ(status.Timer1Timer(), "");
  status.stop_usb_polling();
  const int calls = list.count_calls;
  EXPECT_EQ(status.Timer1Timer(), std::nullopt);
  EXPECT_EQ(status.Timer1Timer(), std::nullopt);
  EXPECT_EQ(list.count_calls, calls);
  EXPECT_EQ(status.blink_phase(), 1);
  status.set_programmer(1, 3);
  EXPECT_EQ(status.Timer1Timer(), "Программатор COM4");
  status.set_programmer(0, 3);
  EXPECT_EQ(status.Timer1Timer(), std::nullopt);
  EXPECT_TRUE(status.usb_polling_stopped());
}

TEST_F(Usb_status, FailingCountIsReportedOnceUntilItSucceeds) {
  list.count_status = ft_io_error;
  EXPECT_EQ(status.Timer1Timer(), "");
  EXPECT_EQ(unit.take_error_reports(),
            (std::vector<std::string>{"GetFTDeviceCount - Ошибка основного IO..."}));
  for (int tick = 0; tick < 5; ++tick) status.Timer1Timer();
  EXPECT_TRUE(unit.take_error_reports().empty());
  EXPECT_EQ(status.Timer1Timer(), "");  // blinks on as for a missing programmer
  EXPECT_EQ(status.Timer1Timer(), missing);

  list.count_status = ft_ok;
  status.Timer1Timer();
  EXPECT_TRUE(unit.take_error_reports().empty());
  list.count_status = ft_device_not_found;
  status.Timer1Timer();
  EXPECT_EQ(unit.take_error_reports(),
            (std::vector<std::string>{"GetFTDeviceCount - Устройство не найдено...."}));
}

TEST_F(Usb_status, FailedCountKeepsTheLastGoodCount) {
  list.descriptions = {"FT232R USB UART", "USB-Programmer K-731M"};
  EXPECT_EQ(status.Timer1Timer(), connected);
  list.count_status = ft_insufficient_resources;
  list.asked_indexes.clear();
  EXPECT_EQ(status.Timer1Timer(), connected);
  EXPECT_EQ(list.asked_indexes, (std::vector<uint32_t>{0, 1}));
  EXPECT_EQ(unit.device_count(), 2u);
}

TEST_F(Usb_status, FailingDescriptionIsReportedOncePerDevice) {
  list.descriptions = {"FT232R USB UART", "USB-Programmer K-731M"};
  list.description_status = {ft_invalid_handle, ft_ok};
  EXPECT_EQ(status.Timer1Timer(), connected);
  EXPECT_EQ(unit.take_error_reports(),
            (std::vector<std::string>{"GetFTDeviceDescription - Не правильный дескриптор..."}));
  // Device 1 succeeds at every tick; device 0's failure is still not shown again.
  for (int tick = 0; tick < 3; ++tick) status.Timer1Timer();
  EXPECT_TRUE(unit.take_error_reports().empty());
  list.description_status = {ft_ok, ft_ok};
  status.Timer1Timer();
  list.description_status = {ft_invalid_parameter, ft_ok};
  status.Timer1Timer();
  EXPECT_EQ(unit.take_error_reports(),
            (std::vector<std::string>{"GetFTDeviceDescription - Не правильный параметр ..."}));
}

TEST(D2XXUnitTest, FailedQueryKeepsThePreviousDescription) {
  Scripted_device_list list;
  D2XXUnit unit(list);
  list.descriptions = {"USB-Programmer K-731M", "FT232R USB UART"};
  list.description_status = {ft_ok, ft_device_not_opened};
  EXPECT_EQ(unit.GetFTDeviceDescription(0), ft_ok);
  EXPECT_EQ(unit.GetFTDeviceDescription(1), ft_device_not_opened);
  EXPECT_EQ(unit.device_description(), "USB-Programmer K-731M");
  EXPECT_EQ(unit.take_error_reports(),
            (std::vector<std::string>{"GetFTDeviceDescription - Устройство не открыто..."}));
}

TEST(D2XXUnitTest, DescriptionIsCutAfter49Bytes) {
  Scripted_device_list list;
  D2XXUnit unit(list);
  list.descriptions = {std::string(60, 'x'), std::string(49, 'y'), "short"};
  unit.GetFTDeviceDescription(0);
  EXPECT_EQ(unit.device_description(), std::string(49, 'x'));
  unit.GetFTDeviceDescription(1);
  EXPECT_EQ(unit.device_description(), std::string(49, 'y'));
  unit.GetFTDeviceDescription(2);
  EXPECT_EQ(unit.device_description(), "short");  // no rest of the longer text behind it
}

TEST(D2XXUnitTest, ErrorTextsForEveryStatus) {
  EXPECT_EQ(d2xx_error_caption, "Error");
  const char* suffixes[] = {" - Не правильный дескриптор...", " - Устройство не найдено....",
                            " - Устройство не открыто...",    " - Ошибка основного IO...",
                            " - Недостаточно ресурсов...",    " - Не правильный параметр ..."};
  for (uint32_t status = 1; status <= 6; ++status) {
    EXPECT_EQ(d2xx_error_text("GetFTDeviceCount", status),
              std::string("GetFTDeviceCount") + suffixes[status - 1]);
    EXPECT_EQ(d2xx_error_text("GetFTDeviceDescription", status),
              std::string("GetFTDeviceDescription") + suffixes[status - 1]);
  }
  EXPECT_EQ(d2xx_error_text("GetFTDeviceCount", 7), "");
  EXPECT_EQ(d2xx_error_text("GetFTDeviceCount", 0xFFFFFFFF), "");
}

TEST(D2XXUnitTest, StatusAboveSixAsksForAnEmptyDialog) {
  Scripted_device_list list;
  D2XXUnit unit(list);
  list.count_status = 18;
  EXPECT_EQ(unit.GetFTDeviceCount(), 18u);
  EXPECT_EQ(unit.take_error_reports(), (std::vector<std::string>{""}));
}

}  // namespace
}  // namespace tirna
