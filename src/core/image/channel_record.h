#pragma once
// Typed access to the 16 channel records (16 bytes each, channel n at 16(n-1)). Nothing outside
// this file knows which byte of a record holds what.

#include <array>
#include <cstdint>

#include "core/image/param_image.h"
#include "core/image/working_state.h"

namespace tirna {

inline constexpr int channel_count = 16;

enum class Side { rx = 0, tx = 1 };

using Channel_record_bytes = std::array<uint8_t, mem::channel_record_size>;
Channel_record_bytes channel_record(const Param_image& image, int n);
void set_channel_record(Param_image& image, int n, const Channel_record_bytes& record);

// Control byte (byte 2 receive, byte 7 transmit).
namespace control {
inline constexpr uint8_t code_high_bits = 0x03;  // bits 16-17 of the frequency code
inline constexpr uint8_t step_6250 = 0x04;       // old coding: 6.25 kHz steps
inline constexpr uint8_t enabled = 0x08;         // rx: channel in use; tx: transmit allowed
inline constexpr uint8_t subtone_type = 0x70;
inline constexpr uint8_t frequency_bits = code_high_bits | step_6250;
}  // namespace control

// Channel flags byte (byte 10).
enum class Channel_flag : uint8_t {
  narrow = 0x01,        // 12.5 kHz instead of 25 kHz
  busy_lockout = 0x04,  // no transmit on a busy channel
  no_scan = 0x10,       // left out of scanning (set bit: not scanned)
  low_power = 0x20,     // reduced transmit power
};

uint8_t control_byte(const Param_image& image, int n, Side side);

// Frequency code fields: the 18-bit code and the step flag.
uint32_t frequency_code(const Param_image& image, int n, Side side);
bool step_flag(const Param_image& image, int n, Side side);
// Changes the two code bytes and bits 0-2 of the control byte only.
void set_frequency_code(Param_image& image, int n, Side side, uint32_t code, bool step);

bool channel_in_use(const Param_image& image, int n);
void set_channel_in_use(Param_image& image, int n, bool in_use);
bool tx_allowed(const Param_image& image, int n);
void set_tx_allowed(Param_image& image, int n, bool allowed);

bool channel_flag(const Param_image& image, int n, Channel_flag flag);
void toggle_channel_flag(Param_image& image, int n, Channel_flag flag);
void set_channel_flag(Param_image& image, int n, Channel_flag flag, bool on);

// Sub-tone fields: type (bits 4-6 of the control byte) and 16-bit value.
int subtone_type(const Param_image& image, int n, Side side);
uint16_t subtone_value(const Param_image& image, int n, Side side);
// Changes the type bits and the two value bytes only.
void set_subtone(Param_image& image, int n, Side side, int type, uint8_t value_low,
                 uint8_t value_high);

uint8_t coding_marker(const Param_image& image, int n);
void set_coding_marker(Param_image& image, int n, uint8_t marker);
inline constexpr uint8_t coding_marker_new = 0x0A;
inline constexpr uint8_t coding_marker_old = 0x00;

}  // namespace tirna
