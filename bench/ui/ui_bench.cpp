// print_wind_blok on a full image (every cell, box, list and label changes each time) and the
// start-up of the main window to its first shown frame. Runs headless unless a platform is named.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>

#include "core/image/frequency.h"
#include "core/image/subtone.h"
#include "core/image/workspace.h"
#include "core/pages/extra_data.h"
#include "ui/app/main_window.h"

namespace tirna {
namespace {

// Two images that differ in every shown value: frequencies, sub-tones of all kinds, flags, every
// setting and a full free text.
Param_image full_image(int variant) {
  Param_image image;
  new_blok(image, 0, 2);
  for (int n = 1; n <= channel_count; ++n) {
    store_frequency(image, n, Side::rx, 146000000 + 1000000 * n + 5000 * variant, 2);
    store_frequency(image, n, Side::tx, 150000000 + 1000000 * n + 12500 * variant, 2);
    if ((n + variant) % 2 == 0) {
      store_subtone_ctcss(image, n, Side::rx, 0x12, static_cast<uint8_t>(0x34 + variant));
      store_subtone_dcs(image, n, Side::tx, 7, 5, 4, true);
    } else {
      store_subtone_dcs(image, n, Side::rx, 0, 2, 3, false);
      store_subtone_ctcss(image, n, Side::tx, 0x25, 0x03);
    }
    set_channel_flag(image, n, Channel_flag::narrow, variant == 1);
    set_channel_flag(image, n, Channel_flag::low_power, variant == 0);
    set_channel_flag(image, n, Channel_flag::no_scan, variant == 1);
    set_channel_flag(image, n, Channel_flag::busy_lockout, variant == 0);
  }
  const uint8_t settings[2][16] = {{0x60, 0x03, 0x00, 0x05, 0x01, 0x00, 0x30, 0x06, 0xFF, 0xFF,
                                    0x01, 0x05, 0x28, 0x00, 0x00, 0x00},
                                   {0x88, 0x14, 0x07, 0x12, 0x02, 0xFF, 0x15, 0x00, 0xFF, 0xFF,
                                    0x01, 0x07, 0x00, 0x80, 0x45, 0x12}};
  for (int i = 0; i < 16; ++i) image.set_byte(0x2B0 + i, settings[variant][i]);
  set_dop_dat(image, std::string(192, static_cast<char>('A' + variant)));
  set_time(image, [variant] { return Local_time{2026, 12, 8, 9 + variant, 5, 7}; });
  return image;
}

void BM_window_print_wind_blok_full_image(benchmark::State& state) {
  QTemporaryDir folder;
  QDir::setCurrent(folder.path());
  TForm1 w;
  w.show();
  if (!QTest::qWaitForWindowExposed(&w)) state.SkipWithError("the window was not shown");
  const Param_image images[2] = {full_image(0), full_image(1)};
  int i = 0;
  for (auto _ : state) {
    w.workspace().image = images[i ^= 1];
    w.print_wind_blok();
  }
}
BENCHMARK(BM_window_print_wind_blok_full_image);

// The usual case: an edit changes one value and the refresh rewrites everything.
void BM_window_print_wind_blok_one_change(benchmark::State& state) {
  QTemporaryDir folder;
  QDir::setCurrent(folder.path());
  TForm1 w;
  w.show();
  if (!QTest::qWaitForWindowExposed(&w)) state.SkipWithError("the window was not shown");
  w.workspace().image = full_image(0);
  w.print_wind_blok();
  for (auto _ : state) {
    toggle_channel_flag(w.workspace().image, 5, Channel_flag::narrow);
    w.print_wind_blok();
  }
}
BENCHMARK(BM_window_print_wind_blok_one_change);

void BM_start_up_to_first_shown_window(benchmark::State& state) {
  QTemporaryDir folder;
  QDir::setCurrent(folder.path());
  for (auto _ : state) {
    auto w = std::make_unique<TForm1>();
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get())) state.SkipWithError("the window was not shown");
    state.PauseTiming();
    w.reset();
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_start_up_to_first_shown_window)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tirna

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Temporary folders may lie on a RAM disk; the window's drive check is not what is measured.
  setenv("TIRNA520_DRIVE", "fixed", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
