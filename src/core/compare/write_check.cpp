#include "core/compare/write_check.h"

#include "core/transfer/write_image.h"

namespace tirna {

Param_image image_as_written(Workspace ws, uint8_t radio_version) {
  clear_bits_cleared_by_write(ws.image);
  adopt_radio_coding(ws, radio_version);
  return ws.image;
}

Image_comparison compare_with_radio(const Param_image& sent, const Param_image& radio,
                                    Time_stamp time) {
  // The radio's packets where a write puts them, the sent image everywhere else: whatever differs
  // outside the written packets cannot show up.
  Param_image received = sent;
  for (int k : parameter_write_packets) received.set_packet(k, radio.packet(k));
  if (time == Time_stamp::ignored) {
    for (int addr = mem::prog_date; addr < mem::prog_fixed; ++addr) {
      received.set_byte(addr, sent.byte(addr));
    }
  }
  return compare_images(sent, received);
}

}  // namespace tirna
