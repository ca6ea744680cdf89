#include <gtest/gtest.h>

#include "core/image/frequency.h"
#include "test_support.h"

namespace tirna {
namespace {

using test::hex;
using test::memory;

struct Coding_case {
  int64_t hz;
  uint8_t version;
  const char* bytes;  // low, high, control for a channel in use with no sub-tone
  const char* text;
};

class FrequencyEncoding : public ::testing::TestWithParam<Coding_case> {};

TEST_P(FrequencyEncoding, EncodingTruncatesToTheGridAndTheTextShowsWhatIsStored) {
  const auto& e = GetParam();
  Param_image image;
  new_blok(image, 0, e.version);
  image.set_byte(2, 0x08);  // in use, no sub-tone, no frequency bits
  store_frequency(image, 1, Side::rx, e.hz, e.version);
  EXPECT_EQ(memory(image, 0, 3), hex(e.bytes));
  EXPECT_EQ(blok_to_frq_str(image, 1, Side::rx, e.version), e.text);
}

INSTANTIATE_TEST_SUITE_P(Table, FrequencyEncoding,
                         ::testing::Values(Coding_case{160000000, 2, "00 64 0C", "  160,000000"},
                                           Coding_case{160005000, 2, "01 7D 08", "  160,005000"},
                                           Coding_case{160012500, 2, "02 7D 08", "  160,010000"},
                                           Coding_case{453000000, 2, "20 1B 0D", "  453,000000"},
                                           Coding_case{460012500, 2, "62 67 09", "  460,010000"},
                                           Coding_case{470000000, 2, "C0 25 0D", "  470,000000"},
                                           Coding_case{148002500, 4, "40 2E 08", "  148,000000"},
                                           Coding_case{160000000, 4, "00 32 08", "  160,000000"},
                                           Coding_case{460012500, 4, "C1 8F 08",
                                                          "  460,012500"}));

TEST(FrequencyCoding, SameBytesMeanDifferentFrequenciesUnderTheTwoCodings) {
  EXPECT_EQ(decode_frequency({25600, true}, 2), 160000000);
  EXPECT_EQ(decode_frequency({25600, true}, 4), 320000000);
}

TEST(FrequencyCoding, OldCodingTruncatesToFiveKilohertz) {
  EXPECT_EQ(encode_frequency(174995000, 2), (Frequency_code{34999, false}));
  EXPECT_EQ(encode_frequency(160006250, 2), (Frequency_code{32001, false}));
  EXPECT_EQ(encode_frequency(160012500, 2), (Frequency_code{32002, false}));
}

TEST(FrequencyCoding, NewCodingTruncatesToTwelveAndAHalfKilohertz) {
  const Frequency_code c = encode_frequency(174995000, 4);
  EXPECT_EQ(c, (Frequency_code{13999, false}));
  EXPECT_EQ(decode_frequency(c, 4), 174987500);
}

TEST(FrequencyCoding, TopOfTheBandIsHeldInSixPointTwoFiveKilohertzSteps) {
  Param_image image;
  new_blok(image, 0, 2);
  store_frequency(image, 1, Side::tx, 175000000, 2);
  EXPECT_EQ(memory(image, 5, 3), hex("60 6D 0C"));
}

TEST(FrequencyCoding, EveryGridFrequencyOfBothBandsRoundTrips) {
  for (uint8_t version : {uint8_t{2}, uint8_t{4}}) {
    const int64_t step = version >= 4 ? 12500 : 5000;
    for (int band = 0; band < 2; ++band) {
      const Band_limits l = band_limits(band);
      for (int64_t hz = l.lower; hz <= l.upper; hz += step) {
        ASSERT_EQ(decode_frequency(encode_frequency(hz, version), version), hz) << hz;
      }
    }
  }
}

TEST(FrequencyCoding, StoringLeavesControlBitsThreeToSevenAlone) {
  Param_image image;
  new_blok(image, 0, 2);
  image.set_byte(7, 0xF8);
  store_frequency(image, 1, Side::tx, 460012500, 2);
  EXPECT_EQ(image.byte(7), 0xF9);
  EXPECT_EQ(memory(image, 0, 3), hex("00 64 0C"));  // receive side untouched
}

TEST(FrequencyText, OtherDigitCountsStillGiveAText) {
  EXPECT_EQ(frequency_text(0), "  0,000000");
  EXPECT_EQ(frequency_text(12500), "  0,012500");
  EXPECT_EQ(frequency_text(99999999), "  99,999999");
  EXPECT_EQ(frequency_text(3276787500), "  3276,787500");
  Param_image erased;  // 0xFF records: the largest code in both codings
  for (int a = 0; a < 16; ++a) erased.set_byte(a, 0xFF);
  EXPECT_EQ(blok_to_frq_str(erased, 1, Side::rx, 2), "  1638,393750");
  EXPECT_EQ(blok_to_frq_str(erased, 1, Side::rx, 4), "  3276,787500");
}

TEST(BandLimits, FrqSetGivesTheTableLimitsAndIgnoresOtherIndexes) {
  Working_state state;
  EXPECT_EQ(state.limits, (Band_limits{146000000, 174000000}));
  frq_set(state, 1);
  EXPECT_EQ(state.limits, (Band_limits{448000000, 472000000}));
  EXPECT_EQ(state.band_index, 1);
  frq_set(state, 0);
  EXPECT_EQ(state.limits, (Band_limits{146000000, 175000000}));
  frq_set(state, -1);
  frq_set(state, 2);
  EXPECT_EQ(state.band_index, 0);
  EXPECT_EQ(state.limits.upper, 175000000);
}

TEST(CodingConversion, ConversionsTruncateToTheTargetGridAndSetTheMarker) {
  Param_image image;
  new_blok(image, 0, 2);
  for (const auto& [before, after] : std::vector<std::pair<const char*, const char*>>{
           {"01 7D 08", "00 32 08"}, {"62 67 09", "C0 8F 08"}, {"00 64 0C", "00 32 08"}}) {
    const auto b = hex(before);
    for (int i = 0; i < 3; ++i) image.set_byte(i, b[i]);
    cod_new(image);
    EXPECT_EQ(memory(image, 0, 3), hex(after)) << before;
    EXPECT_EQ(image.byte(11), 0x0A);
  }
  for (const auto& [before, after] : std::vector<std::pair<const char*, const char*>>{
           {"C1 8F 08", "62 67 09"}, {"C0 8F 08", "80 1F 0D"}, {"00 32 08", "00 64 0C"}}) {
    const auto b = hex(before);
    for (int i = 0; i < 3; ++i) image.set_byte(5 + i, b[i]);
    cod_old(image);
    EXPECT_EQ(memory(image, 5, 3), hex(after)) << before;
    EXPECT_EQ(image.byte(11), 0x00);
  }
}

TEST(CodingConversion, NewThenOldLosesTheFiveKilohertzStep) {
  Param_image image;
  new_blok(image, 0, 2);
  store_frequency(image, 4, Side::rx, 160005000, 2);
  cod_new(image);
  cod_old(image);
  EXPECT_EQ(channel_frequency(image, 4, Side::rx, 2), 160000000);
}

TEST(CodingConversion, KeepsEveryOtherBitOfEveryRecord) {
  Param_image image;
  for (int a = 0; a < 0x100; ++a) image.set_byte(a, static_cast<uint8_t>(a * 37 + 11));
  const Param_image before = image;
  cod_new(image);
  cod_old(image);
  for (int n = 0; n < 16; ++n) {
    for (int i : {2, 7}) {
      EXPECT_EQ(image.byte(16 * n + i) & 0xF8, before.byte(16 * n + i) & 0xF8);
    }
    for (int i : {3, 4, 8, 9, 10, 12, 13, 14, 15}) {
      EXPECT_EQ(image.byte(16 * n + i), before.byte(16 * n + i));
    }
  }
}

}  // namespace
}  // namespace tirna
