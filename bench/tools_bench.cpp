// How long the technician's commands spend on the heaviest inputs: diff of two images that differ
// everywhere, the CSV export and import of 16 varied channels, and setting all shown parameters.

#include <benchmark/benchmark.h>

#include <random>

#include "core/files/channel_csv.h"
#include "core/image/frequency.h"
#include "core/image/subtone.h"
#include "core/compare/image_compare.h"
#include "core/edit/parameter_edit.h"
#include "core/report/report_params.h"

namespace {

using namespace tirna;

Param_image random_image(unsigned seed) {
  std::mt19937 random(seed);
  Param_image image;
  for (int k = 1; k <= packet_count; ++k) {
    Packet p{};
    for (auto& b : p) b = static_cast<uint8_t>(random());
    image.set_packet(k, p);
  }
  return image;
}

Workspace varied_workspace() {
  Workspace ws = start_up_workspace();
  frq_set(ws.state, 0);
  for (int n = 1; n <= channel_count; ++n) {
    store_frequency(ws.image, n, Side::rx, 150000000 + 25000 * n, ws.state.coding_version);
    store_subtone_dcs(ws.image, n, Side::rx, n % 8, 2, 3, n % 2 == 0);
    store_subtone_ctcss(ws.image, n, Side::tx, 0x10, 0x00);
  }
  return ws;
}

void diff_everything_differs(benchmark::State& state) {
  const Param_image a = random_image(1), b = random_image(2);
  for (auto _ : state) {
    auto c = compare_images(a, b);
    benchmark::DoNotOptimize(c);
  }
}
BENCHMARK(diff_everything_differs)->Unit(benchmark::kMillisecond);

void csv_export(benchmark::State& state) {
  const Workspace ws = varied_workspace();
  for (auto _ : state) {
    auto csv = export_channels_csv(ws.image, ws.state.coding_version);
    benchmark::DoNotOptimize(csv);
  }
}
BENCHMARK(csv_export)->Unit(benchmark::kMicrosecond);

void csv_import_into_new_file(benchmark::State& state) {
  const Workspace source = varied_workspace();
  const std::string csv = export_channels_csv(source.image, source.state.coding_version);
  Workspace target = start_up_workspace();
  frq_set(target.state, 0);
  for (auto _ : state) {
    Param_image image = target.image;
    auto result = import_channels_csv(image, target.state, csv);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(csv_import_into_new_file)->Unit(benchmark::kMicrosecond);

void set_all_175_parameters(benchmark::State& state) {
  const Workspace source = varied_workspace();
  Window_view view;
  print_wind_blok(view, source.image, source.state);
  std::vector<std::pair<std::string, std::string>> assignments;
  for (const auto& p : report_parameters(view)) {
    if (p.name != "model" && p.name != "nomer" && p.name != "frq") {
      assignments.emplace_back(p.name, p.text);
    }
  }
  Workspace target = start_up_workspace();
  frq_set(target.state, 0);
  for (auto _ : state) {
    Workspace ws = target;
    auto outcomes = apply_assignments(ws, assignments);
    benchmark::DoNotOptimize(outcomes);
  }
}
BENCHMARK(set_all_175_parameters)->Unit(benchmark::kMicrosecond);

}  // namespace
