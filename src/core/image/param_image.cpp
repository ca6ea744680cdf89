#include "core/image/param_image.h"

#include "core/image/channel_record.h"

namespace tirna {

int packet_address(int k) {
  return 8 * (k - 1);
}
int packet_of_address(int addr) {
  return addr / 8 + 1;
}

bool packet_header_matches(const Packet& p, int k) {
  const int a = packet_address(k);
  return p[0] == packet_header_w && p[1] == (a >> 8) && p[2] == (a & 0xFF) &&
         p[3] == packet_data_size;
}

Param_image::Param_image() {
  for (int k = 1; k <= packet_count; ++k) {
    Packet& p = packets_[k - 1];
    const int a = packet_address(k);
    p.fill(0xFF);
    p[0] = packet_header_w;
    p[1] = static_cast<uint8_t>(a >> 8);
    p[2] = static_cast<uint8_t>(a & 0xFF);
    p[3] = packet_data_size;
  }
}

uint8_t band_code_for_index(int band_index) {
  return band_index == 0 ? band_code_low : band_code_high;
}

namespace {

void fill(Param_image& image, int addr, std::initializer_list<uint8_t> bytes) {
  for (uint8_t b : bytes) image.set_byte(addr++, b);
}

void fill(Param_image& image, int addr, int count, uint8_t value) {
  for (int i = 0; i < count; ++i) image.set_byte(addr + i, value);
}

}  // namespace

void new_blok(Param_image& image, int band_index, uint8_t coding_version) {
  image = Param_image{};
  const bool new_coding = is_new_coding(coding_version);
  // Receive and transmit 160.000 MHz (band 0) or 460.000 MHz (band 1), in use, no sub-tones,
  // 25 kHz, no lock-out, not scanned, full power.
  Channel_record_bytes record{};
  if (!new_coding) {
    record = band_index == 0 ? Channel_record_bytes{0x00, 0x64, 0x0C, 0,    0, 0x00, 0x64, 0x0C,
                                                    0,    0,    0x10, 0x00, 0, 0,    1,    1}
                             : Channel_record_bytes{0x80, 0x1F, 0x0D, 0,    0, 0x80, 0x1F, 0x0D,
                                                    0,    0,    0x10, 0x00, 0, 0,    1,    1};
  } else {
    record = band_index == 0 ? Channel_record_bytes{0x00, 0x32, 0x08, 0,    0, 0x00, 0x32, 0x08,
                                                    0,    0,    0x10, 0x0A, 0, 0,    1,    1}
                             : Channel_record_bytes{0xC0, 0x8F, 0x08, 0,    0, 0xC0, 0x8F, 0x08,
                                                    0,    0,    0x10, 0x0A, 0, 0,    1,    1};
  }
  for (int n = 1; n <= channel_count; ++n) set_channel_record(image, n, record);

  fill(image, mem::settings,
       {0x60, 0x03, 0x00, 0x05, 0x01, 0x00, 0x30, 0x06, 0xFF, 0xFF, 0x01, 0x05, 0x28, 0x00, 0x00,
        0x00});
  fill(image, mem::model_text, mem::model_text_size, 0x20);
  fill(image, mem::ident_block,
       {0x00, coding_version, band_code_for_index(band_index), 0x30, 0x30, 0x36, 0x31, 0x50});
  fill(image, mem::fixed_after_ident, {0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00});
  fill(image, mem::factory_number, mem::factory_number_size, 0x20);
  fill(image, mem::prog_date, 14, 0x20);
  fill(image, mem::prog_fixed, {0x00, 0x00});
}

std::string memory_bytes(const Param_image& image) {
  std::string memory(memory_size, '\0');
  for (int addr = 0; addr < memory_size; ++addr) {
    memory[static_cast<std::size_t>(addr)] = static_cast<char>(image.byte(addr));
  }
  return memory;
}

}  // namespace tirna
