#include "core/pages/settings.h"

#include <bit>

namespace tirna {
namespace {

constexpr uint8_t squelch_key_bits = 0xE0;
constexpr uint8_t power_select_short = 2;  // the power selection that shows the short form

int bcd_value(uint8_t b) {
  return 10 * (b >> 4) + (b & 0x0F);
}
uint8_t to_bcd(int v) {
  return static_cast<uint8_t>((v / 10) * 16 + v % 10);
}
int shift_of(uint8_t mask) {
  return std::countr_zero(static_cast<unsigned>(mask));
}
int squelch_code(const Param_image& image) {
  return image.byte(mem::scan_key) >> shift_of(squelch_key_bits);
}

std::optional<int> in_list(int index, int slot, Squelch_form form) {
  if (index < 0 || index >= static_cast<int>(setting_items(slot, form).size())) {
    return std::nullopt;
  }
  return index;
}

}  // namespace

const std::vector<std::string>& setting_items(int slot, Squelch_form form) {
  const Parameter& p = setting_entry(slot);
  if (p.codec.kind == Setting_codec::squelch_key && form == Squelch_form::short_form) {
    return squelch_key_short_items();
  }
  return p.items();
}

Squelch_form squelch_form_for(const Param_image& image) {
  return image.byte(mem::power_select) == power_select_short ? Squelch_form::short_form
                                                             : Squelch_form::long_form;
}

std::optional<int> read_setting(const Param_image& image, int slot) {
  const Parameter& p = setting_entry(slot);
  const Setting_codec& c = p.codec;
  const uint8_t b = image.byte(p.address);
  const Squelch_form form = squelch_form_for(image);
  int index = -1;
  switch (c.kind) {
    case Setting_codec::bits:
    case Setting_codec::power_select:
      index = ((b & c.mask) >> shift_of(c.mask)) - c.offset;
      break;
    case Setting_codec::bcd:
      if (c.off_byte >= 0 && b == c.off_byte) {
        index = static_cast<int>(setting_items(slot).size()) - 1;
      } else {
        index = bcd_value(b) / c.scale - c.offset;
      }
      break;
    case Setting_codec::squelch_key: {
      const int code = squelch_code(image);
      if (form == Squelch_form::long_form) {
        index = code;
      } else {
        index = code % 2 == 0 ? code / 2 : -1;  // an odd code has no item in the short form
      }
      break;
    }
  }
  return in_list(index, slot, form);
}

void write_setting(Param_image& image, int slot, int item) {
  const Parameter& p = setting_entry(slot);
  const Setting_codec& c = p.codec;
  switch (c.kind) {
    case Setting_codec::bits:
    case Setting_codec::power_select:
      image.set_bits(p.address, c.mask, static_cast<uint8_t>((item + c.offset) << shift_of(c.mask)));
      break;
    case Setting_codec::bcd: {
      const bool off = c.off_byte >= 0 && item == static_cast<int>(setting_items(slot).size()) - 1;
      image.set_byte(p.address, off ? static_cast<uint8_t>(c.off_byte)
                                    : to_bcd(c.scale * (item + c.offset)));
      break;
    }
    case Setting_codec::squelch_key:
      squelch_key_change(image, item);
      break;
  }
}

void squelch_key_change(Param_image& image, int item) {
  int code = item;
  if (squelch_form_for(image) == Squelch_form::short_form) code = 2 * item;
  image.set_bits(mem::scan_key, squelch_key_bits,
                 static_cast<uint8_t>(code << shift_of(squelch_key_bits)));
}

Power_change_result power_select_change(Param_image& image, Squelch_form shown_form,
                                        std::optional<int> k, int p) {
  write_setting(image, power_select_slot, p);
  Power_change_result result{shown_form, k};
  if (p == power_select_short) {
    result.form = Squelch_form::short_form;
    if (shown_form == Squelch_form::long_form && k) {
      static constexpr int long_to_short[] = {0, 0, 1, 0, 2};
      result.squelch_item =
          *k >= 0 && *k <= 4 ? std::optional<int>(long_to_short[*k]) : std::nullopt;
    }
  } else if (p == 0 || p == 1) {
    result.form = Squelch_form::long_form;
    if (shown_form == Squelch_form::short_form && k) {
      static constexpr int short_to_long[] = {0, 2, 4};
      result.squelch_item =
          *k >= 0 && *k <= 2 ? std::optional<int>(short_to_long[*k]) : std::nullopt;
    }
  }
  if (result.squelch_item) squelch_key_change(image, *result.squelch_item);
  return result;
}

std::string setting_text(int slot, Squelch_form form, std::optional<int> item) {
  if (!item) return "";
  const auto& items = setting_items(slot, form);
  if (*item < 0 || *item >= static_cast<int>(items.size())) return "";
  return items[*item];
}

}  // namespace tirna
