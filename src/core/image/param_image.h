#pragma once
// The parameter image: the program's copy of the radio's 1024-byte memory, held as the 128 write
// packets of 12 bytes in which it travels to the radio, from the radio and into files.

#include <array>
#include <cstdint>
#include <string>

namespace tirna {

inline constexpr int packet_count = 128;
inline constexpr int packet_size = 12;
inline constexpr int packet_data_size = 8;
inline constexpr int memory_size = packet_count * packet_data_size;  // 1024

using Packet = std::array<uint8_t, packet_size>;

// Header of packet k (1..128): 'W', address high, address low, 8.
inline constexpr uint8_t packet_header_w = 0x57;
int packet_address(int k);        // 8(k-1)
int packet_of_address(int addr);  // (addr div 8) + 1
bool packet_header_matches(const Packet& p, int k);

class Param_image {
 public:
  // All 128 packets with their headers and 0xFF data: what new_blok starts from.
  Param_image();

  const Packet& packet(int k) const { return packets_[k - 1]; }
  void set_packet(int k, const Packet& p) { packets_[k - 1] = p; }

  // Memory address 0x000..0x3FF: byte 4 + (addr mod 8) of packet (addr div 8) + 1.
  uint8_t byte(int addr) const { return packets_[addr >> 3][4 + (addr & 7)]; }
  void set_byte(int addr, uint8_t value) { packets_[addr >> 3][4 + (addr & 7)] = value; }
  // Replaces the bits of mask with those of value; the other bits stay.
  void set_bits(int addr, uint8_t mask, uint8_t value) {
    set_byte(addr, static_cast<uint8_t>((byte(addr) & ~mask) | (value & mask)));
  }
  bool bit(int addr, uint8_t mask) const { return (byte(addr) & mask) != 0; }

  friend bool operator==(const Param_image&, const Param_image&) = default;

 private:
  std::array<Packet, packet_count> packets_{};
};

// The 1024 memory bytes of the image in address order, without the packet headers: what a
// journal's hash of a radio's memory is taken of.
std::string memory_bytes(const Param_image& image);

// Memory map: one place names every area of the radio memory.
namespace mem {
inline constexpr int channels = 0x000;  // 16 records of 16 bytes
inline constexpr int channel_record_size = 16;
inline constexpr int settings = 0x2B0;          // 0x2B0..0x2BF, general settings:
inline constexpr int scan_key = 0x2B0;          // bits 7-5 squelch key, 4-3 scan mode
inline constexpr int scan_tx_channel = 0x2B1;   // low nibble
inline constexpr int priority_channel = 0x2B2;  // BCD
inline constexpr int priority_period = 0x2B3;   // BCD, tenths of a second
inline constexpr int power_select = 0x2B4;
inline constexpr int scan_resume = 0x2B6;     // BCD, tenths of a second
inline constexpr int transmit_timer = 0x2B7;  // BCD, tens of seconds; 0xFF off
inline constexpr int squelch_level = 0x2BB;
inline constexpr int beep_save = 0x2BC;  // bit 5 beep, bit 3 power saving; a write clears bits 0-1
inline constexpr int warning_timer = 0x2BD;
inline constexpr int repeat_timer = 0x2BE;  // BCD seconds
inline constexpr int reset_timer = 0x2BF;   // BCD seconds
inline constexpr int model_text = 0x2C0;    // 16 characters
inline constexpr int model_text_size = 16;
inline constexpr int ident_block = 0x2D0;  // 0x2D0..0x2D7
inline constexpr int version_byte = 0x2D1;
inline constexpr int band_code = 0x2D2;
inline constexpr int ident_model = 0x2D3;        // "0061P": "P1600" read downwards
inline constexpr int fixed_after_ident = 0x2D8;  // 00 02 00 00 00 00 00 00
inline constexpr int factory_number = 0x2E0;     // 7 characters
inline constexpr int factory_number_size = 7;
inline constexpr int free_text = 0x300;  // 0x300..0x3BF
inline constexpr int free_text_size = 192;
inline constexpr int prog_date = 0x3C0;   // YYYYMMDD
inline constexpr int prog_time = 0x3C8;   // HHMMSS
inline constexpr int prog_fixed = 0x3CE;  // 00 00
}  // namespace mem

// Band codes of the identification block and of the radio identification.
inline constexpr uint8_t band_code_low = 0x00;   // 148-174 MHz, band index 0
inline constexpr uint8_t band_code_high = 0x06;  // 450-470 MHz, band index 1
uint8_t band_code_for_index(int band_index);

// The packets a write of the parameter image sends, in order.
inline constexpr std::array<int, 38> parameter_write_packets = {
    1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18,  19,
    20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 87, 88, 91, 92, 121, 122};

// Builds the default image for a band index (0 or 1) and a coding version; whatever the image held
// before leaves no trace.
void new_blok(Param_image& image, int band_index, uint8_t coding_version);

}  // namespace tirna
