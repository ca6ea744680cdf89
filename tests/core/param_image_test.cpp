#include <gtest/gtest.h>

#include "core/image/channel_record.h"
#include "core/image/param_image.h"
#include "test_support.h"

namespace tirna {
namespace {

using test::hex;
using test::memory;

struct Default_case {
  int band;
  uint8_t version;
  const char* record;
};

class DefaultImage : public ::testing::TestWithParam<Default_case> {};

TEST_P(DefaultImage, DependsOnlyOnBandAndCodingByteForByte) {
  const auto& c = GetParam();
  Param_image image;
  new_blok(image, c.band, c.version);

  for (int k = 1; k <= packet_count; ++k) {
    const Packet& p = image.packet(k);
    EXPECT_EQ(p[0], 0x57) << k;
    EXPECT_EQ(p[1], (8 * (k - 1)) / 256) << k;
    EXPECT_EQ(p[2], (8 * (k - 1)) % 256) << k;
    EXPECT_EQ(p[3], 0x08) << k;
  }
  for (int n = 0; n < 16; ++n) EXPECT_EQ(memory(image, 16 * n, 16), hex(c.record)) << n;
  for (int a = 0x100; a < 0x2B0; ++a) EXPECT_EQ(image.byte(a), 0xFF) << a;
  EXPECT_EQ(memory(image, 0x2B0, 16), hex("60 03 00 05 01 00 30 06 FF FF 01 05 28 00 00 00"));
  EXPECT_EQ(memory(image, 0x2C0, 16), std::vector<uint8_t>(16, 0x20));
  const uint8_t band_code = c.band == 0 ? 0x00 : 0x06;
  EXPECT_EQ(memory(image, 0x2D0, 8),
            (std::vector<uint8_t>{0x00, c.version, band_code, 0x30, 0x30, 0x36, 0x31, 0x50}));
  EXPECT_EQ(memory(image, 0x2D8, 8), hex("00 02 00 00 00 00 00 00"));
  EXPECT_EQ(memory(image, 0x2E0, 7), std::vector<uint8_t>(7, 0x20));
  for (int a = 0x2E7; a < 0x3C0; ++a) EXPECT_EQ(image.byte(a), 0xFF) << a;
  EXPECT_EQ(memory(image, 0x3C0, 14), std::vector<uint8_t>(14, 0x20));
  EXPECT_EQ(memory(image, 0x3CE, 2), hex("00 00"));
  for (int a = 0x3D0; a < 0x400; ++a) EXPECT_EQ(image.byte(a), 0xFF) << a;
}

INSTANTIATE_TEST_SUITE_P(
    AllBandsAndCodings, DefaultImage,
    ::testing::Values(Default_case{0, 2, "00 64 0C 00 00 00 64 0C 00 00 10 00 00 00 01 01"},
                      Default_case{1, 3, "80 1F 0D 00 00 80 1F 0D 00 00 10 00 00 00 01 01"},
                      Default_case{0, 4, "00 32 08 00 00 00 32 08 00 00 10 0A 00 00 01 01"},
                      Default_case{1, 7, "C0 8F 08 00 00 C0 8F 08 00 00 10 0A 00 00 01 01"}));

TEST(ParamImage, EachPacketsHeaderCarriesItsOwnAddress) {
  Param_image image;
  EXPECT_EQ(std::vector<uint8_t>(image.packet(1).begin(), image.packet(1).begin() + 4),
            hex("57 00 00 08"));
  EXPECT_EQ(std::vector<uint8_t>(image.packet(33).begin(), image.packet(33).begin() + 4),
            hex("57 01 00 08"));
  EXPECT_EQ(std::vector<uint8_t>(image.packet(87).begin(), image.packet(87).begin() + 4),
            hex("57 02 B0 08"));
  EXPECT_EQ(std::vector<uint8_t>(image.packet(128).begin(), image.packet(128).begin() + 4),
            hex("57 03 F8 08"));
}

TEST(ParamImage, ByteAddressMapsIntoPacketData) {
  Param_image image;
  image.set_byte(0x2B0, 0xAB);
  image.set_byte(0x3CF, 0xCD);
  EXPECT_EQ(image.packet(87)[4], 0xAB);
  EXPECT_EQ(image.packet(122)[11], 0xCD);
}

TEST(ParamImage, NewBlokLeavesNoTraceOfEarlierData) {
  Param_image image;
  for (int a = 0; a < memory_size; ++a) image.set_byte(a, static_cast<uint8_t>(a * 7));
  Packet odd{};
  image.set_packet(5, odd);
  new_blok(image, 0, 2);
  Param_image fresh;
  new_blok(fresh, 0, 2);
  EXPECT_EQ(image, fresh);
  EXPECT_EQ(image.byte(0x2E7), 0xFF);
  for (int a = 0x300; a < 0x3C0; ++a) EXPECT_EQ(image.byte(a), 0xFF);
}

TEST(ParamImage, ChangedHeadersAreKeptAsTheyAre) {
  Param_image image;
  Packet p = image.packet(10);
  p[0] = 0x00;
  p[1] = 0x77;
  image.set_packet(10, p);
  EXPECT_EQ(image.packet(10)[0], 0x00);
  EXPECT_EQ(image.packet(10)[1], 0x77);
  EXPECT_FALSE(packet_header_matches(image.packet(10), 10));
  EXPECT_TRUE(packet_header_matches(image.packet(11), 11));
}

TEST(ChannelRecord, FieldAccessorsTouchOnlyTheirBits) {
  Param_image image;
  new_blok(image, 0, 2);
  set_channel_in_use(image, 3, false);
  EXPECT_EQ(image.byte(0x20 + 2), 0x04);
  set_tx_allowed(image, 3, false);
  EXPECT_EQ(image.byte(0x20 + 7), 0x04);
  set_channel_flag(image, 3, Channel_flag::low_power, true);
  EXPECT_EQ(image.byte(0x20 + 10), 0x30);
  toggle_channel_flag(image, 3, Channel_flag::no_scan);
  EXPECT_EQ(image.byte(0x20 + 10), 0x20);
  // Bit 7 of the control byte belongs to nobody and survives every writer.
  image.set_byte(0x20 + 2, 0x8C);
  set_frequency_code(image, 3, Side::rx, 0x3FFFF, false);
  set_channel_in_use(image, 3, false);
  set_subtone(image, 3, Side::rx, 7, 0, 0);
  EXPECT_EQ(image.byte(0x20 + 2) & 0x80, 0x80);
}

}  // namespace
}  // namespace tirna
