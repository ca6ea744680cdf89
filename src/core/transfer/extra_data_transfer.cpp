#include "core/transfer/extra_data_transfer.h"

#include <chrono>

#include "core/transfer/transfer_runner.h"

namespace tirna {

namespace {

constexpr std::chrono::milliseconds extra_timeout{3000};

}  // namespace

Transfer_result read_additional_data(Workspace& ws, Link_session& s, Transfer_view& view) {
  static const Transfer_plan plan = [] {
    Transfer_plan p;
    p.direction = Transfer_plan::reading;
    p.packets = extra_read_packets;
    p.timeout = extra_timeout;
    p.progress = transfer_text::reading_extra;
    p.failed = transfer_text::extra_read_failed;
    p.refresh_on_usb = true;
    p.taken = [](Workspace& w, const Param_image& read, const Radio_identification&) {
      w.image = read;
    };
    p.refresh_when_done = true;  // no message
    return p;
  }();
  return run_transfer(plan, ws, s, view);
}

Transfer_result write_additional_data(Workspace& ws, Link_session& s, Transfer_view& view,
                                      std::string_view cp1251_text, const Clock& local_time) {
  Transfer_plan p;
  p.direction = Transfer_plan::writing;
  p.packets = extra_write_packets;
  p.timeout = extra_timeout;
  p.progress = transfer_text::writing;
  p.failed = transfer_text::write_failed;
  p.refusal = [](const Workspace& w) -> std::optional<Transfer_refusal> {
    if (headers_intact(w.image, extra_write_packets)) return std::nullopt;
    return Transfer_refusal{Link_status::corrupt_headers, transfer_text::corrupt_headers};
  };
  p.armed = [&](Workspace& w) {
    set_dop_dat(w.image, cp1251_text);
    set_time(w.image, local_time);
  };
  return run_transfer(p, ws, s, view);  // no message
}

}  // namespace tirna
