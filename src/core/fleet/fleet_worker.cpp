#include "core/fleet/fleet_worker.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <utility>

#include "core/compare/write_check.h"
#include "core/files/backup_file.h"
#include "core/link/radio_identification.h"
#include "core/text/format.h"
#include "core/transfer/exit_status.h"
#include "core/transfer/extra_data_transfer.h"
#include "core/transfer/read_image.h"
#include "core/transfer/transfer_messages.h"
#include "core/transfer/transfer_runner.h"
#include "core/transfer/write_image.h"

namespace tirna {

namespace {

using namespace std::chrono_literals;

// Passes everything on to the port's view and keeps the last message for the journal.
class Noting_view : public Transfer_view {
 public:
  explicit Noting_view(Transfer_view& view) : view_(view) {}
  Port_answer ask_other_port(const Message& q, const Open_error& e) override {
    return view_.ask_other_port(q, e);
  }
  void choose_programmer(Programmer_choice& c) override { view_.choose_programmer(c); }
  void blok_btn() override { view_.blok_btn(); }
  void razblok_btn() override { view_.razblok_btn(); }
  void show_progress(std::string_view caption, std::string_view label, int maximum) override {
    view_.show_progress(caption, label, maximum);
  }
  void update_progress(const Progress& p) override { view_.update_progress(p); }
  void close_progress() override { view_.close_progress(); }
  void show_message(const Message& m) override {
    note = m.text;
    std::replace(note.begin(), note.end(), '\r', ' ');
    view_.show_message(m);
  }
  void print_wind_blok() override { view_.print_wind_blok(); }
  void stop_usb_polling() override { view_.stop_usb_polling(); }

  std::string take_note() { return std::exchange(note, {}); }
  std::string note;

 private:
  Transfer_view& view_;
};

bool same_free_text(const Param_image& a, const Param_image& b) {
  for (int addr = mem::free_text; addr < mem::free_text + mem::free_text_size; ++addr) {
    if (a.byte(addr) != b.byte(addr)) return false;
  }
  return true;
}

class Port_worker {
 public:
  Port_worker(const std::string& port_name, Link_session& s, Transfer_view& view,
              const Fleet_job& job, Fleet_observer& observer)
      : port_name_(port_name), s_(s), view_(view), job_(job), observer_(observer) {}

  Fleet_port_end run() {
    try {
      return {work(), ""};
    } catch (const std::exception& e) {
      return given_up(e.what());
    } catch (...) {
      return given_up("unexpected failure");
    }
  }

 private:
  Link_status work() {
    while (!observer_.run_ends()) {
      observer_.phase(Fleet_phase::waiting, "");
      Workspace radio = start_up_workspace();
      space_tries();
      const Transfer_result read = read_parameter_image(radio, s_, view_);
      if (read.status == Link_status::no_answer) {
        view_.take_note();
        continue;  // no radio there yet
      }
      if (busy(read)) continue;
      if (read.status == Link_status::port_not_opened || read.status == Link_status::stopped) {
        return read.status;
      }
      const Link_status end = take_radio(read, radio);
      if (end != Link_status::ok) return end;
    }
    return Link_status::ok;
  }

  // Another program holds the port: said once, and tried again at the next look.
  bool busy(const Transfer_result& r) {
    const auto& error = r.handshake.opening.last_error;
    const bool now_busy =
        r.status == Link_status::port_not_opened && error && error->kind == Open_error::Kind::busy;
    if (now_busy && !busy_said_) {
      observer_.note("port busy, tried again every second: " +
                     (error->holder.empty() ? error->text : error->holder));
    } else if (!now_busy && busy_said_) {
      observer_.note("port free again");
    }
    busy_said_ = now_busy;
    if (now_busy) view_.take_note();
    return now_busy;
  }

