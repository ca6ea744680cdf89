// How long the technician's commands spend on the heaviest inputs: diff of two images that differ
// everywhere, the CSV export and import of 16 varied channels, a paste of the largest table a
// clipboard may hold, and setting all shown parameters.

#include <benchmark/benchmark.h>

#include <random>

#include "core/compare/image_compare.h"
#include "core/edit/parameter_edit.h"
#include "core/files/channel_csv.h"
#include "core/files/file_store.h"
#include "core/image/frequency.h"
#include "core/image/subtone.h"
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

// The largest table allowed (csv_size_limit) as the table's Paste gets it: rows of the export's
// layout with a Location each, pasted at channel 1, so that 16 are applied and every other row is
// refused as past channel 16.
void csv_paste_of_the_largest_table(benchmark::State& state) {
  const Workspace source = varied_workspace();
  const std::string csv = export_channels_csv(source.image, source.state.coding_version);
  std::vector<std::string> rows;  // the 16 rows, each without its Location
  std::size_t at = csv.find('\n') + 1;
  while (at < csv.size()) {
    const std::size_t end = csv.find('\n', at) + 1;
    rows.push_back(csv.substr(csv.find(',', at), end - csv.find(',', at)));
    at = end;
  }
  std::string table = csv.substr(0, csv.find('\n') + 1);
  for (std::size_t location = 1;; ++location) {
    const std::string line = std::to_string(location) + rows[(location - 1) % rows.size()];
    if (table.size() + line.size() > csv_size_limit) break;
    table += line;
  }
  Workspace target = start_up_workspace();
  frq_set(target.state, 0);
  std::size_t refused = 0;
  for (auto _ : state) {
    Param_image image = target.image;
    auto result = paste_channels_csv(image, target.state, table, 1);
    refused = result.problems.size();
    benchmark::DoNotOptimize(result);
  }
  state.counters["rows refused"] = static_cast<double>(refused);
  state.counters["MB"] = static_cast<double>(table.size()) / (1 << 20);
}
BENCHMARK(csv_paste_of_the_largest_table)->Unit(benchmark::kMillisecond);

// The most rows a clipboard of that size holds, "1" under a Location header two million times,
// pasted as the window pastes it: every row but the first refused, the first 1000 listed.
void csv_paste_of_two_million_rows(benchmark::State& state) {
  std::string table = "Location\n";
  while (table.size() + 2 <= csv_size_limit) table += "1\n";
  Workspace target = start_up_workspace();
  frq_set(target.state, 0);
  std::size_t refused = 0;
  for (auto _ : state) {
    Param_image image = target.image;
    auto result = paste_channels_csv(image, target.state, table, 1, 1000);
    refused = result.problems.size() + result.unlisted_problems;
    benchmark::DoNotOptimize(result);
  }
  state.counters["rows refused"] = static_cast<double>(refused);
}
BENCHMARK(csv_paste_of_two_million_rows)->Unit(benchmark::kMillisecond);

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
