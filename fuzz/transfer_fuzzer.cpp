// libFuzzer target: the four transfers against a radio whose every answer the input decides: the
// right answer, arbitrary bytes, silence, a hang-up or the user's Ctrl-C, an identification of
// another layout or shifted by a stray byte; the image written has channel bytes the input
// decides. Whatever comes: the port is closed at every ending; a completed write sent exactly the
// 38 frames, each with the header of its own address, then "END"; no write frame leaves an image
// that fails the check of every channel; no read request or frame follows an identification that
// is not eight bytes in the identification block's layout; a stopped transfer sent "END"; a failed
// read changed nothing.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "core/channels/channel_check.h"
#include "core/files/file_commands.h"
#include "core/image/channel_record.h"
#include "core/link/handshake.h"
#include "core/link/protocol_bytes.h"
#include "core/transfer/extra_data_transfer.h"
#include "core/transfer/transfer_runner.h"
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
    const auto& sent = sends.back();
    if (sent.size() == 1 && sent[0] == 0x02) {
      given_identification.clear();
      capturing_ = true;
    }
    const bool transfer_request = (sent.size() == 4 && sent[0] == read_command) ||
                                  (sent.size() == packet_size && sent[0] == 'W');
    if (transfer_request && !identification_before_transfer) {
      identification_before_transfer = given_identification;
    }
    answer(sent);
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
    if (capturing_) {
      given_identification.push_back(byte);
      capturing_ = given_identification.size() < identification_size;
    }
    return Io_status::ok;
  }
  void purge() override { incoming_.clear(); }
  void close() override {
    open_ = false;
    failed_ = false;
  }
  std::string last_error() const override { return failed_ ? "Read error (5)" : ""; }

  std::vector<std::vector<uint8_t>> sends;
  // The first eight bytes the program took after its last identification request, and those it had
  // taken when it sent its first read request or write frame.
  std::vector<uint8_t> given_identification;
  std::optional<std::vector<uint8_t>> identification_before_transfer;

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
      const uint8_t band = in_.next() % 4 == 0 ? in_.next() : 0x00;
      const uint8_t version = static_cast<uint8_t>(in_.next() % 8);
      switch (in_.next() % 4) {
        case 1:  // the stray acknowledgement of a noisy line before it: shifted by one byte
          bytes({ack, 'P', '1', '6', '0', '0', band, version, 0x00});
          break;
        case 2:  // "P1600" elsewhere than at the start
          bytes({0x41, 'P', '1', '6', '0', '0', 0x00, version});
          break;
        default:
          bytes({'P', '1', '6', '0', '0', band, version, 0x00});
          break;
      }
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
  bool capturing_ = false;
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
  // Channel bytes of the image as a file edited elsewhere might hold them.
  for (int edits = which == 1 ? in.next() % 3 : 0; edits > 0; --edits) {
    const int address = in.next() % (channel_count * mem::channel_record_size);
    ws.image.set_byte(address, in.next());
  }
  const Param_image before = ws.image;
  const bool refusable = !image_faults(ws.image, ws.state.coding_version).empty();
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
  if (const auto& id = port.identification_before_transfer) {
    // The identification block's layout, read from its top address down.
    FUZZ_CHECK(id->size() == 8 && (*id)[0] == 'P' && (*id)[1] == '1' && (*id)[2] == '6' &&
               (*id)[3] == '0' && (*id)[4] == '0' && (*id)[7] == 0x00);
  }
  const bool frame_sent = std::any_of(port.sends.begin(), port.sends.end(), [](const auto& s) {
    return s.size() == packet_size && s[0] == 'W';
  });
  if (which == 1 && frame_sent) FUZZ_CHECK(!refusable);
  if (result.status == Link_status::stopped) FUZZ_CHECK(sent_end_last(port.sends));
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
