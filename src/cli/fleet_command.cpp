// fleet: one parameter file into radio after radio, on one or more programmer ports at once, each
// radio backed up, written, read back, given its own free text and recorded in a journal.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QThread>
#include <clocale>
#include <csignal>
#include <iostream>
#include <memory>
#include <mutex>
#include <map>
#include <set>

#include "cli/commands.h"
#include "cli/file_io.h"
#include "cli/link_run.h"
#include "cli/port_mapping.h"
#include "cli/qt_application.h"
#include "cli/readback.h"
#include "cli/terminal_output.h"
#include "core/fleet/fleet_worker.h"
#include "core/text/format.h"
#include "core/text/messages.h"
#include "platform/device_lock.h"
#include "platform/event_loop_clock.h"
#include "platform/files/safe_file.h"
#include "platform/port_names.h"
#include "platform/serial_port.h"
#include "platform/stop_signals.h"

namespace tirna::cli {
namespace {

struct Fleet_options {
  std::vector<std::string> ports;
  std::string file, texts, backup_dir, journal, program_folder;
  long count = 0;
};

// The separator a spreadsheet of this locale expects: ";" where the decimal mark is ",".
char locale_separator() {
  std::setlocale(LC_NUMERIC, "");
  const char* mark = std::localeconv()->decimal_point;
  const char separator = mark != nullptr && std::string_view(mark) == "," ? ';' : ',';
  std::setlocale(LC_NUMERIC, "C");
  return separator;
}

// The journal: appended row by row, each on the disk before the next radio is taken.
class Journal_file {
 public:
  explicit Journal_file(const std::string& path) : path_(path) {
    if (path.empty()) return;
    std::string existing;
    const auto old = read_file(path, csv_size_limit);
    if (const auto* text = std::get_if<std::string>(&old)) {
      existing = *text;
    } else if (std::get<Io_error>(old).kind != Io_error::file_not_found) {
      throw Command_failed(exit_file_error, path + ": " + with_full_stop(std::get<Io_error>(old).text()));
    }
    Journal_contents contents = read_journal(existing);
    done = std::move(contents.done);
    separator = contents.separator.value_or(locale_separator());  // the journal's own, if any
    // Another user's link is not followed; a FIFO or device is not a journal.
    fd_ = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK,
                 0644);
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
      const int code = fd_ < 0 ? errno : EINVAL;
      if (fd_ >= 0) ::close(fd_);
      fd_ = -1;
      throw Command_failed(exit_file_error,
                           path + ": " + with_full_stop(Io_error::from_errno(code).text()));
    }
    if (st.st_size == 0) append(journal_start(separator));
    else if (!existing.empty() && existing.back() != '\n') append("\r\n");
  }
  ~Journal_file() {
    if (fd_ >= 0) ::close(fd_);
  }

  // Empty, or why the row could not be kept.
  std::string append(const std::string& text) {
    if (fd_ < 0) return "";
    std::size_t done_bytes = 0;
    while (done_bytes < text.size()) {
      const ssize_t n = ::write(fd_, text.data() + done_bytes, text.size() - done_bytes);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return path_ + ": " + with_full_stop(Io_error::from_errno(errno).text());
      done_bytes += static_cast<std::size_t>(n);
    }
    if (::fdatasync(fd_) != 0) {
      return path_ + ": " + with_full_stop(Io_error::from_errno(errno).text());
    }
    return "";
  }

  std::set<Done_radio> done;
  char separator = ',';

 private:
  std::string path_;
  int fd_ = -1;
};

const char* phase_text(Fleet_phase phase) {
  switch (phase) {
    case Fleet_phase::waiting:
      return "waiting for a radio";
    case Fleet_phase::reading:
      return "reading";
    case Fleet_phase::writing:
      return "writing";
    case Fleet_phase::writing_text:
      return "writing the free text";
    case Fleet_phase::checking:
      return "checking";
    case Fleet_phase::unplugging:
      return "unplug the radio";
  }
  return "";
}

// What the ports share: the journal, the totals, the display, the count.
class Fleet_state {
 public:
  Fleet_state(Journal_file& journal, std::size_t ports, long count, Stop_signals& stop,
              std::string file_sha256)
      : journal_(journal), lines_(ports), counts_(ports), count_(count), stop_(stop),
        file_sha256_(std::move(file_sha256)), terminal_(::isatty(STDOUT_FILENO) == 1) {}

