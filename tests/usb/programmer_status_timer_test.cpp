// Timer1: the QObject that the main window connects to its status bar and a message box.

#include <gtest/gtest.h>

#include <QStringList>

#include "scripted_device_list.h"
#include "platform/programmer_status_timer.h"

namespace tirna {
namespace {

struct Timer1_test : ::testing::Test {
  Scripted_device_list* list = nullptr;
  std::unique_ptr<Programmer_status_timer> timer;
  QStringList panel;
  QStringList errors;

  void SetUp() override {
    auto scripted = std::make_unique<Scripted_device_list>();
    list = scripted.get();
    timer = std::make_unique<Programmer_status_timer>(std::move(scripted));
    QObject::connect(timer.get(), &Programmer_status_timer::panel_text,
                     [this](const QString& text) { panel << text; });
    QObject::connect(
        timer.get(), &Programmer_status_timer::error_dialog_requested,
        [this](const QString& caption, const QString& text) { errors << caption + u'|' + text; });
  }
};

TEST_F(Timer1_test, StartTicksAtOnceAndThenEverySecond) {
  EXPECT_FALSE(timer->timer().isActive());
  timer->start();
  EXPECT_EQ(panel, QStringList{QString()});
  EXPECT_TRUE(timer->timer().isActive());
  EXPECT_EQ(timer->timer().interval(), 1000);
  EXPECT_FALSE(timer->timer().isSingleShot());
  timer->Timer1Timer();
  EXPECT_EQ(panel, (QStringList{QString(), QStringLiteral("USB-Программатор не подключен")}));
}

TEST_F(Timer1_test, FailingLibraryAsksForOneErrorDialog) {
  list->count_status = ft_io_error;
  for (int tick = 0; tick < 4; ++tick) timer->Timer1Timer();
  EXPECT_EQ(errors, QStringList{QStringLiteral("Error|GetFTDeviceCount - Ошибка основного IO...")});
  EXPECT_EQ(panel.size(), 4);
}

TEST_F(Timer1_test, ComProgrammerAndStoppedPolling) {
  list->descriptions = {"USB-Programmer K-731M"};
  timer->start();
  timer->stop_usb_polling();
  list->descriptions.clear();
  timer->Timer1Timer();
  EXPECT_EQ(panel, QStringList{QStringLiteral("USB-Программатор подключен")});
  timer->set_programmer(1, 0);
  timer->Timer1Timer();
  EXPECT_EQ(panel.back(), QStringLiteral("Программатор COM1"));
}

TEST(Timer1WithoutHardware, ThisMachineShowsTheProgrammerAsNotConnected) {
  Programmer_status_timer timer;
  QStringList panel;
  int errors = 0;
  QObject::connect(&timer, &Programmer_status_timer::panel_text,
                   [&](const QString& text) { panel << text; });
  QObject::connect(&timer, &Programmer_status_timer::error_dialog_requested, [&] { ++errors; });
  timer.start();
  timer.Timer1Timer();
  if (panel.contains(QStringLiteral("USB-Программатор подключен"))) {
    GTEST_SKIP() << "a USB programmer is plugged in";
  }
  EXPECT_EQ(panel, (QStringList{QString(), QStringLiteral("USB-Программатор не подключен")}));
  EXPECT_EQ(errors, 0);
}

}  // namespace
}  // namespace tirna
