// Reading and writing against tirna520-sim at 9600 baud: wall time of the packet phase against the
// line's floor (16 bytes per packet read, 13 per frame written, 10 bits per byte, plus the
// simulator's reaction per packet), and this process's CPU time as a share of the wall time.

#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "core/image/workspace.h"
#include "core/transfer/read_image.h"
#include "core/transfer/write_image.h"
#include "platform/event_loop_clock.h"
#include "platform/serial_port.h"

extern char** environ;

namespace {

using namespace tirna;
using Steady = std::chrono::steady_clock;

QCoreApplication& application() {
  static int argc = 1;
  static char name[] = "bench_link";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

double process_cpu_seconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The simulator for the length of one benchmark.
class Simulator {
 public:
  explicit Simulator(const std::string& reaction_ms) {
    int out[2];
    if (::pipe(out) != 0) std::abort();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<std::string> args = {TIRNA_SIM_PATH, "--reaction-ms", reaction_ms};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, TIRNA_SIM_PATH, &actions, nullptr, argv.data(), environ) != 0) {
      std::abort();
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    char c = 0;
    while (::read(out[0], &c, 1) == 1 && c != '\n') device += c;
    ::close(out[0]);
  }
  ~Simulator() {
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
  }
  std::string device;

 private:
  pid_t pid_ = 0;
};

// Only the moments that matter: the progress window opens (the packet phase starts) and closes.
class Timing_view : public Quiet_transfer_view {
 public:
  void show_progress(std::string_view, std::string_view, int) override { start = Steady::now(); }
  void close_progress() override { end = Steady::now(); }
  void show_message(const Message& m) override { ok = m.icon == Message_icon::information; }
  Steady::time_point start, end;
  bool ok = false;
};

constexpr double byte_seconds = 10.0 / 9600.0;

template <typename Transfer>
void run_transfer(benchmark::State& state, int packets, int bytes_per_packet, Transfer transfer) {
  application();
  const double reaction_ms = static_cast<double>(state.range(0));
  const auto mode =
      state.range(1) == 0 ? SerialPort::Wait_mode::serve_events : SerialPort::Wait_mode::blocking;
  Simulator sim(std::to_string(state.range(0)));
  SerialPort port([](int) { return std::string(); });
  port.set_fixed_device(sim.device);
  port.set_wait_mode(mode);
  Event_loop_clock clock;
  Programmer_choice programmer;
  std::optional<Radio_identification> identification;
  Link_session session{port, clock, programmer, identification};
  const double floor = packets * (bytes_per_packet * byte_seconds + reaction_ms / 1000.0);

  double phase = 0, total = 0, cpu = 0;
  for (auto _ : state) {
    Workspace ws = start_up_workspace();
    ws.state.coding_version = 4;
    new_blok(ws.image, 0, 4);
    Timing_view view;
    const auto t0 = Steady::now();
    const double c0 = process_cpu_seconds();
    const Transfer_result r = transfer(ws, session, view);
    const double c1 = process_cpu_seconds();
    const auto t1 = Steady::now();
    if (!r.ok()) {
      state.SkipWithError("the transfer failed");
      break;
    }
    const double wall = std::chrono::duration<double>(t1 - t0).count();
    state.SetIterationTime(wall);
    phase += std::chrono::duration<double>(view.end - view.start).count();
    total += wall;
    cpu += c1 - c0;
  }
  const auto n = static_cast<double>(state.iterations());
  state.counters["floor_s"] = floor;
  state.counters["phase_s"] = phase / n;
  state.counters["over_floor_%"] = (phase / n / floor - 1.0) * 100.0;
  state.counters["cpu_%"] = cpu / total * 100.0;
}

void Read_image(benchmark::State& state) {
  run_transfer(state, packet_count, 16, [](Workspace& ws, Link_session& s, Transfer_view& v) {
    return read_parameter_image(ws, s, v);
  });
}

void Write_image(benchmark::State& state) {
  run_transfer(state, static_cast<int>(parameter_write_packets.size()), 13,
               [](Workspace& ws, Link_session& s, Transfer_view& v) {
                 return write_parameter_image(ws, s, v);
               });
}

// Arguments: the simulator's reaction time in milliseconds; the port's wait (0: serving events,
// as a window runs it; 1: blocking, as the command line runs it).
BENCHMARK(Read_image)
    ->ArgsProduct({{0, 2}, {0, 1}})
    ->ArgNames({"reaction_ms", "blocking"})
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Write_image)
    ->ArgsProduct({{0, 2}, {0, 1}})
    ->ArgNames({"reaction_ms", "blocking"})
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