  struct Port_counts {
    int done = 0, failed = 0;
  };

  void set_name(std::size_t port, const std::string& name) {
    std::lock_guard lock(mutex_);
    lines_[port].name = name;
  }
  void phase(std::size_t port, Fleet_phase phase, const std::string& number) {
    std::lock_guard lock(mutex_);
    Line& line = lines_[port];
    line.phase = phase_text(phase);
    if (!number.empty() && phase != Fleet_phase::waiting) line.phase += " " + number;
    line.progress.clear();
    if (terminal_) {
      redraw();
    } else if (line.phase != line.printed) {
      std::cout << line.name << ": " << line.phase << '\n' << std::flush;
      line.printed = line.phase;
      stop_if_output_closed();
    }
  }
  void progress(std::size_t port, const std::string& text) {
    if (!terminal_) return;
    std::lock_guard lock(mutex_);
    lines_[port].progress = text;
    redraw();
  }
  bool already_done(const std::string& number) {
    std::lock_guard lock(mutex_);
    return journal_.done.count({number, file_sha256_}) != 0;
  }
  void note(std::size_t port, const std::string& text) {
    std::lock_guard lock(mutex_);
    print_event(lines_[port].name + ": " + text);
  }
  bool take() {
    std::lock_guard lock(mutex_);
    if (ended_locked()) return false;
    ++taken_;
    return true;
  }
  bool run_ends() {
    std::lock_guard lock(mutex_);
    return ended_locked();
  }
  void finished(std::size_t port, const Journal_row& row) {
    std::lock_guard lock(mutex_);
    const bool done = row.result == Radio_result::done || row.result == Radio_result::already_done;
    if (done) {
      ++counts_[port].done;
      if (!row.factory_number.empty()) journal_.done.emplace(row.factory_number, row.file_sha256);
    } else {
      ++counts_[port].failed;
    }
    worst_ = std::max(worst_, row.exit_status);
    std::string event = lines_[port].name + ": " + (row.factory_number.empty() ? "(no number)" : row.factory_number) + " " +
                        std::string(result_text(row.result));
    if (!row.backup.empty()) event += ", backup " + row.backup;
    if (!row.note.empty()) event += " (" + row.note + ")";
    print_event(event);
    if (terminal_) raw_out() << '\a' << std::flush;
    if (const std::string failure = journal_.append(journal_line(row, journal_.separator));
        !failure.empty()) {
      print_failure(failure + " The run ends.");
      journal_failed_ = true;
      worst_ = std::max<int>(worst_, exit_file_error);
    }
  }
  void port_failed(std::size_t port, const std::string& text, int status) {
    std::lock_guard lock(mutex_);
    worst_ = std::max(worst_, status);
    lines_[port].phase = "port failed";
    print_failure(text);
  }
  // The totals, the display's last state left on the screen; on standard error when standard
  // output was closed.
  int close() {
    std::lock_guard lock(mutex_);
    std::ostream& out = std::cout ? std::cout : std::cerr;
    if (terminal_ && drawn_ > 0) out << '\n';
    int done = 0, failed = 0;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      out << lines_[i].name << ": done " << counts_[i].done << ", failed " << counts_[i].failed
          << '\n';
      done += counts_[i].done;
      failed += counts_[i].failed;
    }
    out << "Total: done " << done << ", failed " << failed << '\n' << std::flush;
    return worst_;
  }

 private:
  struct Line {
    std::string name, phase, progress, printed;
  };
  bool ended_locked() const {
    return journal_failed_ || stop_.signal() != 0 || (count_ > 0 && taken_ >= count_);
  }
  void print_event(const std::string& text) {
    if (terminal_) clear_block();
    std::cout << text << '\n';
    if (terminal_) redraw();
    std::cout << std::flush;
    stop_if_output_closed();
  }
  // Failures go to standard error, as every command's do.
  void print_failure(const std::string& text) {
    if (terminal_) clear_block();
    std::cout << std::flush;
    std::cerr << text << '\n' << std::flush;
    if (terminal_) redraw();
  }
  // Nobody reads the run's lines any more (| head): the run stops as at Ctrl-C.
  void stop_if_output_closed() {
    if (!std::cout) stop_.stop(SIGPIPE);
  }
  void clear_block() {
    std::cout << std::flush;
    for (int i = 0; i < drawn_; ++i) raw_out() << "\033[1A\r\033[2K";
    drawn_ = 0;
  }
  void redraw() {
    clear_block();
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      std::cout << lines_[i].name << ": " << lines_[i].phase;
      if (!lines_[i].progress.empty()) std::cout << " " << lines_[i].progress;
      std::cout << "  | done " << counts_[i].done << ", failed " << counts_[i].failed << '\n';
    }
    drawn_ = static_cast<int>(lines_.size());
    std::cout << std::flush;
  }

  std::mutex mutex_;
  Journal_file& journal_;
  std::vector<Line> lines_;
  std::vector<Port_counts> counts_;
  long count_;
  long taken_ = 0;
  Stop_signals& stop_;
  std::string file_sha256_;
  bool terminal_;
  bool journal_failed_ = false;
  int drawn_ = 0;
  int worst_ = exit_ok;
};

