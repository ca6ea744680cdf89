#include "fake_link.h"

#include <algorithm>
#include <cstdio>

#include "core/link/protocol_bytes.h"

namespace tirna::test {

void Fake_clock::wait_until(Link_time t) {
  waits.push_back(std::chrono::duration_cast<std::chrono::milliseconds>(t - now_));
  advance_to(t);
}

std::string hex_text(const std::vector<uint8_t>& bytes) {
  std::string out;
  char h[4];
  for (uint8_t b : bytes) {
    std::snprintf(h, sizeof h, out.empty() ? "%02X" : " %02X", b);
    out += h;
  }
  return out;
}

Journal tail(const Journal& journal, std::size_t n) {
  return Journal(journal.end() - static_cast<long>(std::min(n, journal.size())), journal.end());
}

Journal lines(const Journal& journal, const std::string& prefix) {
  Journal out;
  for (const auto& l : journal) {
    if (l.rfind(prefix, 0) == 0) out.push_back(l);
  }
  return out;
}

// --- port

std::optional<Open_error> Fake_port::open(int port_number) {
  opened_ports.push_back(port_number);
  if (auto it = refused.find(port_number); it != refused.end()) {
    journal_.push_back("port: open COM" + std::to_string(port_number) + " refused");
    return it->second;
  }
  open_ = true;
  failed_ = false;
  journal_.push_back("port: open COM" + std::to_string(port_number));
  return std::nullopt;
}

Io_status Fake_port::send(std::span<const uint8_t> bytes) {
  std::vector<uint8_t> v(bytes.begin(), bytes.end());
  if (failed_) return Io_status::failed;
  if (!open_) {
    journal_.push_back("port: send on closed port");
    return Io_status::closed;
  }
  journal_.push_back("port: > " + hex_text(v));
  sends.push_back(v);
  send_times_ms.push_back(clock_.ms());
  if (on_send) on_send(v);
  return Io_status::ok;
}

Io_status Fake_port::receive(uint8_t& byte, Link_time deadline) {
  if (failed_) return Io_status::failed;
  if (!open_) return Io_status::closed;
  const Link_time now = clock_.now();
  const auto fail = [&](Link_time t) {
    clock_.advance_to(t);
    failed_ = true;
    open_ = false;
    incoming_.clear();
    journal_.push_back("port: failed");
    return Io_status::failed;
  };
  if (!incoming_.empty() && (incoming_.front().at <= now || incoming_.front().at < deadline)) {
    const Link_time at = std::max(now, incoming_.front().at);
    if (fail_at_ && *fail_at_ <= at) return fail(*fail_at_);
    clock_.advance_to(at);
    byte = incoming_.front().byte;
    incoming_.pop_front();
    return Io_status::ok;
  }
  if (fail_at_ && *fail_at_ < deadline) return fail(std::max(now, *fail_at_));
  clock_.advance_to(deadline);
  return Io_status::timeout;
}

void Fake_port::purge() {
  journal_.push_back("port: purge");
  const Link_time now = clock_.now();
  while (!incoming_.empty() && incoming_.front().at <= now) incoming_.pop_front();
}

void Fake_port::close() {
  journal_.push_back("port: close");
  open_ = false;
  failed_ = false;
  incoming_.clear();
}

void Fake_port::arrive(const std::vector<uint8_t>& bytes, std::chrono::microseconds after,
                       std::chrono::microseconds gap) {
  Link_time at = clock_.now() + after;
  for (uint8_t b : bytes) {
    const auto pos = std::upper_bound(incoming_.begin(), incoming_.end(), at,
                                      [](Link_time t, const Arrival& a) { return t < a.at; });
    incoming_.insert(pos, Arrival{at, b});
    at += gap;
  }
}

std::vector<uint8_t> Fake_port::sent_bytes() const {
  std::vector<uint8_t> out;
  for (const auto& s : sends) out.insert(out.end(), s.begin(), s.end());
  return out;
}

// --- radio

Fake_radio::Fake_radio(Fake_port& port) : port_(port) {
  identification = {0x50, 0x31, 0x36, 0x30, 0x30, 0x00, 0x04, 0x00};
  new_blok(memory, 0, 4);
  model_.on_command = [this](std::span<const uint8_t> command) {
    if (command.size() == 4 && command[0] == 'R') requests.emplace_back(command.begin(), command.end());
    if (command.size() == packet_size && command[0] == 'W') {
      Packet frame{};
      std::copy(command.begin(), command.end(), frame.begin());
      frames.push_back(frame);
    }
  };
  port_.on_send = [this](const std::vector<uint8_t>& bytes) { on_send(bytes); };
}

void Fake_radio::on_send(const std::vector<uint8_t>& bytes) {
  for (uint8_t b : bytes) {
    for (sim::Answer& a : model_.feed(b)) {
      if (a.kind == sim::Answer::confirm_ack) {
        if (!confirm) continue;
        a.bytes.insert(a.bytes.begin(), confirm_noise.begin(), confirm_noise.end());
      }
      if (a.kind == sim::Answer::frame_answer) {
        a.bytes.insert(a.bytes.begin(), ack_noise.begin(), ack_noise.end());
      }
      if (a.kind == sim::Answer::read_reply && corrupt_reply) {
        // The packet is the reply's last 12 bytes, after any noise.
        Packet reply{};
        std::copy(a.bytes.end() - packet_size, a.bytes.end(), reply.begin());
        corrupt_reply(packet_of_address(reply[1] * 256 + reply[2]), reply);
        std::copy(reply.begin(), reply.end(), a.bytes.end() - packet_size);
      }
      port_.arrive(a.bytes, a.delay, byte_time);
    }
  }
}

// --- view

Port_answer Recording_view::ask_other_port(const Message& question, const Open_error&) {
  journal_.push_back("view: ask other port");
  questions.push_back(question);
  if (answers.empty()) return Port_answer::no;
  const Port_answer a = answers.front();
  answers.erase(answers.begin());
  return a;
}

void Recording_view::choose_programmer(Programmer_choice& choice) {
  journal_.push_back("view: programmer dialog");
  if (dialog_choices.empty()) return;
  choice = dialog_choices.front();
  dialog_choices.erase(dialog_choices.begin());
}

void Recording_view::show_progress(std::string_view caption, std::string_view label, int maximum) {
  journal_.push_back("view: show progress " + std::string(caption) + " | " + std::string(label) +
                     " | " + std::to_string(maximum));
}

void Recording_view::update_progress(const Progress& progress) {
  labels.push_back(progress.label());
  if (clock) progress_times_ms.push_back(clock->ms());
}

void Recording_view::show_message(const Message& message) {
  journal_.push_back("view: message " + message.caption);
  messages.push_back(message);
}

}  // namespace tirna::test
