// tirna520-sim: a Тирна-520 radio on a pseudo-terminal (or a given serial device), for tests,
// benchmarks and trying the program without a radio.
//
// Prints the device path on the first line of stdout, then answers the handshake, read requests,
// write frames and "END" at the pace of a 9600-baud line until SIGTERM, SIGINT or SIGHUP, until
// the radio hangs up (--hangup-after) or after --exit-after-ends closing strings.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <variant>

#include "core/files/param_file.h"
#include "core/files/safe_file.h"
#include "core/image/param_image.h"
#include "sim/paced_line.h"
#include "sim/radio_model.h"
#include "sim/radio_queue.h"

#include <algorithm>
#include <filesystem>

namespace {

using namespace tirna;
using namespace tirna::sim;

volatile sig_atomic_t stop_signal = 0;
void on_signal(int s) {
  stop_signal = s;
}

std::vector<uint8_t> parse_hex(const std::string& text) {
  std::vector<uint8_t> out;
  std::string digits;
  for (char c : text) {
    if (std::isxdigit(static_cast<unsigned char>(c))) {
      digits += c;
    } else if (c != ' ' && c != ':' && c != ',') {
      throw CLI::ValidationError("hex bytes", "not a hex digit: " + std::string(1, c));
    }
  }
  if (digits.size() % 2 != 0) throw CLI::ValidationError("hex bytes", "odd number of digits");
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    out.push_back(static_cast<uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
  }
  return out;
}

void make_raw(int fd, speed_t speed) {
  termios t{};
  if (tcgetattr(fd, &t) != 0) return;
  cfmakeraw(&t);
  cfsetispeed(&t, speed);
  cfsetospeed(&t, speed);
  t.c_cflag |= CLOCAL | CREAD;
  tcsetattr(fd, TCSANOW, &t);
}

struct Device {
  int fd = -1;
  int held_peer = -1;  // our own handle on the pty's terminal side
  std::string path;
};

Device open_pty() {
  Device d;
  d.fd = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (d.fd < 0 || grantpt(d.fd) != 0 || unlockpt(d.fd) != 0) return {};
  d.path = ptsname(d.fd);
  // Holding the terminal side open keeps the pty alive between two programs that open it; without
  // it the master would report a hang-up each time the program closes its port.
  d.held_peer = ::open(d.path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (d.held_peer < 0) return {};
  make_raw(d.held_peer, B9600);
  return d;
}

// The log, written line by line (a killed simulator keeps it), opened by the rules of every save:
// a link another user planted in /tmp is not followed.
class Log {
 public:
  explicit Log(int fd) : fd_(fd) {}
  ~Log() {
    if (fd_ >= 0) ::close(fd_);
  }
  Log(const Log&) = delete;
  Log& operator=(const Log&) = delete;
  void line(const std::string& text) {
    if (fd_ < 0) return;
    const double ms = std::chrono::duration<double, std::milli>(Sim_clock::now() - start_).count();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "+%11.3f ms  ", ms);
    const std::string out = stamp + text + "\n";
    std::size_t done = 0;
    while (done < out.size()) {
      const ssize_t n = ::write(fd_, out.data() + done, out.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return;
      done += static_cast<std::size_t>(n);
    }
  }

 private:
  int fd_;
  Sim_clock::time_point start_ = Sim_clock::now();
};

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"tirna520-sim: a simulated Тирна-520 radio on a pseudo-terminal"};
  app.set_version_flag("--version", "tirna520-sim " TIRNA_VERSION);
  std::string device_path, memory_path, save_path, log_path, identification_hex;
  std::string band_code_text = "0x00", noise_hex, noise_between_hex, reply_noise_hex;
  int version = 4, baud = 9600;
  double reaction_ms = 0, packet_delay_ms = 0;
  bool silent = false, nak = false;
  long silent_after = -1, hangup_after = -1, exit_after_ends = -1;
  std::vector<std::string> stuck_texts;
  app.add_option("--device", device_path, "Serve this serial device instead of a new pty");
  app.add_option("--memory", memory_path, "Radio memory from a parameter file (*.tn5)");
  app.add_option("--band-code", band_code_text, "Band code of the identification (0x00, 0x06)");
  app.add_option("--radio-version", version, "Radio version of the identification")
      ->check(CLI::Range(0, 255));
  app.add_option("--ident", identification_hex, "The 8 identification bytes, hex");
  app.add_option("--reaction-ms", reaction_ms, "Time before every answer")
      ->check(CLI::Range(0.0, 60000.0));
  app.add_option("--packet-delay-ms", packet_delay_ms,
                 "Time besides, before every read reply and frame answer")
      ->check(CLI::Range(0.0, 60000.0));
  app.add_flag("--silent", silent, "Never answer");
  app.add_option("--noise", noise_hex, "Bytes sent before the first acknowledgement, hex");
  app.add_option("--noise-between", noise_between_hex,
                 "Bytes sent before every later acknowledgement, hex");
  app.add_option("--reply-noise", reply_noise_hex, "Bytes sent before every read reply, hex");
  app.add_flag("--nak", nak, "Answer write frames with 0x15");
  bool echo = false;
  std::string request_answer_hex;
  app.add_flag("--echo", echo, "Send every byte received back at once, before any answer");
  app.add_option("--request-answer", request_answer_hex,
                 "Answer the programming request with these bytes, hex (15: refused)");
  app.add_option("--silent-after", silent_after, "Answer this many packets, then fall silent");
  app.add_option("--hangup-after", hangup_after, "Hang up after answering this many packets");
  app.add_option("--stuck", stuck_texts,
                 "A memory address (0x000-0x3FF) whose byte write frames do not change, as a worn "
                 "memory cell; may be repeated");
  app.add_option("--exit-after-ends", exit_after_ends, "Exit after this many END strings");
  app.add_option("--baud", baud, "Line speed")->check(CLI::Range(300, 115200));
  app.add_option("--save", save_path,
                 "Save the memory to this parameter file on exit (with --radios: a folder, where "
                 "each radio's memory is saved under its file's name when it is taken away)");
  std::string radios_dir;
  double unplugged_ms = 1500;
  app.add_option("--radios", radios_dir,
                 "Play the radios of this folder one after the other, one *.tn5 each (in name "
                 "order), identified by its memory; NAME.stuck beside NAME.tn5 lists addresses "
                 "stuck in that radio. A radio is taken away once the program lets it go without "
                 "a read or a write")
      ->type_name("DIR")
      ->excludes("--memory");
  app.add_option("--unplugged-ms", unplugged_ms,
                 "With --radios: how long no radio answers between two")
      ->check(CLI::Range(0.0, 600000.0));
  app.add_option("--log", log_path, "Log every request and frame to this file");
  CLI11_PARSE(app, argc, argv);