// One port's view of its transfers: no dialogs; the progress goes to the port's live line.
class Port_view : public Quiet_transfer_view {
 public:
  Port_view(Fleet_state& state, std::size_t port) : state_(state), port_(port) {}
  void show_progress(std::string_view, std::string_view, int maximum) override {
    update_progress(Progress{0, maximum});
  }
  void update_progress(const Progress& p) override { state_.progress(port_, p.label()); }
  void close_progress() override { state_.progress(port_, ""); }

 private:
  Fleet_state& state_;
  std::size_t port_;
};

class Port_observer : public Fleet_observer {
 public:
  Port_observer(Fleet_state& state, std::size_t port) : state_(state), port_(port) {}
  void phase(Fleet_phase phase, const std::string& number) override {
    state_.phase(port_, phase, number);
  }
  bool already_done(const std::string& number) override { return state_.already_done(number); }
  void note(const std::string& text) override { state_.note(port_, text); }
  bool take() override { return state_.take(); }
  void finished(const Journal_row& row) override { state_.finished(port_, row); }
  bool run_ends() override { return state_.run_ends(); }

 private:
  Fleet_state& state_;
  std::size_t port_;
};

std::string sha256_hex(const std::string& bytes) {
  return QCryptographicHash::hash(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())),
                                  QCryptographicHash::Sha256)
      .toHex()
      .toStdString();
}

