// The write of the parameter image: band check, coding, the 38 frames, progress, time stamp and
// the endings.

#include <gtest/gtest.h>

#include "core/image/frequency.h"
#include "core/transfer/transfer_messages.h"
#include "core/transfer/write_image.h"
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

Transfer_result write(Link_rig& rig) {
  return write_parameter_image(rig.ws, rig.session, rig.view, fixed_clock);
}

// Image and radio of the same band and coding (band 0, version 4).
void same_radio(Link_rig& rig) {
  rig.ws.state.coding_version = 4;
  new_blok(rig.ws.image, 0, 4);
  rig.radio.identification = hex("50 31 36 30 30 00 04 00");
}

using test::tail;

const test::Journal failure_ending = {"view: message Ошибка записи данных", "port: close",
                                      "view: close progress", "view: razblok_btn"};

TEST(WriteImage, SendsTheThirtyEightPacketsInOrderThenEnd) {
  Link_rig rig;
  same_radio(rig);
  const Transfer_result r = write(rig);
  EXPECT_EQ(r.status, Link_status::ok);
  EXPECT_EQ(r.packets, 38);
  ASSERT_EQ(rig.radio.frames.size(), 38u);
  for (std::size_t i = 0; i < 38; ++i) {
    EXPECT_EQ(rig.radio.frames[i], rig.ws.image.packet(parameter_write_packets[i])) << i;
  }
  EXPECT_EQ(rig.radio.frames[32][2], 0xB0);  // packet 87 follows packet 32
  EXPECT_EQ(rig.radio.frames[36][2], 0xC0);  // packet 121
  EXPECT_EQ(rig.port.sends.back(), hex("45 4E 44"));
  EXPECT_EQ(rig.radio.ends(), 1);
  // The radio's memory now holds the image's packets at their addresses.
  for (int k : parameter_write_packets)
    EXPECT_EQ(rig.radio.memory.packet(k), rig.ws.image.packet(k));
  EXPECT_EQ(tail(rig.journal, 5),
            (test::Journal{"port: > 45 4E 44", "view: close progress", "port: close",
                           "view: razblok_btn", "view: message Запись"}));
  EXPECT_EQ(rig.view.messages.back(), transfer_text::write_done);
  EXPECT_EQ(lines(rig.journal, "view: print_wind_blok").size(), 0u);
  EXPECT_FALSE(rig.ws.state.modified);
}

TEST(WriteImage, ProgressStepsWhenTheFrameIsSentBeforeItsAcknowledgement) {
  Link_rig rig;
  same_radio(rig);
  rig.radio.reaction = 5ms;
  write(rig);
  EXPECT_EQ(lines(rig.journal, "view: show progress"),
            test::Journal{"view: show progress Запись | Запись данных в радиостанцию : | 38"});
  ASSERT_EQ(rig.view.labels.size(), 38u);
  EXPECT_EQ(rig.view.labels[0], "2%");
  EXPECT_EQ(rig.view.labels[18], "50%");
  EXPECT_EQ(rig.view.labels[37], "100%");
  // Frame i is sent at send time s and its progress comes at s, 5 ms before the acknowledgement.
  const auto& sends = rig.port.send_times_ms;
  const std::size_t first_frame = sends.size() - 39;
  for (std::size_t i = 0; i < 38; ++i) {
    EXPECT_DOUBLE_EQ(rig.view.progress_times_ms[i], sends[first_frame + i]);
  }
}

TEST(WriteImage, TimeIsStampedJustBeforePacket121) {
  Link_rig rig;
  same_radio(rig);
  std::size_t frames_before_stamp = 0;
  write_parameter_image(rig.ws, rig.session, rig.view, [&] {
    frames_before_stamp = rig.radio.frames.size();
    return stamp;
  });
  EXPECT_EQ(frames_before_stamp, 36u);
  EXPECT_EQ(test::memory(rig.radio.memory, 0x3C0, 16),
            hex("32 30 32 36 31 32 30 38 30 39 30 35 30 37 00 00"));
  EXPECT_EQ(test::memory(rig.ws.image, 0x3C0, 14), test::memory(rig.radio.memory, 0x3C0, 14));
}

