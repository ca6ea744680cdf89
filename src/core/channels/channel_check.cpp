#include "core/channels/channel_check.h"

#include "core/image/frequency.h"
#include "core/image/subtone.h"
#include "core/text/format.h"

namespace tirna {
namespace {

bool bcd(uint16_t value) {
  for (int shift = 0; shift < 16; shift += 4) {
    if (((value >> shift) & 0xF) > 9) return false;
  }
  return true;
}

void check_frequency(std::vector<Channel_fault>& faults, const Param_image& image, int n,
                     Side side, uint8_t coding_version, const Band_limits& limits) {
  const int64_t hz = channel_frequency(image, n, side, coding_version);
  if (hz < limits.lower || hz > limits.upper) {
    Channel_fault f;
    f.channel = n;
    f.side = side;
    f.hz = hz;
    f.limits = limits;
    faults.push_back(f);
  }
}

void check_subtone(std::vector<Channel_fault>& faults, const Param_image& image, int n,
                   Side side) {
  const int type = subtone_type(image, n, side);
  const uint16_t value = subtone_value(image, n, side);
  Channel_fault f;
  f.kind = Channel_fault::subtone_type;
  f.channel = n;
  f.side = side;
  if (type == subtone::ctcss) {
    if (bcd(value)) return;
    f.kind = Channel_fault::ctcss_value;
    f.value = value;
  } else if (type == subtone::dcs || type == subtone::dcs_inverted) {
    if (value <= 0x1FF) return;
    f.kind = Channel_fault::dcs_value;
    f.value = value;
  } else if (type == subtone::none) {
    return;
  } else {
    f.value = type;
  }
  faults.push_back(f);
}

}  // namespace

Band_limits image_band_limits(const Param_image& image) {
  return band_limits(image.byte(mem::band_code) != 0 ? 1 : 0);
}

std::vector<Channel_fault> channel_faults(const Param_image& image, int n, uint8_t coding_version,
                                          const Band_limits& limits) {
  std::vector<Channel_fault> faults;
  if (!channel_in_use(image, n)) return faults;
  check_frequency(faults, image, n, Side::rx, coding_version, limits);
  check_subtone(faults, image, n, Side::rx);
  if (tx_allowed(image, n)) check_frequency(faults, image, n, Side::tx, coding_version, limits);
  check_subtone(faults, image, n, Side::tx);
  return faults;
}

std::vector<Channel_fault> image_faults(const Param_image& image, uint8_t coding_version) {
  std::vector<Channel_fault> faults;
  const Band_limits limits = image_band_limits(image);
  for (int n = 1; n <= channel_count; ++n) {
    for (const Channel_fault& f : channel_faults(image, n, coding_version, limits)) {
      faults.push_back(f);
    }
  }
  return faults;
}

std::vector<Channel_fault> edit_faults(const Param_image& before, const Param_image& after,
                                       const Working_state& state) {
  std::vector<Channel_fault> faults;
  for (int n = 1; n <= channel_count; ++n) {
    const Channel_record_bytes was = channel_record(before, n);
    const Channel_record_bytes is = channel_record(after, n);
    if (was == is) continue;
    for (std::size_t i = 0; i < is.size(); ++i) {
      if (((was[i] ^ is[i]) & ~settable_bits[i]) != 0) {
        Channel_fault f;
        f.kind = Channel_fault::fixed_bits;
        f.channel = n;
        f.value = static_cast<int>(i);
        faults.push_back(f);
        break;
      }
    }
    for (const Channel_fault& f : channel_faults(after, n, state.coding_version, state.limits)) {
      faults.push_back(f);
    }
  }
  return faults;
}

std::string channel_fault_text_ru(const Channel_fault& f) {
  const std::string side = f.side == Side::rx ? "приема" : "передачи";
  const std::string channel = "канал " + std::to_string(f.channel) + ": ";
  switch (f.kind) {
    case Channel_fault::out_of_band:
      return channel + "частота " + side + " " + megahertz_text(f.hz) + " МГц вне диапазона " +
             megahertz_text(f.limits.lower) + " - " + megahertz_text(f.limits.upper) + " МГц";
    case Channel_fault::subtone_type:
      return channel + "субтон " + side + " неизвестного типа " + std::to_string(f.value);
    case Channel_fault::ctcss_value:
      return channel + "тон субтона " + side + " записан не четырьмя десятичными цифрами";
    case Channel_fault::dcs_value:
      return channel + "код цифрового субтона " + side + " длиннее девяти бит";
    case Channel_fault::fixed_bits:
      return channel + "байт " + std::to_string(f.value) +
             " записи канала содержит биты, которые не задаются программой";
  }
  return channel;
}

Channel_record_bytes with_own_fixed_bits(const Channel_record_bytes& incoming,
                                         const Channel_record_bytes& own) {
  Channel_record_bytes out{};
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<uint8_t>((incoming[i] & settable_bits[i]) | (own[i] & ~settable_bits[i]));
  }
  return out;
}

}  // namespace tirna
