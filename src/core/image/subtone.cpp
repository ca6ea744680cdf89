#include "core/image/subtone.h"

namespace tirna {

const std::array<std::string_view, 38> ctcss_list = {
    "67,0",  "71,9",  "74,4",  "77,0",  "79,7",  "82,5",  "85,4",  "88,5",  "91,5",  "94,8",
    "97,4",  "100,0", "103,5", "107,2", "110,9", "114,8", "118,8", "123,0", "127,3", "131,8",
    "136,5", "141,3", "146,2", "151,4", "156,7", "162,2", "167,9", "173,8", "179,9", "186,2",
    "192,8", "203,5", "210,7", "218,1", "225,7", "233,6", "241,8", "250,3"};

const std::array<std::string_view, 83> dcs_list = {
    "023", "025", "026", "031", "032", "043", "047", "051", "054", "065", "071", "072",
    "073", "074", "114", "115", "116", "125", "131", "132", "134", "143", "152", "155",
    "156", "162", "165", "172", "174", "205", "223", "226", "243", "244", "245", "251",
    "261", "263", "265", "271", "306", "311", "315", "331", "343", "346", "351", "364",
    "365", "371", "411", "412", "413", "423", "431", "432", "445", "464", "465", "466",
    "503", "506", "516", "532", "546", "565", "606", "612", "624", "627", "631", "632",
    "654", "662", "664", "703", "712", "723", "731", "732", "734", "743", "754"};

int ctcss_tenths(uint16_t v) {
  return 1000 * ((v >> 12) & 0xF) + 100 * ((v >> 8) & 0xF) + 10 * ((v >> 4) & 0xF) + (v & 0xF);
}

std::string ctcss_text(int tenths) {
  return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10);
}

int dcs_number(uint16_t v) {
  return 100 * ((v >> 6) & 0xF) + 10 * ((v >> 3) & 0x7) + (v & 0x7);
}

std::string dcs_text(uint16_t v) {
  const int number = dcs_number(v);
  return (number < 100 ? "0" : "") + std::to_string(number);
}

std::string blok_to_stone_str(const Param_image& image, int n, Side side) {
  const uint16_t value = subtone_value(image, n, side);
  switch (subtone_type(image, n, side)) {
    case subtone::none:
      return " Выключен";
    case subtone::ctcss:
      return "  CTC " + ctcss_text(ctcss_tenths(value));
    case subtone::dcs:
      return "   DCS " + dcs_text(value);
    case subtone::dcs_inverted:
      return "  -DCS " + dcs_text(value);
    default:
      return "";
  }
}

Subtone_reading read_subtone(const Param_image& image, int n, Side side) {
  Subtone_reading r;
  r.type = subtone_type(image, n, side);
  const uint16_t value = subtone_value(image, n, side);
  if (r.type == subtone::ctcss) r.ctcss = ctcss_text(ctcss_tenths(value));
  if (r.type == subtone::dcs || r.type == subtone::dcs_inverted) r.dcs = dcs_text(value);
  return r;
}

void store_subtone_none(Param_image& image, int n, Side side) {
  set_subtone(image, n, side, subtone::none, 0x00, 0x00);
}

void store_subtone_ctcss(Param_image& image, int n, Side side, uint8_t high, uint8_t low) {
  set_subtone(image, n, side, subtone::ctcss, low, high);
}

void store_subtone_dcs(Param_image& image, int n, Side side, int d1, int d2, int d3,
                       bool inverted) {
  const int value = d1 * 64 + d2 * 8 + d3;
  set_subtone(image, n, side, inverted ? subtone::dcs_inverted : subtone::dcs,
              static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>((value >> 8) & 1));
}

}  // namespace tirna