  // A fault of the program in this port's work: the radio in hand leaves programming mode and gets
  // its row; the other ports go on.
  Fleet_port_end given_up(const std::string& what) {
    const std::string failure = "program fault: " + what;
    try {
      if (s_.port.is_open()) send_closing_string(s_.port);
      s_.port.close();
      if (in_hand_) {
        Journal_row row = *in_hand_;
        in_hand_.reset();
        row.time = job_.local_time();
        row.result = on_failure_;
        row.exit_status = exit_file_error;
        row.note = failure;
        observer_.finished(row);
      }
    } catch (...) {
      // Nothing more can be done for this port.
    }
    return {Link_status::link_lost, failure};
  }

  std::string memory_sha256(const Param_image& image) const {
    return job_.sha256 == nullptr ? "" : job_.sha256(memory_bytes(image));
  }

  // A wait of a second between two tries to reach a radio that does not answer.
  void space_tries() {
    s_.clock.wait_until(last_try_ + 1s);
    last_try_ = s_.clock.now();
  }

  Journal_row row_for(const Param_image& radio) {
    Journal_row row;
    row.port = port_name_;
    row.factory_number = trimmed(factory_number_label(radio));
    row.model = trimmed(model_label(radio));
    if (s_.identification) {
      row.band = band_code_text(s_.identification->band_code());
      row.version = s_.identification->radio_version();
    }
    row.file = job_.file_name;
    row.file_sha256 = job_.file_sha256;
    return row;
  }

  // Records the radio's turn, then waits until it is unplugged.
  Link_status finish(Journal_row& row, Radio_result result, int exit_status,
                     std::string note = {}) {
    in_hand_.reset();
    row.time = job_.local_time();
    row.result = result;
    row.exit_status = exit_status;
    row.note = note.empty() ? view_.take_note() : note;
    std::replace(row.note.begin(), row.note.end(), '\r', ' ');
    view_.take_note();
    observer_.finished(row);
    if (result == Radio_result::stopped) return Link_status::stopped;
    return wait_until_unplugged(row.factory_number);
  }

  Link_status failed(Journal_row& row, Radio_result result, const Transfer_result& r) {
    if (r.status == Link_status::stopped) {
      return finish(row, Radio_result::stopped, exit_interrupted);
    }
    return finish(row, result, exit_status_of(r.status));
  }

  Link_status take_radio(const Transfer_result& read, const Workspace& radio) {
    Journal_row row = row_for(radio.image);
    const std::string& number = row.factory_number;
    if (!observer_.take()) return Link_status::ok;
    in_hand_ = row;
    on_failure_ = Radio_result::read_failed;
    if (!read.ok()) return failed(row, Radio_result::read_failed, read);
    if (!job_.audit && !number.empty() && observer_.already_done(number)) {
      return finish(row, Radio_result::already_done, exit_ok, "in the journal as done");
    }
    if (!radio_fits_band(*s_.identification, job_.file.image)) {
      return finish(row, Radio_result::band_refused, exit_band_mismatch,
                    transfer_text::band_mismatch.text);
    }
    if (job_.audit) return audit(row, radio);
    if (!job_.backup_dir.empty()) {
      const auto saved = save_backup(job_.files, job_.backup_dir, radio.image, job_.local_time());
      if (const auto* error = std::get_if<Io_error>(&saved)) {
        return finish(row, Radio_result::backup_failed, exit_file_error,
                      job_.backup_dir + ": " + error->text());
      }
      row.backup = std::get<std::string>(saved);
    }

    observer_.phase(Fleet_phase::writing, number);
    on_failure_ = Radio_result::write_failed;
    Workspace ws = job_.file;
    const Transfer_result write = write_parameter_image(ws, s_, view_, job_.local_time);
    row.sent_sha256 = memory_sha256(ws.image);
    if (!write.ok()) return failed(row, Radio_result::write_failed, write);

    std::string text_note;
    bool text_written = false;
    if (job_.texts != nullptr) {
      const auto text = job_.texts->by_factory_number.find(number);
      if (text == job_.texts->by_factory_number.end()) {
        text_note = "free text kept: factory number not in the table";
      } else {
        observer_.phase(Fleet_phase::writing_text, number);
        on_failure_ = Radio_result::text_failed;
        const Transfer_result t =
            write_additional_data(ws, s_, view_, text->second, job_.local_time);
        row.sent_sha256 = memory_sha256(ws.image);
        if (!t.ok()) return failed(row, Radio_result::text_failed, t);
        text_written = true;
        text_note = "free text written";
      }
    }

    observer_.phase(Fleet_phase::checking, number);
    on_failure_ = Radio_result::readback_failed;
    Workspace back = start_up_workspace();
    const Transfer_result check = read_parameter_image(back, s_, view_);
    if (!check.ok()) return failed(row, Radio_result::readback_failed, check);
    row.readback_sha256 = memory_sha256(back.image);
    const Image_comparison c = compare_with_radio(ws.image, back.image, Time_stamp::compared);
    const bool text_differs = text_written && !same_free_text(ws.image, back.image);
    if (!c.same() || text_differs) {
      std::string note = "the radio differs from what was written in";
      std::size_t named = 0;
      for (const auto& p : c.parameters) {
        if (named++ == 8) {
          note += " ...";
          break;
        }
        note += " " + p.name;
      }
      if (!c.bytes.empty()) note += " (" + std::to_string(c.bytes.size()) + " other bytes)";
      if (text_differs) note += " free text";
      return finish(row, Radio_result::readback_differs, exit_readback, note);
    }
    return finish(row, Radio_result::done, exit_ok,
                  text_note.empty() ? "read back equal" : "read back equal, " + text_note);
  }

