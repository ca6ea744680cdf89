// The read of the parameter image: requests, replies, the one deadline, progress and the endings.

#include <gtest/gtest.h>

#include "core/image/frequency.h"
#include "core/transfer/read_image.h"
#include "core/transfer/transfer_messages.h"
#include "fake_link.h"
#include "test_support.h"

namespace tirna {
namespace {

using namespace std::chrono_literals;
using test::hex;
using test::lines;
using test::Link_rig;

// A radio memory that differs from every default: band 1, new coding, a model text.
void fill_radio(Link_rig& rig) {
  new_blok(rig.radio.memory, 1, 4);
  for (int a = 0; a < 16; ++a) rig.radio.memory.set_byte(mem::model_text + a, uint8_t('A' + a));
  rig.radio.memory.set_byte(0x3FF, 0x42);
  rig.radio.identification = hex("50 31 36 30 30 06 04 00");
}

const test::Journal success_ending = {"port: > 45 4E 44",     "view: close progress",
                                      "port: close",          "view: print_wind_blok",
                                      "view: message Чтение", "view: razblok_btn"};

const test::Journal failure_ending = {"view: message Ошибка чтения данных", "port: close",
                                      "view: close progress", "view: razblok_btn"};

using test::tail;

TEST(ReadImage, FillsTheImageWithTheRadioMemoryAndTakesBandAndVersion) {
  Link_rig rig;
  fill_radio(rig);
  rig.ws.file_name = "old.tn5";
  const Transfer_result r = read_parameter_image(rig.ws, rig.session, rig.view);
  EXPECT_EQ(r.status, Link_status::ok);
  EXPECT_EQ(r.packets, 128);
  EXPECT_EQ(rig.ws.image, rig.radio.memory);
  EXPECT_EQ(rig.ws.state.band_index, 1);
  EXPECT_EQ(rig.ws.state.limits, band_limits(1));
  EXPECT_EQ(rig.ws.state.coding_version, 4);
  EXPECT_EQ(rig.ws.file_name, "");
  EXPECT_FALSE(rig.ws.state.modified);
  EXPECT_EQ(rig.view.messages.back(), transfer_text::read_done);
  EXPECT_EQ(rig.journal.front(), "view: blok_btn");
  EXPECT_EQ(tail(rig.journal, 6), success_ending);
}

TEST(ReadImage, SendsOneRequestPerPacketInOrderThenEnd) {
  Link_rig rig;
  read_parameter_image(rig.ws, rig.session, rig.view);
  ASSERT_EQ(rig.radio.requests.size(), 128u);
  EXPECT_EQ(rig.radio.requests[0], hex("52 00 00 08"));
  EXPECT_EQ(rig.radio.requests[32], hex("52 01 00 08"));
  EXPECT_EQ(rig.radio.requests[92], hex("52 02 E0 08"));
  EXPECT_EQ(rig.radio.requests[127], hex("52 03 F8 08"));
  for (int k = 1; k <= 128; ++k) {
    const int a = 8 * (k - 1);
    EXPECT_EQ(rig.radio.requests[k - 1],
              (std::vector<uint8_t>{0x52, uint8_t(a >> 8), uint8_t(a & 0xFF), 0x08}));
  }
  EXPECT_EQ(rig.port.sends.back(), hex("45 4E 44"));
  EXPECT_EQ(rig.radio.ends(), 1);
}

TEST(ReadImage, ProgressShowsTheWholePercentAfterEachPacket) {
  Link_rig rig;
  read_parameter_image(rig.ws, rig.session, rig.view);
  EXPECT_EQ(lines(rig.journal, "view: show progress"),
            test::Journal{"view: show progress Чтение | Чтение данных из радиостанции : | 128"});
  ASSERT_EQ(rig.view.labels.size(), 128u);
  EXPECT_EQ(rig.view.labels[0], "0%");
  EXPECT_EQ(rig.view.labels[1], "1%");
  EXPECT_EQ(rig.view.labels[63], "50%");
  EXPECT_EQ(rig.view.labels[126], "99%");
  EXPECT_EQ(rig.view.labels[127], "100%");
}

TEST(ReadImage, BandCodeSelectsTheBandOnlyWhenKnown) {
  struct Case {
    uint8_t code;
    int band_before, band_after;
  };
  for (Case c : {Case{0x06, 0, 1}, Case{0x00, 1, 0}, Case{0x03, 1, 1}, Case{0x03, 0, 0}}) {
    Link_rig rig;
    frq_set(rig.ws.state, c.band_before);
    rig.radio.identification[5] = c.code;
    read_parameter_image(rig.ws, rig.session, rig.view);
    EXPECT_EQ(rig.ws.state.band_index, c.band_after) << int(c.code);
    EXPECT_EQ(rig.ws.state.limits, band_limits(c.band_after));
  }
}

TEST(ReadImage, LineSpeedReadFitsTheDeadline) {
  Link_rig rig;
  rig.radio.reaction = 4167us;  // the request's four bytes on the line
  rig.radio.byte_time = 1042us;
  EXPECT_EQ(read_parameter_image(rig.ws, rig.session, rig.view).status, Link_status::ok);
}

// Everything the read may change, to check that a failure changes none of it.
void expect_unchanged(const Link_rig& rig, const Workspace& before) {
  EXPECT_EQ(rig.ws.image, before.image);
  EXPECT_EQ(rig.ws.state.band_index, before.state.band_index);
  EXPECT_EQ(rig.ws.state.coding_version, before.state.coding_version);
  EXPECT_EQ(rig.ws.state.limits, before.state.limits);
  EXPECT_EQ(rig.ws.file_name, before.file_name);
}

TEST(ReadImage, HundredMillisecondsPerPacketFailsAtTheDeadline) {
  Link_rig rig;
  fill_radio(rig);
  rig.ws.file_name = "kept.tn5";
  const Workspace before = rig.ws;
  rig.radio.reaction = 100ms;
  const Transfer_result r = read_parameter_image(rig.ws, rig.session, rig.view);
  EXPECT_EQ(r.status, Link_status::timed_out);
  EXPECT_LT(r.packets, 128);
  EXPECT_GE(r.packets, 99);
  // The deadline runs from the first request: 20 ms settle, three answers of 100 ms each.
  EXPECT_DOUBLE_EQ(rig.clock.ms(), 320 + 10000);
  expect_unchanged(rig, before);
  EXPECT_EQ(rig.radio.ends(), 0);
  EXPECT_EQ(tail(rig.journal, 4), failure_ending);
  EXPECT_EQ(rig.view.messages.back(), transfer_text::read_failed);
  EXPECT_EQ(lines(rig.journal, "view: print_wind_blok").size(), 0u);
}

TEST(ReadImage, WrongHeaderEndsTheReadAtOnce) {
  Link_rig rig;
  const Workspace before = rig.ws;
  rig.radio.corrupt_reply = [](int k, Packet& p) {
    if (k == 5) p[2] = 0x30;  // the address of another packet
  };
  const Transfer_result r = read_parameter_image(rig.ws, rig.session, rig.view);
  EXPECT_EQ(r.status, Link_status::bad_reply);
  EXPECT_EQ(r.packets, 4);
  EXPECT_EQ(rig.radio.requests.size(), 5u);
  expect_unchanged(rig, before);
  EXPECT_EQ(tail(rig.journal, 4), failure_ending);
  EXPECT_LT(rig.clock.ms(), 100);
}

TEST(ReadImage, ByteAddedOnTheLineIsNotStoredShifted) {
  Link_rig rig;
  const Workspace before = rig.ws;
  rig.radio.reply_noise = {0x00};  // one stray byte before every reply
  EXPECT_EQ(read_parameter_image(rig.ws, rig.session, rig.view).status, Link_status::bad_reply);
  expect_unchanged(rig, before);
}

TEST(ReadImage, HandshakeFailureEndsWithoutProgressOrEnd) {
  Link_rig rig;
  rig.radio.identification = hex("50 31 36 30 31 00 04 00");  // not P1600
  const Transfer_result r = read_parameter_image(rig.ws, rig.session, rig.view);
  EXPECT_EQ(r.status, Link_status::no_answer);
  EXPECT_TRUE(r.handshake.refused_identification);
  EXPECT_EQ(lines(rig.journal, "view: show progress").size(), 0u);
  EXPECT_EQ(rig.radio.ends(), 0);
  EXPECT_EQ(tail(rig.journal, 4), failure_ending);
}

TEST(ReadImage, RadioHangingUpEndsTheReadWithoutWaitingForTheDeadline) {
  Link_rig rig;
  const Workspace before = rig.ws;
  rig.radio.silent_after = 40;
  rig.port.fail_at(rig.clock.start() + 500ms);
  EXPECT_EQ(read_parameter_image(rig.ws, rig.session, rig.view).status, Link_status::link_lost);
  EXPECT_DOUBLE_EQ(rig.clock.ms(), 500);
  expect_unchanged(rig, before);
  EXPECT_EQ(tail(rig.journal, 4), failure_ending);
}

TEST(ReadImage, UsbProgrammerExchangesNothing) {
  Link_rig rig;
  rig.programmer.type = 0;
  const Workspace before = rig.ws;
  EXPECT_EQ(read_parameter_image(rig.ws, rig.session, rig.view).status,
            Link_status::usb_programmer);
  EXPECT_EQ(rig.journal,
            (test::Journal{"view: blok_btn", "view: stop usb polling", "view: razblok_btn"}));
  expect_unchanged(rig, before);
}

TEST(ReadImage, RepliesKeepTheirDataBytesAsSent) {
  Link_rig rig;
  rig.radio.memory.set_byte(0x100, 0x00);  // an area the program never uses
  rig.radio.memory.set_byte(0x3D0, 0x57);
  read_parameter_image(rig.ws, rig.session, rig.view);
  EXPECT_EQ(rig.ws.image.byte(0x100), 0x00);
  EXPECT_EQ(rig.ws.image.byte(0x3D0), 0x57);
}

}  // namespace
}  // namespace tirna
