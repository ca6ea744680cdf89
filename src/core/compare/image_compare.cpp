#include "core/compare/image_compare.h"

#include "core/channels/window_view.h"
#include "core/files/file_commands.h"
#include "core/image/frequency.h"
#include "core/report/report_params.h"

namespace tirna {
namespace {

using Shown = std::vector<std::pair<std::string, std::string>>;

Param_image with_byte(const Param_image& image, int packet, int index, uint8_t value) {
  Packet p = image.packet(packet);
  p[index] = value;
  Param_image out = image;
  out.set_packet(packet, p);
  return out;
}

}  // namespace

Shown shown_parameters(const Param_image& image) {
  Workspace ws;
  ws.image = image;
  ws.state.coding_version = coding_version_of(image);
  frq_set(ws.state, band_index_of(image));
  Window_view view;
  print_wind_blok(view, ws.image, ws.state);
  Shown shown;
  for (auto& p : report_parameters(view)) shown.emplace_back(std::move(p.name), std::move(p.text));
  shown.emplace_back("coding_version", std::to_string(ws.state.coding_version));
  shown.emplace_back("time", view.extra.time);
  return shown;
}

Image_comparison compare_images(const Param_image& a, const Param_image& b) {
  Image_comparison result;
  const Shown shown_a = shown_parameters(a);
  const Shown shown_b = shown_parameters(b);
  for (std::size_t i = 0; i < shown_a.size(); ++i) {
    if (shown_a[i].second != shown_b[i].second) {
      result.parameters.push_back({shown_a[i].first, shown_a[i].second, shown_b[i].second});
    }
  }
  for (int k = 1; k <= packet_count; ++k) {
    const Packet& pa = a.packet(k);
    const Packet& pb = b.packet(k);
    for (int i = 0; i < packet_size; ++i) {
      if (pa[i] == pb[i]) continue;
      const Byte_difference d{k, i, pa[i], pb[i]};
      // Shown only when each image shows the byte: a frequency of a channel that is off in one
      // of them is a hidden difference even when the other shows it.
      const bool shown = !d.header() && shown_parameters(with_byte(a, k, i, pb[i])) != shown_a &&
                         shown_parameters(with_byte(b, k, i, pa[i])) != shown_b;
      if (!shown) result.bytes.push_back(d);
    }
  }
  return result;
}

}  // namespace tirna
