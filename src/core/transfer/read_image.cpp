#include "core/transfer/read_image.h"

#include "core/image/frequency.h"
#include "core/transfer/transfer_runner.h"

namespace tirna {

namespace {

constexpr std::array<int, packet_count> all_packets = [] {
  std::array<int, packet_count> k{};
  for (int i = 0; i < packet_count; ++i) k[i] = i + 1;
  return k;
}();

Transfer_plan make_read_plan() {
  Transfer_plan p;
  p.direction = Transfer_plan::reading;
  p.packets = all_packets;
  p.timeout = std::chrono::milliseconds{10000};
  p.progress = transfer_text::reading;
  p.failed = transfer_text::read_failed;
  // The band and the coding are the radio's: its band code 0x00 or 0x06 selects the band (any
  // other leaves it), its version is the coding version.
  p.taken = [](Workspace& ws, const Param_image& read, const Radio_identification& radio) {
    ws.image = read;
    int band_index = ws.state.band_index;
    if (radio.band_code() == band_code_low) band_index = 0;
    if (radio.band_code() == band_code_high) band_index = 1;
    frq_set(ws.state, band_index);
    ws.file_name.clear();
    ws.state.coding_version = radio.radio_version();
  };
  return p;
}

const Transfer_plan& read_plan() {
  static const Transfer_plan plan = [] {
    Transfer_plan p = make_read_plan();
    p.refresh_when_done = true;
    p.done = transfer_text::read_done;
    return p;
  }();
  return plan;
}

}  // namespace

Transfer_result read_parameter_image(Workspace& ws, Link_session& s, Transfer_view& view) {
  return run_transfer(read_plan(), ws, s, view);
}

Transfer_result read_radio_image(Workspace& radio, Link_session& s, Transfer_view& view) {
  static const Transfer_plan plan = make_read_plan();
  return run_transfer(plan, radio, s, view);
}

}  // namespace tirna
