#include "core/transfer/write_image.h"

#include <chrono>

#include "core/channels/channel_check.h"
#include "core/image/frequency.h"
#include "core/transfer/packet_phase.h"
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
    return Write_refusal{Transfer_status::corrupt_headers, transfer_text::corrupt_headers};
  }
  const std::vector<Channel_fault> faults = image_faults(image, coding_version);
  if (faults.empty()) return std::nullopt;
  constexpr std::size_t listed = 4;
  Message m = transfer_text::refused_channels;
  for (std::size_t i = 0; i < faults.size() && i < listed; ++i) {
    m.text += "\r" + channel_fault_text_ru(faults[i]) + ".";
  }
  if (faults.size() > listed) m.text += "\rи ещё " + std::to_string(faults.size() - listed) + ".";
  return Write_refusal{Transfer_status::refused_channels, m};
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
  Transfer_result result;
  view.blok_btn();
  clear_bits_cleared_by_write(ws.image);
  if (s.programmer.usb()) {
    view.stop_usb_polling();
    view.razblok_btn();
    result.status = Transfer_status::usb_programmer;
    return result;
  }
  if (const auto refusal = write_refusal(ws.image, ws.state.coding_version)) {
    result.status = refusal->status;
    view.show_message(refusal->message);
    view.razblok_btn();
    return result;
  }

  result.handshake = set_rez_prog(s, view);
  if (!result.handshake.entered()) {
    // The one failure after which "END" is still sent.
    return failure_ending(result, status_of(result.handshake), transfer_text::write_failed, s, view,
                          true);
  }
  if (!radio_fits_band(*s.identification, ws.image)) {
    return failure_ending(result, Transfer_status::band_mismatch, transfer_text::band_mismatch, s,
                          view);
  }
  adopt_radio_coding(ws, s.identification->radio_version());

  view.show_progress(transfer_text::writing.caption, transfer_text::writing.label,
                     static_cast<int>(parameter_write_packets.size()));
  Packet_phase phase(s, view, write_timeout, static_cast<int>(parameter_write_packets.size()));
  for (int k : parameter_write_packets) {
    if (k == first_time_packet) set_time(ws.image, local_time);
    const Step step = phase.write_packet(ws.image.packet(k));
    result.packets = phase.packets_done();
    if (step != Step::ok) {
      return failure_ending(result, status_of(step), transfer_text::write_failed, s, view);
    }
  }
  send_closing_string(s.port);
  view.close_progress();
  s.port.close();
  view.razblok_btn();
  view.show_message(transfer_text::write_done);
  return result;
}

}  // namespace tirna
