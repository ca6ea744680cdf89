// The read-back check: what a write sends, and how the radio's memory is compared with it.

#include <gtest/gtest.h>

#include "core/image/frequency.h"
#include "core/pages/extra_data.h"
#include "core/compare/write_check.h"
#include "core/transfer/write_image.h"
#include "fake_link.h"

namespace tirna {
namespace {

using test::fixed_clock;

// A file as opened: band 0 in coding version v, channel 2 on a frequency that only the old coding
// holds exactly, the two bits a write clears set, texts the write does not send.
Workspace file_workspace(uint8_t v) {
  Workspace ws;
  ws.state.coding_version = v;
  new_blok(ws.image, 0, v);
  store_frequency(ws.image, 2, Side::rx, 150006250, v);
  set_channel_flag(ws.image, 5, Channel_flag::low_power, true);
  ws.image.set_bits(mem::beep_save, 0x03, 0x03);
  ws.image.set_byte(mem::factory_number, '7');
  set_dop_dat(ws.image, "free text");
  return ws;
}

// The radio after a write of `file` through the real write transfer.
test::Link_rig written_radio(const Workspace& file, uint8_t radio_version) {
  test::Link_rig rig;
  rig.radio.identification[identification_version_byte] = radio_version;
  new_blok(rig.radio.memory, 0, 7);  // whatever the radio held before
  rig.radio.memory.set_byte(mem::free_text, 'x');
  rig.ws = file;
  const Transfer_result r = write_parameter_image(rig.ws, rig.session, rig.view, fixed_clock);
  EXPECT_EQ(r.status, Link_status::ok);
  return rig;
}

TEST(WriteCheck, AFileIsEqualToTheRadioRightAfterItsWriteInEveryCodingCase) {
  // Same coding, old to new, new to old, new to a newer version, the same new version.
  for (auto [v, r] : {std::pair<uint8_t, uint8_t>{2, 3}, {2, 4}, {4, 2}, {4, 5}, {4, 4}}) {
    SCOPED_TRACE(testing::Message() << "file version " << int(v) << ", radio version " << int(r));
    const Workspace file = file_workspace(v);
    test::Link_rig rig = written_radio(file, r);
    // verify FILE: the write's changes made again, the time stamp left out.
    const auto check =
        compare_with_radio(image_as_written(file, r), rig.radio.memory, Time_stamp::ignored);
    EXPECT_TRUE(check.same()) << (check.parameters.empty() ? "bytes" : check.parameters[0].name);
    // write --verify: the image as the write left it, time stamp included.
    EXPECT_TRUE(compare_with_radio(rig.ws.image, rig.radio.memory, Time_stamp::compared).same());
  }
}

TEST(WriteCheck, WhatAWriteSendsIsTheImageWithTheWritesOwnChanges) {
  const Workspace file = file_workspace(2);
  const Param_image sent = image_as_written(file, 4);
  EXPECT_FALSE(sent.bit(mem::beep_save, 0x03));
  EXPECT_EQ(sent.byte(mem::version_byte), 4);
  Param_image converted = file.image;
  cod_new(converted);
  EXPECT_EQ(channel_record(sent, 2), channel_record(converted, 2));
  // The write's own workspace is not touched.
  EXPECT_TRUE(file.image.bit(mem::beep_save, 0x03));
  // Same new version: only the two bits change.
  const Workspace newer = file_workspace(5);
  Param_image expected = newer.image;
  expected.set_bits(mem::beep_save, 0x03, 0);
  EXPECT_EQ(image_as_written(newer, 5), expected);
}

TEST(WriteCheck, OnlyThePacketsAWriteSendsAreCompared) {
  const Workspace file = file_workspace(4);
  test::Link_rig rig = written_radio(file, 4);
  Param_image radio = rig.radio.memory;
  radio.set_byte(0x100, 0x12);                   // unused area
  radio.set_byte(mem::model_text, 'M');          // model text: never written
  radio.set_byte(mem::factory_number + 1, '9');  // factory number: never written
  radio.set_byte(mem::free_text + 5, 'q');       // free text: the additional-data write's
  radio.set_byte(0x3FF, 0x00);                   // unused area
  EXPECT_TRUE(compare_with_radio(rig.ws.image, radio, Time_stamp::compared).same());
}

TEST(WriteCheck, TheTimeStampCountsOnlyWhenTheCheckKnowsIt) {
  const Workspace file = file_workspace(4);
  test::Link_rig rig = written_radio(file, 4);
  Param_image radio = rig.radio.memory;
  radio.set_byte(mem::prog_time + 5, '9');
  EXPECT_TRUE(compare_with_radio(rig.ws.image, radio, Time_stamp::ignored).same());
  const auto c = compare_with_radio(rig.ws.image, radio, Time_stamp::compared);
  ASSERT_EQ(c.parameters.size(), 1u);
  EXPECT_EQ(c.parameters[0].name, "time");
  // The fixed bytes after the time are sent as they stand and always compared.
  radio.set_byte(mem::prog_fixed, 0x01);
  const auto fixed = compare_with_radio(rig.ws.image, radio, Time_stamp::ignored);
  ASSERT_EQ(fixed.bytes.size(), 1u);
  EXPECT_EQ(fixed.bytes[0].address(), mem::prog_fixed);
}

TEST(WriteCheck, ADifferenceNamesTheParameterAndListsHiddenBytesByAddress) {
  const Workspace file = file_workspace(4);
  test::Link_rig rig = written_radio(file, 4);
  Param_image radio = rig.radio.memory;
  store_frequency(radio, 3, Side::tx, 155000000, 4);
  radio.set_bits(mem::beep_save, 0x03, 0x01);  // the write clears it; the radio has it set
  radio.set_byte(mem::fixed_after_ident + 1, 0x07);
  Packet p = radio.packet(91);
  p[1] = 0x00;  // the radio answered packet 91 with another header
  radio.set_packet(91, p);
  const auto c = compare_with_radio(rig.ws.image, radio, Time_stamp::ignored);
  ASSERT_EQ(c.parameters.size(), 1u);
  EXPECT_EQ(c.parameters[0].name, "f_tx3");
  EXPECT_EQ(c.parameters[0].b, "  155,000000");
  ASSERT_EQ(c.bytes.size(), 3u);
  EXPECT_EQ(c.bytes[0].address(), mem::beep_save);
  EXPECT_EQ(c.bytes[1].packet, 91);
  EXPECT_TRUE(c.bytes[1].header());
  EXPECT_EQ(c.bytes[2].address(), mem::fixed_after_ident + 1);
}

TEST(WriteCheck, ARadioThatWasNeverWrittenDiffersFromTheFile) {
  const Workspace file = file_workspace(2);
  Param_image radio;
  new_blok(radio, 0, 4);
  const auto c = compare_with_radio(image_as_written(file, 4), radio, Time_stamp::ignored);
  ASSERT_FALSE(c.same());
  EXPECT_EQ(c.parameters[0].name, "f_rx2");
}

}  // namespace
}  // namespace tirna
