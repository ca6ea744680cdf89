#include "core/image/channel_record.h"

namespace tirna {
namespace {

// Byte offsets inside a record.
constexpr int rx_code_low = 0, rx_code_high = 1, rx_control = 2, rx_tone_low = 3, rx_tone_high = 4;
constexpr int tx_code_low = 5, tx_code_high = 6, tx_control = 7, tx_tone_low = 8, tx_tone_high = 9;
constexpr int flags = 10;
constexpr int marker = 11;

int address(int n, int offset) {
  return mem::channels + mem::channel_record_size * (n - 1) + offset;
}
int pick(Side side, int rx_offset, int tx_offset) {
  return side == Side::rx ? rx_offset : tx_offset;
}

}  // namespace

Channel_record_bytes channel_record(const Param_image& image, int n) {
  Channel_record_bytes r{};
  for (int i = 0; i < mem::channel_record_size; ++i) r[i] = image.byte(address(n, i));
  return r;
}

void set_channel_record(Param_image& image, int n, const Channel_record_bytes& record) {
  for (int i = 0; i < mem::channel_record_size; ++i) image.set_byte(address(n, i), record[i]);
}

uint8_t control_byte(const Param_image& image, int n, Side side) {
  return image.byte(address(n, pick(side, rx_control, tx_control)));
}

uint32_t frequency_code(const Param_image& image, int n, Side side) {
  const uint32_t low = image.byte(address(n, pick(side, rx_code_low, tx_code_low)));
  const uint32_t high = image.byte(address(n, pick(side, rx_code_high, tx_code_high)));
  return (control_byte(image, n, side) & control::code_high_bits) * 65536u + high * 256u + low;
}

bool step_flag(const Param_image& image, int n, Side side) {
  return (control_byte(image, n, side) & control::step_6250) != 0;
}

void set_frequency_code(Param_image& image, int n, Side side, uint32_t code, bool step) {
  image.set_byte(address(n, pick(side, rx_code_low, tx_code_low)), static_cast<uint8_t>(code));
  image.set_byte(address(n, pick(side, rx_code_high, tx_code_high)),
                 static_cast<uint8_t>(code >> 8));
  const uint8_t bits = static_cast<uint8_t>(((code >> 16) & control::code_high_bits) |
                                            (step ? control::step_6250 : 0));
  image.set_bits(address(n, pick(side, rx_control, tx_control)), control::frequency_bits, bits);
}

bool channel_in_use(const Param_image& image, int n) {
  return image.bit(address(n, rx_control), control::enabled);
}

void set_channel_in_use(Param_image& image, int n, bool in_use) {
  image.set_bits(address(n, rx_control), control::enabled, in_use ? control::enabled : 0);
}

bool tx_allowed(const Param_image& image, int n) {
  return image.bit(address(n, tx_control), control::enabled);
}

void set_tx_allowed(Param_image& image, int n, bool allowed) {
  image.set_bits(address(n, tx_control), control::enabled, allowed ? control::enabled : 0);
}

bool channel_flag(const Param_image& image, int n, Channel_flag flag) {
  return image.bit(address(n, flags), static_cast<uint8_t>(flag));
}

void toggle_channel_flag(Param_image& image, int n, Channel_flag flag) {
  set_channel_flag(image, n, flag, !channel_flag(image, n, flag));
}

void set_channel_flag(Param_image& image, int n, Channel_flag flag, bool on) {
  const auto mask = static_cast<uint8_t>(flag);
  image.set_bits(address(n, flags), mask, on ? mask : 0);
}

int subtone_type(const Param_image& image, int n, Side side) {
  return (control_byte(image, n, side) & control::subtone_type) >> 4;
}

uint16_t subtone_value(const Param_image& image, int n, Side side) {
  const int low = image.byte(address(n, pick(side, rx_tone_low, tx_tone_low)));
  const int high = image.byte(address(n, pick(side, rx_tone_high, tx_tone_high)));
  return static_cast<uint16_t>(high * 256 + low);
}

void set_subtone(Param_image& image, int n, Side side, int type, uint8_t value_low,
                 uint8_t value_high) {
  image.set_bits(address(n, pick(side, rx_control, tx_control)), control::subtone_type,
                 static_cast<uint8_t>(type << 4));
  image.set_byte(address(n, pick(side, rx_tone_low, tx_tone_low)), value_low);
  image.set_byte(address(n, pick(side, rx_tone_high, tx_tone_high)), value_high);
}

uint8_t coding_marker(const Param_image& image, int n) {
  return image.byte(address(n, marker));
}

void set_coding_marker(Param_image& image, int n, uint8_t value) {
  image.set_byte(address(n, marker), value);
}

}  // namespace tirna