void run_fleet(const Fleet_options& o) {
  // Everything that can be refused is refused before any radio is touched. One programmer given
  // by two names (a link in /dev/serial/by-id, a COMn mapping) would be two workers on one line.
  std::vector<std::string> devices;
  std::map<std::string, std::string> port_of_device;
  for (const std::string& port : o.ports) {
    std::string device = port;
    if (const auto n = com_port_number(port)) {
      const Port_mapping mapping =
          map_com_port(*n, program_folder_of(o.program_folder), !o.program_folder.empty());
      std::cout << "Порт " << port << ": " << mapping.device << " (" << mapping.source << ")\n";
      device = mapping.device;
    }
    const std::string canonical = canonical_device(device);
    if (const auto [it, fresh] = port_of_device.emplace(canonical, port); !fresh) {
      throw Command_failed(exit_usage, "fleet: " + it->second + " and " + port +
                                           " are the same device (" + canonical + ")");
    }
    devices.push_back(device);
  }
  const std::string file_bytes = read_input_or_fail(o.file, csv_size_limit);
  const Workspace file = open_or_fail(o.file);
  refuse_unwritable_file(file);
  std::optional<Free_texts> texts;
  if (!o.texts.empty()) {
    const auto table = read_free_texts(read_input_or_fail(o.texts, csv_size_limit));
    if (const auto* error = std::get_if<std::string>(&table)) {
      throw Command_failed(exit_refused, o.texts + ": " + *error);
    }
    texts = std::get<Free_texts>(table);
  }
  if (!o.backup_dir.empty()) prepare_backup_folder(o.backup_dir);
  refuse_output_over_input(o.journal, {o.file, o.texts});
  Journal_file journal(o.journal);

  QCoreApplication app(qt_argc(), qt_argv());
  Stop_signals stop;
  const Fleet_job job{
      file, safe_files(), o.file, sha256_hex(file_bytes), texts ? &*texts : nullptr, o.backup_dir};
  Fleet_state state(journal, o.ports.size(), o.count, stop, job.file_sha256);
  std::vector<std::unique_ptr<QThread>> workers;
  for (std::size_t i = 0; i < o.ports.size(); ++i) {
    const std::string device = devices[i];
    state.set_name(i, o.ports[i]);
    // Whatever ends one port's work ends that port only.
    workers.emplace_back(QThread::create([&state, &job, &stop, i, device, name = o.ports[i]] {
      try {
        SerialPort port([device](int) { return device; });
        port.set_fixed_device(device);
        port.set_wait_mode(SerialPort::Wait_mode::blocking);
        port.set_stop_fd(stop.fd());
        Blocking_clock clock(stop.fd());
        Programmer_choice programmer;
        std::optional<Radio_identification> identification;
        Link_session session{port, clock, programmer, identification};
        Port_view view(state, i);
        Port_observer observer(state, i);
        const Fleet_port_end end = run_fleet_port(name, session, view, job, observer);
        port.close();
        if (end.status == Link_status::port_not_opened) {
          std::string text = view.open_error ? view.open_error->text : "the port cannot be opened";
          if (view.open_error && !view.open_error->holder.empty()) {
            text += " " + view.open_error->holder;
          }
          state.port_failed(i, name + ": " + text, exit_port);
        } else if (!end.failure.empty()) {
          state.port_failed(i, name + ": " + end.failure, exit_file_error);
        }
      } catch (const std::exception& e) {
        state.port_failed(i, name + ": program fault: " + e.what(), exit_file_error);
      }
    }));
  }
  for (auto& worker : workers) worker->start();
  for (auto& worker : workers) worker->wait();
  const int status = state.close();
  if (stop.signal() != 0) {
    (std::cout ? std::cout : std::cerr) << "Stopped: every port sent END and closed.\n";
  }
  if (status != exit_ok) throw Command_failed(static_cast<Exit_status>(status), "");
}

}  // namespace

void add_fleet_command(CLI::App& app) {
  auto* cmd = app.add_subcommand(
      "fleet", "Program one parameter file into radio after radio, on one or more ports at once");
  auto o = std::make_shared<Fleet_options>();
  cmd->add_option("--port", o->ports,
                  "A programmer's port (a device or COMn); give it once per port to work on")
      ->required()
      ->allow_extra_args(false)
      ->type_name("DEV");
  cmd->add_option("FILE", o->file, "The parameter file (*.tn5) every radio gets")->required();
  cmd->add_option("--texts", o->texts,
                  "A CSV table with the columns factory_number,text: the free text of each radio")
      ->type_name("TEXTS.csv");
  cmd->add_option("--backup-dir", o->backup_dir,
                  "Read each radio whole first and keep it as DIR/<factory number>-<time>.tn5")
      ->type_name("DIR");
  cmd->add_option("--journal", o->journal,
                  "Append one row per radio and attempt to this CSV table; a radio it holds as "
                  "done is not programmed again")
      ->type_name("JOURNAL.csv");
  cmd->add_option("--count", o->count, "End after this many radios (default: at Ctrl-C)")
      ->check(CLI::PositiveNumber);
  cmd->add_option("--program-folder", o->program_folder,
                  "The folder whose config.ini maps COMn (as for read and write)")
      ->type_name("DIR");
  cmd->footer(
      "Each port waits for a radio (trying at most once a second), reads it whole (the backup),\n"
      "writes FILE as `write` does (band check, coding of the radio), writes the radio's free\n"
      "text from TEXTS (a radio not in the table keeps its own), reads it back and compares as\n"
      "`write --verify` does, records the radio in the journal, then waits until the radio no\n"
      "longer answers before taking the next. Journal: UTF-8 with BOM, \";\" between the fields\n"
      "where the decimal mark is \",\"; columns time, port, factory_number, model, band,\n"
      "version, file, file_sha256, backup, result, exit_status (what a single write would give),\n"
      "note. Ctrl-C ends every port (a transfer under way sends END) and prints the totals.\n"
      "Exit status 0 when every radio taken was done, else the worst radio's status.");
  cmd->callback([o] { run_fleet(*o); });
}

}  // namespace tirna::cli