TEST(WriteImage, ClearsBitsZeroAndOneOf0x2BCEvenWithUsb) {
  for (int type : {1, 0}) {
    Link_rig rig;
    same_radio(rig);
    rig.programmer.type = type;
    rig.ws.image.set_byte(mem::beep_save, 0xFF);
    write(rig);
    EXPECT_EQ(rig.ws.image.byte(mem::beep_save), 0xFC);
    if (type == 1) {
      EXPECT_EQ(rig.radio.frames[33][4 + 4], 0xFC);  // packet 88, byte 8
    }
  }
}

// The other band, or a band code of neither band (even one the image holds as well), gets
// nothing beyond the handshake.
TEST(WriteImage, BandMismatchSendsNothingBeyondTheHandshake) {
  for (const uint8_t radio_code : {uint8_t{0x06}, uint8_t{0x30}}) {
    Link_rig rig;
    same_radio(rig);
    rig.radio.identification[5] = radio_code;
    if (radio_code == 0x30) {  // the image of the 450-470 MHz band, with that code
      new_blok(rig.ws.image, 1, 4);
      rig.ws.image.set_byte(mem::band_code, radio_code);
    }
    const Param_image before = rig.ws.image;
    const Transfer_result r = write(rig);
    EXPECT_EQ(r.status, Link_status::band_mismatch);
    EXPECT_EQ(rig.port.sends.size(), 3u);  // request, identification request, acknowledgement
    EXPECT_EQ(rig.radio.ends(), 0);
    EXPECT_EQ(rig.view.messages.back(), transfer_text::band_mismatch);
    EXPECT_EQ(rig.view.messages.back().text,
              "Данная радиостанция не соответствует\rвыбранному диапазону частот");
    EXPECT_EQ(tail(rig.journal, 4), failure_ending);
    EXPECT_EQ(rig.ws.image, before);
  }
}

struct Coding_case {
  uint8_t image_version, radio_version;
  bool converted;
  uint8_t version_after;
  uint8_t version_byte_after;
};

TEST(WriteImage, CodingFollowsTheRadioVersion) {
  const Coding_case cases[] = {
      {2, 4, true, 4, 4},   // old image, new radio: cod_new
      {4, 2, true, 2, 2},   // new image, old radio: cod_old
      {4, 5, false, 5, 5},  // both new, different: no conversion
      {2, 3, false, 3, 3},  // both old
      {4, 4, false, 4, 9},  // equal and new: nothing at all, the version byte stays
  };
  for (const Coding_case& c : cases) {
    Link_rig rig;
    rig.ws.state.coding_version = c.image_version;
    new_blok(rig.ws.image, 0, c.image_version);
    if (c.version_byte_after == 9) rig.ws.image.set_byte(mem::version_byte, 9);
    rig.radio.identification = hex("50 31 36 30 30 00 00 00");
    rig.radio.identification[6] = c.radio_version;
    const Param_image before = rig.ws.image;
    ASSERT_EQ(write(rig).status, Link_status::ok);
    EXPECT_EQ(rig.ws.state.coding_version, c.version_after);
    EXPECT_EQ(rig.ws.image.byte(mem::version_byte), c.version_byte_after);
    // 160 MHz survives the conversion; the frames carry the records as converted.
    EXPECT_EQ(channel_frequency(rig.ws.image, 1, Side::rx, c.version_after), 160000000);
    EXPECT_EQ(channel_record(rig.ws.image, 1) != channel_record(before, 1), c.converted);
    EXPECT_EQ(rig.radio.frames[0], rig.ws.image.packet(1));
    EXPECT_EQ(rig.radio.frames[34][4 + 1], c.version_byte_after);  // packet 91, 0x2D1
  }
}

TEST(WriteImage, NegativeAnswersFailAtTheDeadlineWithoutEnd) {
  Link_rig rig;
  same_radio(rig);
  rig.radio.frame_answer = 0x15;
  const Transfer_result r = write(rig);
  EXPECT_EQ(r.status, Link_status::timed_out);
  EXPECT_EQ(rig.radio.frames.size(), 1u);
  EXPECT_DOUBLE_EQ(rig.clock.ms(), 20 + 10000);
  EXPECT_EQ(rig.radio.ends(), 0);
  EXPECT_EQ(tail(rig.journal, 4), failure_ending);
  EXPECT_EQ(rig.view.messages.back(), transfer_text::write_failed);
}

TEST(WriteImage, OtherBytesBeforeAnAcknowledgementAreDropped) {
  Link_rig rig;
  same_radio(rig);
  rig.radio.ack_noise = hex("15 41 00 FF");
  EXPECT_EQ(write(rig).status, Link_status::ok);
  EXPECT_EQ(rig.radio.frames.size(), 38u);
}

