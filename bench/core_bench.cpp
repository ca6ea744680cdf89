// How long `tirna520-cli show` spends on a file, and one computation of the report parameters.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "cli/show_format.h"
#include "core/channels/channel_edits.h"
#include "core/files/file_commands.h"
#include "core/image/subtone.h"
#include "core/report/report_params.h"
#include "platform/files/safe_file.h"

namespace {

using namespace tirna;

// A file whose every channel differs, so that no text is the same as the next.
const std::string& sample_file() {
  static const std::string path = [] {
    Workspace ws = start_up_workspace();
    for (int n = 1; n <= channel_count; ++n) {
      store_subtone_dcs(ws.image, n, Side::rx, n % 8, 2, 3, n % 2 == 0);
      store_subtone_ctcss(ws.image, n, Side::tx, 0x10, 0x00);
      if (n % 5 == 0) toggle_tx_inhibit(ws.image, n, true);
    }
    std::string p = "/tmp/tirna-bench-XXXXXX";
    const int fd = ::mkstemp(p.data());
    ::close(fd);
    save_image(safe_files(), p, ws.image);
    return p;
  }();
  return path;
}

void show_file(benchmark::State& state, bool json) {
  const std::string& path = sample_file();
  for (auto _ : state) {
    Workspace ws = start_up_workspace();
    open_parameter_file(safe_files(), ws, path);
    const Window_view view = cli::fresh_window_view(ws);
    std::string out = json ? cli::show_json(ws, view) : cli::show_listing(ws, view);
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK_CAPTURE(show_file, listing, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(show_file, json, true)->Unit(benchmark::kMicrosecond);

void print_wind_blok_full_image(benchmark::State& state) {
  Workspace ws = start_up_workspace();
  open_parameter_file(safe_files(), ws, sample_file());
  Window_view view;
  for (auto _ : state) {
    print_wind_blok(view, ws.image, ws.state);
    benchmark::DoNotOptimize(view);
  }
}
BENCHMARK(print_wind_blok_full_image)->Unit(benchmark::kMicrosecond);

void report_parameters_178(benchmark::State& state) {
  Workspace ws = start_up_workspace();
  open_parameter_file(safe_files(), ws, sample_file());
  Window_view view;
  print_wind_blok(view, ws.image, ws.state);
  for (auto _ : state) {
    auto params = report_parameters(view);
    benchmark::DoNotOptimize(params);
  }
}
BENCHMARK(report_parameters_178)->Unit(benchmark::kMicrosecond);

}  // namespace
