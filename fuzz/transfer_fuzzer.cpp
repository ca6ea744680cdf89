// libFuzzer target: the four transfers against a radio whose every answer the input decides: the
// right answer, arbitrary bytes, silence, a hang-up or the user's Ctrl-C. Whatever comes: the port
// is closed at every ending; a completed write sent exactly the 38 frames, each with the header
// of its own address, then "END"; a stopped transfer sent "END"; a failed read changed nothing.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "core/files/file_commands.h"
#include "core/link/handshake.h"
#include "core/link/protocol_bytes.h"
#include "core/transfer/extra_data_transfer.h"
#include "core/transfer/packet_phase.h"
#include "core/transfer/read_image.h"
#include "core/transfer/write_image.h"
#include "fuzz_support.h"

namespace {

using namespace tirna;

class Jumping_clock : public Link_clock {
 public:
  Link_time now() const override { return now_; }
  void wait_until(Link_time t) override { now_ = std::max(now_, t); }

 private:
  Link_time now_ = Link_time{} + std::chrono::hours(1);
};

// A radio on the other end of the line, each answer chosen by the input.
class Scripted_port : public Transport {
 public:
  Scripted_port(fuzz::Byte_source& in, Jumping_clock& clock, const Param_image& memory)
      : in_(in), clock_(clock), memory_(memory) {}

  std::optional<Open_error> open(int) override {
    open_ = true;
    failed_ = false;
    return std::nullopt;
  }
  bool is_open() const override { return open_; }
  Io_status send(std::span<const uint8_t> bytes) override {
    if (!open_) return failed_ ? Io_status::failed : Io_status::closed;
    sends.emplace_back(bytes.begin(), bytes.end());
    answer(sends.back());
    return Io_status::ok;
  }
  Io_status receive(uint8_t& byte, Link_time deadline) override {
    if (!open_) return failed_ ? Io_status::failed : Io_status::closed;
    if (stopped_) return Io_status::stopped;
    if (incoming_.empty()) {
      clock_.wait_until(deadline);
      return Io_status::timeout;
    }
    byte = incoming_.front();
    incoming_.pop_front();
    return Io_status::ok;
  }
  void purge() override { incoming_.clear(); }
  void close() override {
    open_ = false;
    failed_ = false;
  }
  std::string last_error() const override { return failed_ ? "Read error (5)" : ""; }

  std::vector<std::vector<uint8_t>> sends;

 private:
  void answer(const std::vector<uint8_t>& sent) {
    switch (in_.empty() ? 0 : in_.next() % 8) {
      case 5:  // arbitrary bytes
        for (int n = in_.next() % 16; n > 0; --n) incoming_.push_back(in_.next());
        return;
      case 6:  // silence
        return;
      case 7:
        if (in_.next() & 1) {  // the other side hangs up
          open_ = false;
          failed_ = true;
        } else {  // the user presses Ctrl-C
          stopped_ = true;
        }
        return;
      default:
        break;
    }
    const auto bytes = [&](std::initializer_list<uint8_t> b) {
      incoming_.insert(incoming_.end(), b);
    };
    if (sent.size() == 8 && sent[0] == 0x02) {
      bytes({ack});
    } else if (sent.size() == 1 && sent[0] == 0x02) {
      bytes({'P', '1', '6', '0', '0', 0x00, static_cast<uint8_t>(in_.next() % 8), 0x00});
    } else if (sent.size() == 1 && sent[0] == ack) {
      bytes({ack});
    } else if (sent.size() == 4 && sent[0] == read_command) {
      const int k = (sent[1] * 256 + sent[2]) / 8 + 1;
      const Packet& p = memory_.packet(std::clamp(k, 1, packet_count));
      incoming_.insert(incoming_.end(), p.begin(), p.end());
    } else if (sent.size() == 12) {
      bytes({ack});
    }
  }

  fuzz::Byte_source& in_;
  Jumping_clock& clock_;
  const Param_image& memory_;
  std::deque<uint8_t> incoming_;
  bool open_ = false;
  bool failed_ = false;
  bool stopped_ = false;
};

bool sent_end_last(const std::vector<std::vector<uint8_t>>& sends) {
  return !sends.empty() &&
         std::equal(sends.back().begin(), sends.back().end(), closing_string.begin(),
                    closing_string.end());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  fuzz::Byte_source in{data, size};
  const uint8_t which = in.next() % 4;
  Workspace ws = start_up_workspace();
  Param_image radio_memory = ws.image;
  radio_memory.set_byte(mem::band_code, 0x00);
  Jumping_clock clock;
  Scripted_port port(in, clock, radio_memory);
  Programmer_choice programmer;
  std::optional<Radio_identification> identification;
  Link_session session{port, clock, programmer, identification};
  Quiet_transfer_view view;
  const Param_image before = ws.image;
  const auto fixed_time = [] { return Local_time{2026, 12, 9, 12, 0, 0}; };

  Transfer_result result;
  switch (which) {
    case 0:
      result = read_parameter_image(ws, session, view);
      break;
    case 1:
      result = write_parameter_image(ws, session, view, fixed_time);
      break;
    case 2:
      result = read_additional_data(ws, session, view);
      break;
    default:
      result = write_additional_data(ws, session, view, "text", fixed_time);
      break;
  }
  FUZZ_CHECK(!port.is_open());
  if (result.status == Transfer_status::stopped) FUZZ_CHECK(sent_end_last(port.sends));
  if (which == 0 && !result.ok()) FUZZ_CHECK(ws.image == before);
  if (which == 0 && result.ok()) FUZZ_CHECK(headers_intact(ws.image, parameter_write_packets));
  if (which == 1 && result.ok()) {
    std::vector<std::vector<uint8_t>> frames;
    for (const auto& s : port.sends) {
      if (s.size() == packet_size && s[0] == 'W') frames.push_back(s);
    }
    FUZZ_CHECK(frames.size() == parameter_write_packets.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
      Packet p;
      std::copy(frames[i].begin(), frames[i].end(), p.begin());
      FUZZ_CHECK(packet_header_matches(p, parameter_write_packets[i]));
    }
    FUZZ_CHECK(sent_end_last(port.sends));
  }
  return 0;
}