  Radio_options options;
  uint8_t band_code = 0;
  try {
    band_code = static_cast<uint8_t>(std::stoi(band_code_text, nullptr, 0));
    options.noise = parse_hex(noise_hex);
    options.noise_between = parse_hex(noise_between_hex);
    options.reply_noise = parse_hex(reply_noise_hex);
    options.request_answer = parse_hex(request_answer_hex);
    for (const auto& text : stuck_texts) {
      std::size_t used = 0;
      int address = -1;
      try {
        address = std::stoi(text, &used, 0);
      } catch (const std::exception&) {
      }
      if (used != text.size() || address < 0 || address >= memory_size) {
        throw std::invalid_argument("--stuck: not a memory address: " + text);
      }
      options.stuck.push_back(address);
    }
    options.identification = identification_hex.empty()
                                 ? std::vector<uint8_t>{0x50,
                                                        0x31,
                                                        0x36,
                                                        0x30,
                                                        0x30,
                                                        band_code,
                                                        static_cast<uint8_t>(version),
                                                        0x00}
                                 : parse_hex(identification_hex);
  } catch (const std::exception& e) {
    std::cerr << "tirna520-sim: " << e.what() << '\n';
    return 2;
  }
  options.silent = silent;
  options.echo = echo;
  if (nak) options.frame_answer = 0x15;
  options.reaction = std::chrono::microseconds(static_cast<long>(reaction_ms * 1000));
  options.packet_delay = std::chrono::microseconds(static_cast<long>(packet_delay_ms * 1000));
  options.silent_after = silent_after;
  options.hangup_after = hangup_after;

  std::vector<Queued_radio> radios;
  if (radios_dir.empty()) {
    Queued_radio radio{"radio", Param_image{}, options};
    if (memory_path.empty()) {
      new_blok(radio.memory, band_code == band_code_high ? 1 : 0, static_cast<uint8_t>(version));
    } else {
      auto loaded = load_image(memory_path);
      if (auto* error = std::get_if<Io_error>(&loaded)) {
        std::cerr << "tirna520-sim: " << memory_path << ": " << error->text() << '\n';
        return 1;
      }
      radio.memory = std::get<Param_image>(loaded);
    }
    radios.push_back(std::move(radio));
  } else {
    std::error_code ec;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(radios_dir, ec)) {
      if (entry.path().extension() == ".tn5") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    if (ec || files.empty()) {
      std::cerr << "tirna520-sim: " << radios_dir << ": no *.tn5 radios\n";
      return 1;
    }
    for (const auto& file : files) {
      auto loaded = load_image(file.string());
      if (auto* error = std::get_if<Io_error>(&loaded)) {
        std::cerr << "tirna520-sim: " << file.string() << ": " << error->text() << '\n';
        return 1;
      }
      Queued_radio radio{file.filename().string(), std::get<Param_image>(loaded), options};
      radio.options.identification = identification_of(radio.memory, options.identification);
      std::ifstream stuck(std::filesystem::path(file).replace_extension(".stuck"));
      for (std::string text; stuck >> text;) {
        char* end = nullptr;
        const long address = std::strtol(text.c_str(), &end, 0);
        if (*end != '\0' || address < 0 || address >= memory_size) {
          std::cerr << "tirna520-sim: " << file.string() << ": not a memory address: " << text
                    << '\n';
          return 2;
        }
        radio.options.stuck.push_back(static_cast<int>(address));
      }
      radios.push_back(std::move(radio));
    }
  }

