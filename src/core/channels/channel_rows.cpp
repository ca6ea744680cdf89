#include "core/channels/channel_rows.h"

#include <algorithm>
#include <array>

#include "core/image/frequency.h"

namespace tirna {
namespace {

std::vector<int> sorted_unique(std::vector<int> channels) {
  std::sort(channels.begin(), channels.end());
  channels.erase(std::unique(channels.begin(), channels.end()), channels.end());
  std::erase_if(channels, [](int n) { return n < 1 || n > channel_count; });
  return channels;
}

std::vector<Channel_record_bytes> records(const Param_image& image) {
  std::vector<Channel_record_bytes> all;
  for (int n = 1; n <= channel_count; ++n) all.push_back(channel_record(image, n));
  return all;
}

void set_records(Param_image& image, const std::vector<Channel_record_bytes>& all) {
  for (int n = 1; n <= channel_count; ++n) set_channel_record(image, n, all[n - 1]);
}

}  // namespace

Channel_record_bytes empty_channel(const Param_image& image, uint8_t coding_version) {
  Param_image fresh;
  new_blok(fresh, image.byte(mem::band_code) != 0 ? 1 : 0, coding_version);
  set_channel_in_use(fresh, 1, false);
  return channel_record(fresh, 1);
}

std::vector<int> move_channels(Param_image& image, std::vector<int> selected, int by) {
  selected = sorted_unique(std::move(selected));
  if (by != -1 && by != 1) return selected;
  std::vector<Channel_record_bytes> all = records(image);
  std::array<bool, channel_count + 2> chosen{};
  for (int n : selected) chosen[n] = true;
  // Up: from the top, each selected channel changes places with the one above it unless that one
  // stays (the top, or a selected one that could not move). Down: the same from the bottom.
  const int first = by < 0 ? 1 : channel_count, last = by < 0 ? channel_count : 1;
  std::array<bool, channel_count + 2> stays{};
  for (int n = first;; n -= by) {
    if (chosen[n]) {
      const int to = n + by;
      if (to < 1 || to > channel_count || (chosen[to] && stays[to])) {
        stays[n] = true;
      } else {
        std::swap(all[n - 1], all[to - 1]);
        std::swap(chosen[n], chosen[to]);
        stays[to] = false;
      }
    }
    if (n == last) break;
  }
  set_records(image, all);
  std::vector<int> now;
  for (int n = 1; n <= channel_count; ++n) {
    if (chosen[n]) now.push_back(n);
  }
  return now;
}

void insert_empty_channel(Param_image& image, int n, uint8_t coding_version) {
  if (n < 1 || n > channel_count) return;
  std::vector<Channel_record_bytes> all = records(image);
  all.insert(all.begin() + (n - 1), empty_channel(image, coding_version));
  all.pop_back();
  set_records(image, all);
}

void delete_channels(Param_image& image, std::vector<int> selected, uint8_t coding_version) {
  selected = sorted_unique(std::move(selected));
  if (selected.empty()) return;
  std::vector<Channel_record_bytes> kept;
  for (int n = 1; n <= channel_count; ++n) {
    if (!std::binary_search(selected.begin(), selected.end(), n)) {
      kept.push_back(channel_record(image, n));
    }
  }
  while (static_cast<int>(kept.size()) < channel_count) {
    kept.push_back(empty_channel(image, coding_version));
  }
  set_records(image, kept);
}

void sort_channels_by_receive_frequency(Param_image& image, uint8_t coding_version) {
  std::vector<int> places;
  std::vector<std::pair<int64_t, Channel_record_bytes>> used;
  for (int n = 1; n <= channel_count; ++n) {
    if (!channel_in_use(image, n)) continue;
    places.push_back(n);
    used.emplace_back(channel_frequency(image, n, Side::rx, coding_version),
                      channel_record(image, n));
  }
  std::stable_sort(used.begin(), used.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 0; i < places.size(); ++i) {
    set_channel_record(image, places[i], used[i].second);
  }
}

}  // namespace tirna
