#include "core/transfer/write_image.h"

#include <chrono>

#include "core/channels/channel_check.h"
#include "core/image/frequency.h"
#include "core/transfer/transfer_runner.h"
#include "core/transfer/transfer_messages.h"

namespace tirna {

namespace {

constexpr std::chrono::milliseconds write_timeout{10000};
constexpr uint8_t bits_cleared_by_write = 0x03;  // of the settings byte 0x2BC; no control sets them
constexpr int first_time_packet = 121;

}  // namespace

void clear_bits_cleared_by_write(Param_image& image) {
  image.set_bits(mem::beep_save, bits_cleared_by_write, 0);
}

std::optional<Write_refusal> write_refusal(const Param_image& image, uint8_t coding_version) {
  if (!headers_intact(image, parameter_write_packets)) {
    return Write_refusal{Link_status::corrupt_headers, transfer_text::corrupt_headers};
  }
  const std::vector<Channel_fault> faults = image_faults(image, coding_version);
  if (faults.empty()) return std::nullopt;
  constexpr std::size_t listed = 4;
  Message m = transfer_text::refused_channels;
  for (std::size_t i = 0; i < faults.size() && i < listed; ++i) {
    m.text += "\r" + channel_fault_text_ru(faults[i]) + ".";
  }
  if (faults.size() > listed) m.text += "\rи ещё " + std::to_string(faults.size() - listed) + ".";
  return Write_refusal{Link_status::refused_channels, m};
}

bool radio_fits_band(const Radio_identification& radio, const Param_image& image) {
  return radio.band_known() && radio.band_code() == image.byte(mem::band_code);
}

void adopt_radio_coding(Workspace& ws, uint8_t radio_version) {
  const uint8_t image_version = ws.state.coding_version;
  if (radio_version == image_version && is_new_coding(radio_version)) return;
  if (is_new_coding(radio_version) && !is_new_coding(image_version)) cod_new(ws.image);
  if (!is_new_coding(radio_version) && is_new_coding(image_version)) cod_old(ws.image);
  ws.state.coding_version = radio_version;
  ws.image.set_byte(mem::version_byte, radio_version);
}

Transfer_result write_parameter_image(Workspace& ws, Link_session& s, Transfer_view& view,
                                      const Clock& local_time) {
  Transfer_plan p;
  p.direction = Transfer_plan::writing;
  p.packets = parameter_write_packets;
  p.timeout = write_timeout;
  p.progress = transfer_text::writing;
  p.failed = transfer_text::write_failed;
  p.end_after_failed_handshake = true;  // the one failure after which "END" is still sent
  // Every write, also in USB mode, clears the two bits no control sets.
  p.first = [](Workspace& w) { clear_bits_cleared_by_write(w.image); };
  p.refusal = [](const Workspace& w) -> std::optional<Transfer_refusal> {
    if (auto refusal = write_refusal(w.image, w.state.coding_version)) {
      return Transfer_refusal{refusal->status, refusal->message};
    }
    return std::nullopt;
  };
  p.radio = [](Workspace& w, const Radio_identification& radio) -> std::optional<Transfer_refusal> {
    if (!radio_fits_band(radio, w.image)) {
      return Transfer_refusal{Link_status::band_mismatch, transfer_text::band_mismatch};
    }
    adopt_radio_coding(w, radio.radio_version());
    return std::nullopt;
  };
  p.before_frame = [&local_time](Workspace& w, int k) {
    if (k == first_time_packet) set_time(w.image, local_time);
  };
  p.done = transfer_text::write_done;
  p.done_after_enabling = true;
  return run_transfer(p, ws, s, view);
}

}  // namespace tirna
