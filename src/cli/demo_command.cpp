// demo: the simulated radio on a pseudo-terminal and the window with its COM1 mapped to it, run
// from a temporary program folder so that the user's own config.ini and Save folder stay as they
// are.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "cli/child_process.h"
#include "cli/commands.h"
#include "core/text/messages.h"
#include "platform/config_file.h"
#include "platform/fixed_disk.h"
#include "platform/ini_file.h"
#include "platform/install_paths.h"
#include "platform/port_names.h"

namespace tirna::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* window_name = "tirna520";
constexpr const char* sim_name = "tirna520-sim";
constexpr const char* help_name = "Tirna520.hlp";
constexpr std::chrono::seconds sim_start_limit{10};
constexpr std::chrono::seconds end_grace{5};

[[noreturn]] void file_failure(const std::string& path, int err) {
  throw Command_failed(exit_file_error,
                       path + ": " + with_full_stop(Io_error::from_errno(err).text()));
}

// Side by side with tirna520-cli (the installed layout: one folder holds the three programs and
// the help file), else where the build tree puts them: src/sim/tirna520-sim and
// program/tirna520 beside src/cli/.
std::string program_beside_cli(const fs::path& cli_folder, const char* name,
                               const fs::path& build_place) {
  for (const fs::path& p : {cli_folder / name, cli_folder / build_place / name}) {
    if (::access(p.c_str(), X_OK) == 0) return p.lexically_normal().string();
  }
  throw Command_failed(exit_file_error, std::string(name) + ": File not found. (" +
                                            (cli_folder / name).string() + ", " +
                                            (cli_folder / build_place / name).string() + ")");
}

// Where the demo's program folders go: a cache folder of the user, not /tmp, which may be a RAM
// disk that the window refuses to run from.
fs::path demo_base() {
  const char* xdg = std::getenv("XDG_CACHE_HOME");
  if (xdg && xdg[0] == '/') return fs::path(xdg) / "tirna520";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return fs::path(home) / ".cache" / "tirna520";
  throw Command_failed(exit_file_error,
                       "Нет папки для демонстрации: не заданы ни XDG_CACHE_HOME, ни HOME.");
}

