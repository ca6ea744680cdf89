// fleet: one parameter file into radio after radio, on one or more programmer ports at once, each
// radio backed up, written, read back, given its own free text and recorded in the journal; with
// --audit each radio only read and compared with the file.

#include <QCoreApplication>
#include <QThread>
#include <csignal>
#include <iostream>
#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "cli/commands.h"
#include "cli/file_io.h"
#include "cli/fleet_display.h"
#include "cli/link_run.h"
#include "cli/port_mapping.h"
#include "cli/qt_application.h"
#include "cli/readback.h"
#include "core/fleet/fleet_worker.h"
#include "core/text/format.h"
#include "core/text/messages.h"
#include "platform/device_lock.h"
#include "platform/event_loop_clock.h"
#include "platform/files/safe_file.h"
#include "platform/port_names.h"
#include "platform/programming_journal.h"
#include "platform/serial_port.h"
#include "platform/stop_signals.h"

namespace tirna::cli {
namespace {

struct Fleet_options {
  std::vector<std::string> ports;
  std::string file, texts, backup_dir, journal, program_folder;
  long count = 0;
  bool audit = false;
};

// What the ports share: the journal, the counts, the worst status, the live lines, the count of
// radios taken. The lock guards the counts and the display; a journal row is appended outside
// it (under the journal file's own lock), so that a slow disk holds up no other port's line.
class Fleet_state {
 public:
  Fleet_state(Programming_journal& journal, std::set<Done_radio> done, std::size_t ports,
              long count, Stop_signals& stop, std::string file_sha256, bool audit)
      : journal_(journal),
        done_(std::move(done)),
        counts_(ports),
        lines_(ports, counts_),
        count_(count),
        stop_(stop),
        file_sha256_(std::move(file_sha256)),
        row_base_(journal.row(audit ? "fleet --audit" : "fleet")) {}