  // The radio as read against FILE as a write would leave it: "matches", or "differs" with every
  // differing parameter named.
  Link_status audit(Journal_row& row, const Workspace& radio) {
    row.readback_sha256 = memory_sha256(radio.image);
    const Image_comparison c =
        compare_with_radio(image_as_written(job_.file, s_.identification->radio_version()),
                           radio.image, Time_stamp::ignored);
    if (c.same()) return finish(row, Radio_result::matches, exit_ok, "matches the file");
    std::string note = "differs in";
    for (const auto& p : c.parameters) note += " " + p.name;
    if (!c.bytes.empty()) note += " (" + std::to_string(c.bytes.size()) + " other bytes)";
    return finish(row, Radio_result::differs, exit_differs, note);
  }

  // Looks at most once a second which radio answers (its additional data: the factory number)
  // until none does, or another radio does: the one unplugged and the next one plugged in between
  // two looks.
  Link_status wait_until_unplugged(const std::string& number) {
    while (!observer_.run_ends()) {
      observer_.phase(Fleet_phase::unplugging, number);
      space_tries();
      Workspace radio = start_up_workspace();
      const Transfer_result look = read_additional_data(radio, s_, view_);
      view_.take_note();
      if (busy(look)) continue;
      if (look.status == Link_status::stopped || look.status == Link_status::port_not_opened) {
        return look.status;
      }
      if (look.status == Link_status::no_answer) break;
      if (look.ok() && trimmed(factory_number_label(radio.image)) != number) {
        last_try_ = Link_time{};  // a radio answers: it is read at once
        break;
      }
    }
    return Link_status::ok;
  }

  const std::string& port_name_;
  Link_session& s_;
  Noting_view view_;
  const Fleet_job& job_;
  Fleet_observer& observer_;
  Link_time last_try_{};
  bool busy_said_ = false;
  std::optional<Journal_row> in_hand_;  // the radio taken, until its row is recorded
  Radio_result on_failure_ = Radio_result::read_failed;  // its row if the program failed now
};

}  // namespace

Fleet_port_end run_fleet_port(const std::string& port_name, Link_session& session,
                              Transfer_view& view, const Fleet_job& job, Fleet_observer& observer) {
  return Port_worker(port_name, session, view, job, observer).run();
}

}  // namespace tirna