  Device device;
  if (device_path.empty()) {
    device = open_pty();
  } else {
    device.path = device_path;
    device.fd = ::open(device_path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (device.fd >= 0) make_raw(device.fd, B9600);
  }
  if (device.fd < 0) {
    std::cerr << "tirna520-sim: cannot open " << (device_path.empty() ? "a pty" : device_path)
              << ": " << std::strerror(errno) << '\n';
    return 1;
  }

  int log_fd = -1;
  if (!log_path.empty()) {
    auto opened = open_growing_file(log_path);
    if (auto* error = std::get_if<Io_error>(&opened)) {
      std::cerr << "tirna520-sim: " << log_path << ": " << error->text() << '\n';
      return 1;
    }
    log_fd = std::get<int>(opened);
  }
  Log log(log_fd);
  std::optional<std::chrono::microseconds> gap;
  if (!radios_dir.empty()) gap = std::chrono::microseconds(static_cast<long>(unplugged_ms * 1000));
  Radio_queue radio(std::move(radios), gap);
  radio.log = [&](const std::string& text) { log.line(text); };
  int status = 0;
  auto save = [&](const Queued_radio& r) {
    if (save_path.empty()) return;
    const std::string path =
        radios_dir.empty() ? save_path : (std::filesystem::path(save_path) / r.name).string();
    if (auto error = save_image(path, r.memory)) {
      std::cerr << "tirna520-sim: " << path << ": " << error->text() << '\n';
      status = 1;
    }
  };
  radio.unplugged = save;
  Paced_line line(baud);

  // Signals are blocked except inside ppoll, so that none is lost between two waits.
  sigset_t blocked, waiting;
  sigemptyset(&blocked);
  for (int s : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&blocked, s);
  sigprocmask(SIG_BLOCK, &blocked, &waiting);
  struct sigaction action {};
  action.sa_handler = on_signal;
  for (int s : {SIGTERM, SIGINT, SIGHUP}) sigaction(s, &action, nullptr);
  ::signal(SIGPIPE, SIG_IGN);

  // Wake-ups as precise as the kernel allows: every byte of an answer leaves at its own time.
  prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);

  std::cout << device.path << std::endl;  // the first line: where to connect

  std::string reason = "signal";
  while (stop_signal == 0) {
    const auto now = Sim_clock::now();
    radio.advance(now);
    while (auto byte = line.next_received()) {
      for (const Answer& a : radio.feed(byte->first, byte->second)) {
        line.send(a.bytes, byte->second + a.delay);
      }
    }
    const std::vector<uint8_t> out = line.due(now);
    if (!out.empty() && ::write(device.fd, out.data(), out.size()) < 0 && errno != EAGAIN) {
      reason = std::string("write failed: ") + std::strerror(errno);
      break;
    }
    auto next = line.next_event();
    if (const auto plug = radio.next_event(); plug && (!next || *plug < *next)) next = plug;
    if (radio.hung_up() && !next) {
      reason = "hung up";
      break;
    }
    if (exit_after_ends >= 0 && radio.ends() >= exit_after_ends && !next) {
      reason = "END count reached";
      break;
    }

    pollfd pfd{device.fd, POLLIN, 0};
    timespec timeout{};
    if (next) {
      const auto wait = std::max(Sim_clock::duration::zero(), *next - Sim_clock::now());
      const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
      timeout.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
      timeout.tv_nsec = static_cast<long>(ns % 1'000'000'000);
    }
    const int r = ppoll(&pfd, 1, next ? &timeout : nullptr, &waiting);
    if (r < 0) {
      if (errno == EINTR) continue;
      reason = std::string("poll failed: ") + std::strerror(errno);
      break;
    }
    if (r > 0 && (pfd.revents & POLLIN)) {
      uint8_t buffer[512];
      const ssize_t n = ::read(device.fd, buffer, sizeof buffer);
      if (n > 0) {
        line.received(buffer, static_cast<std::size_t>(n), Sim_clock::now());
      } else if (n < 0 && errno != EAGAIN) {
        reason = std::string("read failed: ") + std::strerror(errno);
        break;
      }
    } else if (r > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL))) {
      reason = "the device hung up";
      break;
    }
  }
  log.line("exit: " + reason);

  if (device.held_peer >= 0) ::close(device.held_peer);
  ::close(device.fd);
  // The radio still plugged in (the single one) keeps what the program left in it.
  const auto& all = radio.radios();
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (radio.plugged() == static_cast<long>(i)) save(all[i]);
  }
  return status;
}
