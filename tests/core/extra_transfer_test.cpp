// Reading and writing the additional data.

#include <gtest/gtest.h>

#include <sstream>

#include "core/link/traced_transport.h"
#include "core/transfer/extra_data_transfer.h"
#include "core/transfer/transfer_messages.h"
#include "fake_link.h"
#include "test_support.h"

namespace tirna {
namespace {

using namespace std::chrono_literals;
using test::hex;
using test::lines;
using test::Link_rig;

using test::fixed_clock;
using test::stamp;

using test::tail;

// A radio whose every data byte differs from the default image.
void fill_radio(Link_rig& rig) {
  for (int a = 0; a < memory_size; ++a) rig.radio.memory.set_byte(a, uint8_t(a * 7 + 1));
}

TEST(ReadExtra, RequestsTheTwentyNinePacketsInOrderAndTakesOnlyThem) {
  Link_rig rig;
  fill_radio(rig);
  const Param_image before = rig.ws.image;
  const Transfer_result r = read_additional_data(rig.ws, rig.session, rig.view);
  EXPECT_EQ(r.status, Link_status::ok);
  ASSERT_EQ(rig.radio.requests.size(), 29u);
  EXPECT_EQ(rig.radio.requests[0], hex("52 02 E0 08"));
  EXPECT_EQ(rig.radio.requests[1], hex("52 02 C0 08"));
  EXPECT_EQ(rig.radio.requests[2], hex("52 02 C8 08"));
  EXPECT_EQ(rig.radio.requests[3], hex("52 03 00 08"));
  EXPECT_EQ(rig.radio.requests[28], hex("52 03 C8 08"));
  EXPECT_EQ(rig.port.sends.back(), hex("45 4E 44"));
  for (int k = 1; k <= packet_count; ++k) {
    const bool read = k == 89 || k == 90 || k == 93 || (k >= 97 && k <= 122);
    EXPECT_EQ(rig.ws.image.packet(k), read ? rig.radio.memory.packet(k) : before.packet(k)) << k;
  }
  EXPECT_TRUE(rig.view.messages.empty());
  EXPECT_EQ(tail(rig.journal, 5),
            (test::Journal{"port: > 45 4E 44", "view: close progress", "port: close",
                           "view: print_wind_blok", "view: razblok_btn"}));
}

TEST(ReadExtra, ProgressOfTwentyNinePackets) {
  Link_rig rig;
  read_additional_data(rig.ws, rig.session, rig.view);
  EXPECT_EQ(lines(rig.journal, "view: show progress"),
            test::Journal{"view: show progress Чтение | Чтение дополнительной информации из "
                          "радиостанции : | 29"});
  ASSERT_EQ(rig.view.labels.size(), 29u);
  EXPECT_EQ(rig.view.labels[0], "3%");
  EXPECT_EQ(rig.view.labels[14], "51%");
  EXPECT_EQ(rig.view.labels[28], "100%");
}

TEST(ReadExtra, HundredTenMillisecondsPerPacketFailsAtThreeSeconds) {
  Link_rig rig;
  fill_radio(rig);
  rig.ws.state.band_index = 1;
  const Workspace before = rig.ws;
  rig.radio.reaction = 110ms;
  const Transfer_result r = read_additional_data(rig.ws, rig.session, rig.view);
  EXPECT_EQ(r.status, Link_status::timed_out);
  EXPECT_EQ(rig.ws.image, before.image);
  EXPECT_DOUBLE_EQ(rig.clock.ms(), 20 + 3 * 110 + 3000);
  EXPECT_EQ(rig.radio.ends(), 0);
  EXPECT_EQ(tail(rig.journal, 4), (test::Journal{"view: message Ошибка чтения", "port: close",
                                                 "view: close progress", "view: razblok_btn"}));
  EXPECT_EQ(rig.view.messages.back(), transfer_text::extra_read_failed);
  EXPECT_EQ(lines(rig.journal, "view: print_wind_blok").size(), 0u);
}

TEST(ReadExtra, UsbProgrammerOnlyRefreshes) {
  Link_rig rig;
  rig.programmer.type = 0;
  EXPECT_EQ(read_additional_data(rig.ws, rig.session, rig.view).status,
            Link_status::usb_programmer);
  EXPECT_EQ(rig.journal, (test::Journal{"view: blok_btn", "view: stop usb polling",
                                        "view: print_wind_blok", "view: razblok_btn"}));
}

TEST(ReadExtra, DoesNotLookAtBandOrCoding) {
  Link_rig rig;
  rig.radio.identification = hex("50 31 36 30 30 06 07 00");
  const Working_state before = rig.ws.state;
  rig.ws.file_name = "a.tn5";
  EXPECT_EQ(read_additional_data(rig.ws, rig.session, rig.view).status, Link_status::ok);
  EXPECT_EQ(rig.ws.state.band_index, before.band_index);
  EXPECT_EQ(rig.ws.state.coding_version, before.coding_version);
  EXPECT_EQ(rig.ws.file_name, "a.tn5");
}

TEST(WriteExtra, SendsPackets97To122WithTextAndTimeThenEnd) {
  Link_rig rig;
  rig.radio.identification = hex("50 31 36 30 30 06 04 00");  // the other band: no check
  const Transfer_result r =
      write_additional_data(rig.ws, rig.session, rig.view, "AB\r\nCD", fixed_clock);
  EXPECT_EQ(r.status, Link_status::ok);
  ASSERT_EQ(rig.radio.frames.size(), 26u);
  for (int i = 0; i < 26; ++i) EXPECT_EQ(rig.radio.frames[i], rig.ws.image.packet(97 + i));
  std::vector<uint8_t> text = hex("41 42 0D 0A 43 44");
  text.resize(192, 0x00);
  EXPECT_EQ(test::memory(rig.radio.memory, 0x300, 192), text);
  EXPECT_EQ(test::memory(rig.radio.memory, 0x3C0, 14),
            hex("32 30 32 36 31 32 30 38 30 39 30 35 30 37"));
  EXPECT_EQ(rig.port.sends.back(), hex("45 4E 44"));
  EXPECT_TRUE(rig.view.messages.empty());
  EXPECT_EQ(lines(rig.journal, "view: print_wind_blok").size(), 0u);
  EXPECT_EQ(tail(rig.journal, 4), (test::Journal{"port: > 45 4E 44", "view: close progress",
                                                 "port: close", "view: razblok_btn"}));
  ASSERT_EQ(rig.view.labels.size(), 26u);
  EXPECT_EQ(rig.view.labels[0], "3%");
  EXPECT_EQ(rig.view.labels[12], "50%");
  EXPECT_EQ(rig.view.labels[25], "100%");
}

TEST(WriteExtra, HandshakeFailureSendsNoEnd) {
  Link_rig rig;
  rig.radio.silent = true;
  const Param_image before = rig.ws.image;
  EXPECT_EQ(write_additional_data(rig.ws, rig.session, rig.view, "x", fixed_clock).status,
            Link_status::no_answer);
  EXPECT_TRUE(lines(rig.journal, "port: > 45 4E 44").empty());
  EXPECT_EQ(rig.ws.image, before);  // the text goes in only after the handshake
  EXPECT_EQ(tail(rig.journal, 4),
            (test::Journal{"view: message Ошибка записи данных", "port: close",
                           "view: close progress", "view: razblok_btn"}));
}

TEST(WriteExtra, FailedWriteKeepsTextAndTime) {
  Link_rig rig;
  rig.radio.frame_answer = 0x15;
  EXPECT_EQ(write_additional_data(rig.ws, rig.session, rig.view, "x", fixed_clock).status,
            Link_status::timed_out);
  EXPECT_EQ(rig.ws.image.byte(0x300), 'x');
  EXPECT_EQ(rig.ws.image.byte(0x3C0), '2');
  EXPECT_DOUBLE_EQ(rig.clock.ms(), 20 + 3000);
}

TEST(WriteExtra, CorruptHeaderIsRefusedBeforeThePortOpens) {
  Link_rig rig;
  Packet p = rig.ws.image.packet(122);
  p[3] = 0x09;
  rig.ws.image.set_packet(122, p);
  EXPECT_EQ(write_additional_data(rig.ws, rig.session, rig.view, "x", fixed_clock).status,
            Link_status::corrupt_headers);
  EXPECT_TRUE(rig.port.opened_ports.empty());
  EXPECT_EQ(rig.view.messages.back(), transfer_text::corrupt_headers);
  EXPECT_EQ(rig.ws.image.byte(0x300), 0xFF);
}

TEST(WriteExtra, UsbProgrammerDoesNothing) {
  Link_rig rig;
  rig.programmer.type = 0;
  EXPECT_EQ(write_additional_data(rig.ws, rig.session, rig.view, "x", fixed_clock).status,
            Link_status::usb_programmer);
  EXPECT_EQ(rig.journal,
            (test::Journal{"view: blok_btn", "view: stop usb polling", "view: razblok_btn"}));
}

TEST(Trace, RecordsSendsAndGathersReceivedBytesWithTimes) {
  Link_rig rig;
  std::ostringstream out;
  Traced_transport traced(rig.port, rig.clock, out);
  Link_session session{traced, rig.clock, rig.programmer, rig.identification};
  rig.radio.reaction = 2ms;
  read_additional_data(rig.ws, session, rig.view);
  const std::string trace = out.str();
  EXPECT_NE(trace.find("+     0.000 ms  open port 1: ok\n"), std::string::npos) << trace;
  EXPECT_NE(trace.find("+    20.000 ms  purge\n"), std::string::npos);
  EXPECT_NE(trace.find("+    20.000 ms  > 02 50 52 4F 47 52 41 4D\n"), std::string::npos);
  EXPECT_NE(trace.find("+    22.000 ms  < 06\n"), std::string::npos);
  EXPECT_NE(trace.find("> 52 02 E0 08\n"), std::string::npos);
  EXPECT_NE(trace.find("< 57 02 E0 08 "), std::string::npos);
  EXPECT_NE(trace.find("> 45 4E 44\n"), std::string::npos);
  EXPECT_NE(trace.find("ms  close\n"), std::string::npos);
}

}  // namespace
}  // namespace tirna