TEST(WriteImage, HandshakeFailureSendsEndAndShowsTheWriteMessage) {
  Link_rig rig;
  same_radio(rig);
  rig.radio.silent = true;
  const Transfer_result r = write(rig);
  EXPECT_EQ(r.status, Link_status::no_answer);
  EXPECT_EQ(tail(rig.journal, 5),
            (test::Journal{"view: message Ошибка записи данных", "port: > 45 4E 44", "port: close",
                           "view: close progress", "view: razblok_btn"}));
}

TEST(WriteImage, PacketWithTheHeaderOfAnotherAddressIsRefusedBeforeThePortOpens) {
  Link_rig rig;
  same_radio(rig);
  Packet p = rig.ws.image.packet(5);
  p[2] = 0x30;
  rig.ws.image.set_packet(5, p);
  const Transfer_result r = write(rig);
  EXPECT_EQ(r.status, Link_status::corrupt_headers);
  EXPECT_TRUE(rig.port.opened_ports.empty());
  EXPECT_EQ(rig.journal, (test::Journal{"view: blok_btn", "view: message Ошибка записи данных",
                                        "view: razblok_btn"}));
  EXPECT_EQ(rig.view.messages.back(),
            (Message{Message_icon::exclamation, "Ошибка записи данных",
                     "Файл параметров повреждён: заголовки пакетов не соответствуют адресам."}));
}

// A channel in use that fails the check of every channel (a file edited elsewhere) is named, and
// the radio is not asked anything; the same channels switched off are written.
TEST(WriteImage, ChannelsOutsideTheBandOrWithForeignSubtonesAreRefusedBeforeThePortOpens) {
  Link_rig rig;
  same_radio(rig);
  const uint8_t v = rig.ws.state.coding_version;
  store_frequency(rig.ws.image, 3, Side::rx, 500000000, v);
  store_frequency(rig.ws.image, 4, Side::tx, 140000000, v);
  set_subtone(rig.ws.image, 5, Side::rx, 2, 0x00, 0x00);
  const Transfer_result r = write(rig);
  EXPECT_EQ(r.status, Link_status::refused_channels);
  EXPECT_TRUE(rig.port.opened_ports.empty());
  EXPECT_EQ(rig.view.messages.back().text,
            "Данные не записаны. Параметры каналов недопустимы:\r"
            "канал 3: частота приема 500,000000 МГц вне диапазона 146,000000 - 175,000000 МГц.\r"
            "канал 4: частота передачи 140,000000 МГц вне диапазона 146,000000 - 175,000000 МГц.\r"
            "канал 5: субтон приема неизвестного типа 2.");
  for (int n : {3, 5}) set_channel_in_use(rig.ws.image, n, false);
  set_tx_allowed(rig.ws.image, 4, false);
  EXPECT_EQ(write(rig).status, Link_status::ok);
}

TEST(WriteImage, HeadersOfPacketsNotSentDoNotMatter) {
  Link_rig rig;
  same_radio(rig);
  Packet p = rig.ws.image.packet(40);
  p[0] = 0x00;
  rig.ws.image.set_packet(40, p);
  EXPECT_EQ(write(rig).status, Link_status::ok);
}

TEST(WriteImage, UsbProgrammerEndsWithoutMessage) {
  Link_rig rig;
  rig.programmer.type = 0;
  EXPECT_EQ(write(rig).status, Link_status::usb_programmer);
  EXPECT_EQ(rig.journal,
            (test::Journal{"view: blok_btn", "view: stop usb polling", "view: razblok_btn"}));
}

TEST(WriteImage, FailedWriteKeepsTheCodingAndTheTimeStamp) {
  Link_rig rig;
  rig.ws.state.coding_version = 2;
  new_blok(rig.ws.image, 0, 2);
  rig.radio.identification = hex("50 31 36 30 30 00 04 00");
  rig.radio.silent_after = 37;  // silent before the last frame's acknowledgement
  EXPECT_EQ(write(rig).status, Link_status::timed_out);
  EXPECT_EQ(rig.ws.state.coding_version, 4);
  EXPECT_EQ(rig.ws.image.byte(mem::version_byte), 4);
  EXPECT_EQ(rig.ws.image.byte(0x3C0), '2');
}

}  // namespace
}  // namespace tirna
