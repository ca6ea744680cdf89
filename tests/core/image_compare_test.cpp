#include <gtest/gtest.h>

#include "core/image/frequency.h"
#include "core/compare/image_compare.h"
#include "test_support.h"

namespace tirna {
namespace {

Param_image default_image(uint8_t coding_version = 2) {
  Param_image image;
  new_blok(image, 0, coding_version);
  return image;
}

TEST(ImageCompare, EqualImagesHaveNoDifference) {
  EXPECT_TRUE(compare_images(default_image(), default_image()).same());
}

TEST(ImageCompare, AShownChangeIsAParameterAndNoByte) {
  Param_image b = default_image();
  store_frequency(b, 3, Side::tx, 150000000, 2);
  set_channel_flag(b, 4, Channel_flag::low_power, true);
  const auto c = compare_images(default_image(), b);
  ASSERT_EQ(c.parameters.size(), 2u);
  EXPECT_EQ(c.parameters[0].name, "f_tx3");
  EXPECT_EQ(c.parameters[0].a, "  160,000000");
  EXPECT_EQ(c.parameters[0].b, "  150,000000");
  EXPECT_EQ(c.parameters[1].name, "pow4");
  EXPECT_TRUE(c.bytes.empty());
}

TEST(ImageCompare, BytesTheWindowDoesNotShowAreListedByAddress) {
  Param_image b = default_image();
  b.set_byte(0x100, 0x00);  // unused area
  b.set_byte(0x2D8, 0x01);  // fixed bytes after the identification block
  set_channel_flag(b, 1, static_cast<Channel_flag>(0x80), true);  // an unused bit of the flags
  Packet p = b.packet(5);
  p[0] = 0x00;  // a header byte
  b.set_packet(5, p);
  const auto c = compare_images(default_image(), b);
  EXPECT_TRUE(c.parameters.empty());
  ASSERT_EQ(c.bytes.size(), 4u);
  EXPECT_EQ(c.bytes[0].address(), 0x00A);
  EXPECT_EQ(c.bytes[1].packet, 5);
  EXPECT_TRUE(c.bytes[1].header());
  EXPECT_EQ(c.bytes[2].address(), 0x100);
  EXPECT_EQ(c.bytes[2].a, 0xFF);
  EXPECT_EQ(c.bytes[2].b, 0x00);
  EXPECT_EQ(c.bytes[3].address(), 0x2D8);
}

TEST(ImageCompare, AFrequencyHiddenByAChannelThatIsOffIsAByteDifference) {
  Param_image a = default_image();
  set_channel_in_use(a, 2, false);
  Param_image b = a;
  store_frequency(b, 2, Side::rx, 150000000, 2);
  const auto c = compare_images(a, b);
  EXPECT_TRUE(c.parameters.empty());
  EXPECT_EQ(c.bytes.size(), 2u);  // the two code bytes; the control byte's bits stay
  // With the channel on in one of them, the frequency is a shown difference, but the other's
  // frequency is still hidden: the code bytes stay listed, the in-use bit is shown.
  set_channel_in_use(b, 2, true);
  const auto half = compare_images(a, b);
  EXPECT_FALSE(half.parameters.empty());
  EXPECT_EQ(half.bytes.size(), 2u);
  set_channel_in_use(a, 2, true);
  const auto shown = compare_images(a, b);
  EXPECT_EQ(shown.parameters.size(), 1u);
  EXPECT_TRUE(shown.bytes.empty());
}

TEST(ImageCompare, CodingVersionAndTimeCount) {
  Param_image b = default_image();
  b.set_byte(0x2D1, 3);  // old coding still: only the version itself differs
  b.set_byte(0x3C0, '2');
  const auto c = compare_images(default_image(), b);
  ASSERT_EQ(c.parameters.size(), 2u);
  EXPECT_EQ(c.parameters[0].name, "coding_version");
  EXPECT_EQ(c.parameters[1].name, "time");
  EXPECT_TRUE(c.bytes.empty());
}

}  // namespace
}  // namespace tirna