// The temporary program folder; removed with everything in it when the demo ends.
class Demo_folder {
 public:
  Demo_folder() {
    const fs::path base = demo_base();
    std::error_code ec;
    fs::create_directories(base, ec);
    if (ec) file_failure(base.string(), ec.value());
    std::string pattern = (base / "demo-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) file_failure(base.string(), errno);
    path_ = pattern;
  }
  ~Demo_folder() { remove(); }
  // True when the folder is gone.
  bool remove() {
    std::error_code ec;
    fs::remove_all(path_, ec);
    return !fs::exists(path_, ec);
  }
  Demo_folder(const Demo_folder&) = delete;
  Demo_folder& operator=(const Demo_folder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// config.ini as the window would write it for the COM programmer on COM1, and COM1 mapped to the
// simulator's pseudo-terminal; the Save folder; the help file when there is one.
void furnish(const std::string& folder, const std::string& device, const fs::path& help) {
  Ini_file ini;
  ini.set_integer(config_section, config_key_programmer, 1);
  ini.set_integer(config_section, config_key_port, 0);
  ini.set_integer(config_section, config_key_x, 0);
  ini.set_integer(config_section, config_key_y, 0);
  ini.set_value(ports_section, "COM1", device);
  const std::string config = folder + "/" + config_file_name;
  if (!write_ini_file(config, ini)) file_failure(config, errno);
  std::error_code ec;
  fs::create_directory(fs::path(folder) / "Save", ec);
  if (ec) file_failure(folder + "/Save", ec.value());
  fs::copy_file(help, fs::path(folder) / help_name, ec);
  if (ec) std::cerr << help.string() << ": " << ec.message() << " (справка недоступна)\n";
}

// The first line the simulator prints: its device. Waits at most sim_start_limit.
std::optional<std::string> first_line(int fd) {
  std::string line;
  const auto deadline = std::chrono::steady_clock::now() + sim_start_limit;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return std::nullopt;
    pollfd p{fd, POLLIN, 0};
    const int r = ::poll(&p, 1, static_cast<int>(left.count()));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return std::nullopt;
    char c;
    const ssize_t n = ::read(fd, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return std::nullopt;
    if (c == '\n') return line;
    line += c;
  }
}

Child start_or_fail(const Child_start& start) {
  auto started = start_child(start);
  if (auto* err = std::get_if<int>(&started)) file_failure(start.program, *err);
  return std::get<Child>(started);
}

// Signals that end the demo, and SIGCHLD, are taken only in the wait below: blocked for the
// whole demo, so that none is lost and the folder is always removed.
class Blocked_signals {
 public:
  Blocked_signals() {
    sigemptyset(&set_);
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGCHLD}) sigaddset(&set_, s);
    ::sigprocmask(SIG_BLOCK, &set_, &old_);
  }
  ~Blocked_signals() { ::sigprocmask(SIG_SETMASK, &old_, nullptr); }
  int wait() const {
    for (;;) {
      const int s = ::sigwaitinfo(&set_, nullptr);
      if (s > 0) return s;
    }
  }
  // A signal that ends the demo and is waiting to be taken, taken now; 0 when there is none. A
  // Ctrl-C ends the window too, and its SIGCHLD may come first.
  int pending_end() const {
    sigset_t ending = set_;
    sigdelset(&ending, SIGCHLD);
    const timespec now{0, 0};
    const int s = ::sigtimedwait(&ending, nullptr, &now);
    return s > 0 ? s : 0;
  }

 private:
  sigset_t set_{}, old_{};
};

// Runs the demo; the signal that ended it (0 when the window was closed).
int run_demo() {
  std::error_code ec;
  const fs::path cli_folder = fs::read_symlink("/proc/self/exe", ec).parent_path();
  if (ec) file_failure("/proc/self/exe", ec.value());
  const std::string window = program_beside_cli(cli_folder, window_name, "../../program");
  const std::string sim = program_beside_cli(cli_folder, sim_name, "../sim");
  // The window's own search: beside it (the build tree), else the installed share folder.
  const fs::path help = help_file_path(fs::path(window).parent_path().string());

  // Declared first so that it ends last: the folder is removed before a signal can end the demo.
  const Blocked_signals signals;
  Demo_folder folder;
  if (drive_kind_of(folder.path()) != Drive_kind::fixed) {
    throw Command_failed(exit_file_error,
                         folder.path() +
                             ": папка не на жёстком диске, окно не запустится оттуда. Задайте "
                             "XDG_CACHE_HOME папкой на жёстком диске.");
  }

  Child radio, form;
  int ended_by = 0;
  try {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) file_failure(sim, errno);
    auto started = start_child({sim, {}, {}, out[1]});
    ::close(out[1]);
    const auto device = std::holds_alternative<Child>(started) ? first_line(out[0]) : std::nullopt;
    ::close(out[0]);
    if (auto* err = std::get_if<int>(&started)) file_failure(sim, *err);
    radio = std::get<Child>(started);
    if (!device) throw Command_failed(exit_file_error, sim + ": симулятор не запустился.");
    furnish(folder.path(), *device, help);
    std::cout << "Радиостанция tirna520-sim: " << *device << " (процесс " << radio.pid << ")\n"
              << "Папка программы: " << folder.path() << " (COM1 = " << *device << ")" << std::endl;
    form = start_or_fail({window, {}, folder.path(), -1});
    std::cout << "Окно tirna520: процесс " << form.pid
              << ". Закройте окно, чтобы закончить демонстрацию." << std::endl;

    while (form.running()) {
      const int s = signals.wait();
      if (s != SIGCHLD) {
        ended_by = s;
        break;
      }
      const bool radio_was_running = radio.running();
      reap({&radio, &form});
      if (radio_was_running && !radio.running() && form.running()) {
        std::cerr << "tirna520-sim завершился (" << ending_text(*radio.status)
                  << "); окно работает без радиостанции.\n";
      }
    }
  } catch (...) {
    end_children({&form, &radio}, end_grace);
    throw;
  }
  end_children({&form, &radio}, end_grace);
  if (ended_by == 0) ended_by = signals.pending_end();
  if (folder.remove()) {
    std::cout << "Демонстрация закончена, папка программы удалена." << std::endl;
  } else {
    std::cerr << folder.path() << ": папку программы не удалось удалить.\n";
  }
  // A window that could not start (no display: it aborts) or failed: its own lines stand above on
  // stderr, and the demo did not do what it was asked. One ended from outside (SIGTERM from the
  // session, say) was closed, not failed.
  if (ended_by == 0 && form.status && *form.status != 0) {
    const int s = *form.status;
    const bool ended_from_outside =
        WIFSIGNALED(s) && (WTERMSIG(s) == SIGTERM || WTERMSIG(s) == SIGINT ||
                           WTERMSIG(s) == SIGHUP || WTERMSIG(s) == SIGKILL);
    const std::string line = "Окно tirna520 завершилось: " + ending_text(s) + ".";
    if (!ended_from_outside) throw Command_failed(exit_file_error, line);
    std::cerr << line << '\n';
  }
  return ended_by;
}

}  // namespace

void add_demo_command(CLI::App& app) {
  auto* cmd = app.add_subcommand(
      "demo", "Try the window without a radio: tirna520-sim on a pseudo-terminal as COM1");
  cmd->footer(
      "Starts tirna520-sim on a pseudo-terminal and the window tirna520 in a temporary program "
      "folder,\n$XDG_CACHE_HOME/tirna520/demo-XXXXXX (else ~/.cache/tirna520/demo-XXXXXX; it "
      "must lie on a\nfixed disk), holding config.ini (COM programmer, COM1 mapped to the "
      "simulator), an empty Save\nfolder and the help file. Your own config.ini is not touched. "
      "Closing the window ends the\nsimulator and removes the folder; Ctrl-C ends both as well. "
      "tirna520 and tirna520-sim are\ntaken from tirna520-cli's folder (installed side by side) "
      "or from the build tree\n(src/sim/tirna520-sim, program/tirna520). The help file is the "
      "one the window finds:\nTirna520.hlp beside tirna520 (the build tree's program/), else "
      "../share/tirna520/Tirna520.hlp\nfrom tirna520-cli's folder (installed: "
      "/usr/share/tirna520/Tirna520.hlp).");
  cmd->callback([] {
    // Output into a pipe that closed (demo | head) must not end the demo before it has ended its
    // programs and removed its folder; the children get the default back when they start.
    ::signal(SIGPIPE, SIG_IGN);
    const int signal = run_demo();
    if (signal != 0) {
      // Ended by a signal: end the same way, so that the shell sees it.
      std::cout.flush();
      ::signal(signal, SIG_DFL);
      ::raise(signal);
    }
  });
}

}  // namespace tirna::cli
