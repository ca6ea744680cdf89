#include "core/transfer/extra_data_transfer.h"

#include <chrono>

#include "core/transfer/packet_phase.h"
#include "core/transfer/transfer_messages.h"

namespace tirna {

namespace {

constexpr std::chrono::milliseconds extra_timeout{3000};

}  // namespace

Transfer_result read_additional_data(Workspace& ws, Link_session& s, Transfer_view& view) {
  Transfer_result result;
  view.blok_btn();
  if (s.programmer.usb()) {
    view.stop_usb_polling();
    view.print_wind_blok();
    view.razblok_btn();
    result.status = Transfer_status::usb_programmer;
    return result;
  }

  result.handshake = set_rez_prog(s, view);
  if (!result.handshake.entered()) {
    return failure_ending(result, status_of(result.handshake), transfer_text::extra_read_failed, s,
                          view);
  }

  const int count = static_cast<int>(extra_read_packets.size());
  view.show_progress(transfer_text::reading_extra.caption, transfer_text::reading_extra.label,
                     count);
  Packet_phase phase(s, view, extra_timeout, count);
  Param_image scratch = ws.image;
  for (int k : extra_read_packets) {
    Packet reply{};
    const Step step = phase.read_packet(k, reply);
    result.packets = phase.packets_done();
    if (step != Step::ok) {
      return failure_ending(result, status_of(step), transfer_text::extra_read_failed, s, view);
    }
    scratch.set_packet(k, reply);
  }
  send_closing_string(s.port);
  view.close_progress();
  s.port.close();
  ws.image = scratch;
  view.print_wind_blok();
  view.razblok_btn();
  return result;
}

Transfer_result write_additional_data(Workspace& ws, Link_session& s, Transfer_view& view,
                                      std::string_view cp1251_text, const Clock& local_time) {
  Transfer_result result;
  view.blok_btn();
  if (s.programmer.usb()) {
    view.stop_usb_polling();
    view.razblok_btn();
    result.status = Transfer_status::usb_programmer;
    return result;
  }
  if (!headers_intact(ws.image, extra_write_packets)) {
    result.status = Transfer_status::corrupt_headers;
    view.show_message(transfer_text::corrupt_headers);
    view.razblok_btn();
    return result;
  }

  result.handshake = set_rez_prog(s, view);
  if (!result.handshake.entered()) {
    return failure_ending(result, status_of(result.handshake), transfer_text::write_failed, s,
                          view);
  }

  const int count = static_cast<int>(extra_write_packets.size());
  view.show_progress(transfer_text::writing.caption, transfer_text::writing.label, count);
  Packet_phase phase(s, view, extra_timeout, count);
  set_dop_dat(ws.image, cp1251_text);
  set_time(ws.image, local_time);
  for (int k : extra_write_packets) {
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
  return result;
}

}  // namespace tirna