  void set_name(std::size_t port, const std::string& name) {
    std::lock_guard lock(mutex_);
    lines_.set_name(port, name);
  }
  void phase(std::size_t port, Fleet_phase phase, const std::string& number) {
    std::lock_guard lock(mutex_);
    lines_.phase(port, phase, number);
    stop_if_output_closed();
  }
  void progress(std::size_t port, const std::string& text) {
    std::lock_guard lock(mutex_);
    lines_.progress(port, text);
  }
  bool already_done(const std::string& number) {
    std::lock_guard lock(mutex_);
    return done_.count({number, file_sha256_}) != 0;
  }
  void note(std::size_t port, const std::string& text) {
    std::lock_guard lock(mutex_);
    lines_.event(lines_.name(port) + ": " + text);
    stop_if_output_closed();
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
  void finished(std::size_t port, const Journal_row& radio) {
    Journal_row row = radio;
    row.station = row_base_.station;
    row.user = row_base_.user;
    row.command = row_base_.command;
    {
      std::lock_guard lock(mutex_);
      const bool done = row.result == Radio_result::done ||
                        row.result == Radio_result::already_done ||
                        row.result == Radio_result::matches;
      if (done) {
        ++counts_[port].done;
        if (!row.factory_number.empty()) done_.emplace(row.factory_number, row.file_sha256);
      } else {
        ++counts_[port].failed;
      }
      worst_ = worse_status(worst_, static_cast<Exit_status>(row.exit_status));
      std::string event = lines_.name(port) + ": " +
                          (row.factory_number.empty() ? "(no number)" : row.factory_number) + " " +
                          std::string(result_text(row.result));
      if (!row.backup.empty()) event += ", backup " + row.backup;
      if (!row.note.empty()) event += " (" + row.note + ")";
      lines_.event(event);
      lines_.bell();
      stop_if_output_closed();
    }
    if (const auto failure = journal_.append(row)) {
      std::lock_guard lock(mutex_);
      lines_.failure(*failure + " The run ends.");
      journal_failed_ = true;
      worst_ = worse_status(worst_, exit_file_error);
    }
  }
  void port_failed(std::size_t port, const std::string& text, Exit_status status) {
    std::lock_guard lock(mutex_);
    worst_ = worse_status(worst_, status);
    lines_.port_failed(port);
    lines_.failure(text);
  }
  // The totals, the display's last state left on the screen; the run's status.
  Exit_status close() {
    std::lock_guard lock(mutex_);
    lines_.close();
    return worst_;
  }

 private:
  bool ended_locked() const {
    return journal_failed_ || stop_.signal() != 0 || (count_ > 0 && taken_ >= count_);
  }
  // Nobody reads the run's lines any more (| head): the run stops as at Ctrl-C.
  void stop_if_output_closed() {
    if (lines_.output_closed()) stop_.stop(SIGPIPE);
  }

  std::mutex mutex_;
  Programming_journal& journal_;
  std::set<Done_radio> done_;
  std::vector<Port_counts> counts_;
  Live_lines lines_;
  long count_;
  long taken_ = 0;
  Stop_signals& stop_;
  std::string file_sha256_;
  Journal_row row_base_;  // station, user, command
  bool journal_failed_ = false;
  Exit_status worst_ = exit_ok;
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
  // The journal is read and started before any radio is touched: one that cannot be is refused.
  Programming_journal journal(o.journal);
  Journal_contents earlier;
  if (auto failure = journal.open(&earlier)) throw Command_failed(exit_file_error, *failure);
  if (auto failure = journal.start()) throw Command_failed(exit_file_error, *failure);

  QCoreApplication app(qt_argc(), qt_argv());
  Stop_signals stop;
  const Fleet_job job{.file = file,
                      .files = safe_files(),
                      .file_name = o.file,
                      .file_sha256 = sha256_hex(file_bytes),
                      .texts = texts ? &*texts : nullptr,
                      .backup_dir = o.backup_dir,
                      .local_time = system_local_time,
                      .audit = o.audit,
                      .sha256 = sha256_hex};
  Fleet_state state(journal, std::move(earlier.done), o.ports.size(), o.count, stop,
                    job.file_sha256, o.audit);
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
  const Exit_status status = state.close();
  if (stop.signal() != 0) {
    (std::cout ? std::cout : std::cerr) << "Stopped: every port sent END and closed.\n";
  }
  if (status != exit_ok) throw Command_failed(status, "");
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
  auto* audit = cmd->add_flag("--audit", o->audit,
                              "Write nothing: read each radio, compare it with FILE as `verify` "
                              "does and journal \"matches\" or the differing parameters "
                              "(exit status 0 when every radio matched, else 1)");
  cmd->add_option("--texts", o->texts,
                  "A CSV table with the columns factory_number,text: the free text of each radio")
      ->type_name("TEXTS.csv")
      ->excludes(audit);
  cmd->add_option("--backup-dir", o->backup_dir,
                  "Read each radio whole first and keep it as DIR/<factory number>-<time>.tn5")
      ->type_name("DIR")
      ->excludes(audit);
  cmd->add_option("--journal", o->journal,
                  "Append one row per radio and attempt to this programming journal (default: "
                  "the user's, $XDG_DATA_HOME/tirna520/journal.csv); a radio it holds as done "
                  "is not programmed again")
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
      "note, station, user, command, sent_sha256, readback_sha256, previous_row_sha256 (the\n"
      "chain: `journal verify`). Ctrl-C ends every port (a transfer under way sends END) and "
      "prints the totals.\n"
      "Exit status 0 when every radio taken was done, else the worst radio's status.\n"
      "--audit writes nothing: each radio is read, compared with FILE (the time stamp excepted;\n"
      "the free text is no part of a write) and journaled as \"matches\" or \"differs\" with the\n"
      "names of the differing parameters (as `diff` names them); status 1 when one differed.");
  cmd->callback([o] { run_fleet(*o); });
}

}  // namespace tirna::cli
