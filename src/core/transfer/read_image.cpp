#include "core/transfer/read_image.h"

#include <chrono>

#include "core/image/frequency.h"
#include "core/transfer/packet_phase.h"
#include "core/transfer/transfer_messages.h"

namespace tirna {

namespace {

constexpr std::chrono::milliseconds read_timeout{10000};

Transfer_result fail(Transfer_result result, Transfer_status status, Link_session& s,
                     Transfer_view& view) {
  return failure_ending(result, status, transfer_text::read_failed, s, view);
}

}  // namespace

Transfer_result read_parameter_image(Workspace& ws, Link_session& s, Transfer_view& view) {
  Transfer_result result;
  view.blok_btn();
  if (s.programmer.usb()) {
    view.stop_usb_polling();
    view.razblok_btn();
    result.status = Transfer_status::usb_programmer;
    return result;
  }

  result.handshake = set_rez_prog(s, view);
  if (!result.handshake.entered()) return fail(result, status_of(result.handshake), s, view);

  view.show_progress(transfer_text::reading.caption, transfer_text::reading.label, packet_count);
  Packet_phase phase(s, view, read_timeout, packet_count);
  Param_image scratch = ws.image;
  for (int k = 1; k <= packet_count; ++k) {
    Packet reply{};
    const Step step = phase.read_packet(k, reply);
    result.packets = phase.packets_done();
    if (step != Step::ok) return fail(result, status_of(step), s, view);
    scratch.set_packet(k, reply);
  }
  send_closing_string(s.port);
  view.close_progress();
  s.port.close();

  ws.image = scratch;
  const Radio_identification& radio = *s.identification;  // the handshake entered
  const uint8_t band_code = radio.band_code();
  int band_index = ws.state.band_index;
  if (band_code == band_code_low) band_index = 0;
  if (band_code == band_code_high) band_index = 1;
  frq_set(ws.state, band_index);
  ws.file_name.clear();
  ws.state.coding_version = radio.radio_version();
  view.print_wind_blok();
  view.show_message(transfer_text::read_done);
  view.razblok_btn();
  return result;
}

}  // namespace tirna
