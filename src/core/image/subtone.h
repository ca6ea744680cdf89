#pragma once
// Sub-tone coding: none, CTCSS (tone in tenths of Hz as four BCD digits) or DCS normal/inverted
// (three octal digits as a 9-bit number), held per direction in a channel record.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/image/channel_record.h"

namespace tirna {

namespace subtone {
inline constexpr int none = 0;
inline constexpr int ctcss = 3;
inline constexpr int dcs = 5;
inline constexpr int dcs_inverted = 7;
}  // namespace subtone

extern const std::array<std::string_view, 38> ctcss_list;  // "67,0" .. "250,3"
extern const std::array<std::string_view, 83> dcs_list;    // "023" .. "754"

// " Выключен", "  CTC 67,0", "   DCS 023", "  -DCS 754"; empty for the types the program never
// writes (1, 2, 4, 6).
std::string blok_to_stone_str(const Param_image& image, int n, Side side);

// CTCSS value -> tenths of Hz, summing the four nibbles weighted 1000, 100, 10, 1 (no digit test).
int ctcss_tenths(uint16_t value);
// "67,0": tenths of Hz with one decimal and a comma.
std::string ctcss_text(int tenths);
// DCS value -> the number 100*(bits 6-9) + 10*(bits 3-5) + bits 0-2, and its three-digit text.
int dcs_number(uint16_t value);
std::string dcs_text(uint16_t value);

// What the sub-tone dialog preselects from.
struct Subtone_reading {
  int type = subtone::none;
  std::string ctcss;  // type 3: "67,0"
  std::string dcs;    // types 5, 7: "023"
};
Subtone_reading read_subtone(const Param_image& image, int n, Side side);

// Storing. Only the type bits of the control byte and the two value bytes change.
void store_subtone_none(Param_image& image, int n, Side side);
// The tone as its BCD bytes (high: thousands, hundreds; low: tens, units).
void store_subtone_ctcss(Param_image& image, int n, Side side, uint8_t high, uint8_t low);
// Three digits d1 d2 d3 as the value d1*64 + d2*8 + d3 (bit 8 in the high byte).
void store_subtone_dcs(Param_image& image, int n, Side side, int d1, int d2, int d3, bool inverted);

}  // namespace tirna
