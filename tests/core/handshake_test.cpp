// The handshake that puts the radio into programming mode, state by state, and the opening of the
// port before it.

#include <gtest/gtest.h>

#include "core/link/handshake.h"
#include "core/link/protocol_bytes.h"
#include "fake_link.h"
#include "test_support.h"

namespace tirna {
namespace {

using namespace std::chrono_literals;
using test::hex;
using test::hex_text;
using test::lines;
using test::Link_rig;


const std::vector<uint8_t> program = hex("02 50 52 4F 47 52 41 4D");

// The sends of one complete attempt: request, identification request, acknowledgement.
std::vector<std::vector<uint8_t>> one_attempt() {
  return {program, {0x02}, {0x06}};
}

TEST(Handshake, AcceptsP1600AndStoresBandAndVersion) {
  Link_rig rig;
  rig.radio.identification = hex("50 31 36 30 30 00 04 00");
  const Handshake_result r = set_rez_prog(rig.session, rig.view);
  EXPECT_EQ(r.status, Link_status::ok);
  EXPECT_TRUE(rig.port.is_open());
  ASSERT_TRUE(rig.identification);
  EXPECT_EQ(hex_text({rig.identification->bytes().begin(), rig.identification->bytes().end()}),
            "50 31 36 30 30 00 04 00");
  EXPECT_EQ(rig.identification->band_code(), 0x00);
  EXPECT_EQ(rig.identification->radio_version(), 4);
  EXPECT_EQ(rig.port.sends, one_attempt());
  // Open, settle 20 ms, purge, then the request.
  EXPECT_EQ(rig.journal[0], "port: open COM1");
  EXPECT_EQ(rig.journal[1], "port: purge");
  EXPECT_EQ(rig.clock.waits.front(), 20ms);
  EXPECT_DOUBLE_EQ(rig.port.send_times_ms[0], 20.0);
}

// Only the identification block's own layout is an identification: "P1600" in bytes 0 to 4 and
// 0x00 in byte 7. Anything else is a failed attempt, the next one starting at once; the handshake
// then holds no identification, so nothing can take a band or version from such bytes.
TEST(Handshake, AnswersOutsideTheLayoutAreRefusedAndTheNextAttemptStartsAtOnce) {
  for (const char* answer : {"00 50 31 36 30 30 06 02",    // a zero before "P1600"
                             "06 50 31 36 30 30 00 02",    // shifted by a stray acknowledgement
                             "41 50 31 36 30 30 06 00",    // "P1600" not at the start
                             "50 31 36 30 30 00 04 01",    // byte 7 not zero
                             "50 31 36 30 31 00 04 00"}) {  // another model
    SCOPED_TRACE(answer);
    Link_rig rig;
    rig.radio.identification = hex(answer);
    const Handshake_result r = set_rez_prog(rig.session, rig.view);
    EXPECT_EQ(r.status, Link_status::no_answer);
    EXPECT_TRUE(r.refused_identification);
    EXPECT_EQ(hex_text(r.refused_answer), answer);
    EXPECT_FALSE(rig.identification);
    EXPECT_EQ(rig.radio.programming_requests(), 4);
    // No back-off between refused attempts: everything happens at 20 ms.
    for (double t : rig.port.send_times_ms) EXPECT_DOUBLE_EQ(t, 20.0);
  }
}

// A stray 0x06 before the first acknowledgement is taken for it; the radio's own 0x06 then shifts
// its identification by one byte. That attempt fails, and the next finds the radio as it is.
TEST(Handshake, StrayAcknowledgementShiftsOneAttemptAndTheNextFindsTheRadio) {
  Link_rig rig;
  rig.radio.noise = hex("00 FF 06");
  const Handshake_result r = set_rez_prog(rig.session, rig.view);
  EXPECT_EQ(r.status, Link_status::ok);
  EXPECT_TRUE(r.refused_identification);
  EXPECT_EQ(hex_text(r.refused_answer), "06 50 31 36 30 30 00 04");
  ASSERT_TRUE(rig.identification);
  EXPECT_EQ(rig.identification->band_code(), 0x00);
  EXPECT_EQ(rig.identification->radio_version(), 4);
  EXPECT_EQ(rig.radio.programming_requests(), 2);
}

TEST(Handshake, NoiseBeforeTheFirstAcknowledgementIsDropped) {
  Link_rig rig;
  rig.radio.noise = hex("15 FF 00 50 02");
  rig.radio.confirm_noise = hex("15 00");
  EXPECT_EQ(set_rez_prog(rig.session, rig.view).status, Link_status::ok);
  EXPECT_EQ(rig.port.sends, one_attempt());
  ASSERT_TRUE(rig.identification);
  EXPECT_EQ(hex_text({rig.identification->bytes().begin(), rig.identification->bytes().end()}),
            hex_text(rig.radio.identification));
}

TEST(Handshake, SilentRadioCostsFourRequestsEachWithBackOff) {
  Link_rig rig;
  rig.radio.silent = true;
  EXPECT_EQ(set_rez_prog(rig.session, rig.view).status, Link_status::no_answer);
  EXPECT_EQ(rig.port.sends, std::vector<std::vector<uint8_t>>(4, program));
  EXPECT_EQ(rig.port.send_times_ms, (std::vector<double>{20, 720, 1420, 2120}));
  EXPECT_DOUBLE_EQ(rig.clock.ms(), 2820);
}

TEST(Handshake, RequestTimeOutIsNotRestartedByOtherBytes) {
  Link_rig rig;
  rig.port.on_send = [&](const std::vector<uint8_t>&) { rig.port.arrive({0x41}, 150ms); };
  set_rez_prog(rig.session, rig.view);
  // 20 ms settle, 200 ms wait (the stray byte at 170 ms changes nothing), 500 ms back-off.
  EXPECT_DOUBLE_EQ(rig.port.send_times_ms[1], 720);
}

TEST(Handshake, SevenByteIdentificationTimesOutAndRestartsWithTheRequest) {
  Link_rig rig;
  rig.radio.identification.resize(7);
  EXPECT_EQ(set_rez_prog(rig.session, rig.view).status, Link_status::no_answer);
  EXPECT_FALSE(rig.identification);  // seven bytes are no identification
  // Request and identification request at 20 ms, 500 ms for the bytes, 500 ms back-off.
  ASSERT_GE(rig.port.sends.size(), 3u);
  EXPECT_EQ(rig.port.sends[2], program);
  EXPECT_DOUBLE_EQ(rig.port.send_times_ms[2], 1020);
}

TEST(Handshake, IdentificationTimeOutCoversAllEightBytes) {
  Link_rig rig;
  rig.radio.byte_time = 70ms;  // 8 bytes need 490 ms after the first: within one 500 ms time-out
  EXPECT_EQ(set_rez_prog(rig.session, rig.view).status, Link_status::ok);
  Link_rig slow;
  slow.radio.byte_time = 72ms;  // the eighth byte comes at 504 ms
  EXPECT_EQ(set_rez_prog(slow.session, slow.view).status, Link_status::no_answer);
}

TEST(Handshake, MissingConfirmationBacksOffAndLeavesNoIdentification) {
  Link_rig rig;
  rig.radio.identification = hex("50 31 36 30 30 06 05 00");
  rig.radio.confirm = false;
  EXPECT_EQ(set_rez_prog(rig.session, rig.view).status, Link_status::no_answer);
  EXPECT_FALSE(rig.identification);
  // 20 ms settle, 200 ms for the confirmation, 500 ms back-off.
  EXPECT_DOUBLE_EQ(rig.port.send_times_ms[3], 720);
  EXPECT_EQ(rig.radio.programming_requests(), 4);
}

TEST(Handshake, OtherBytesBeforeTheConfirmationAreDropped) {
  Link_rig rig;
  rig.radio.confirm_noise = hex("50 31 36 30 30");
  EXPECT_EQ(set_rez_prog(rig.session, rig.view).status, Link_status::ok);
  EXPECT_EQ(rig.port.sends, one_attempt());
}

TEST(Handshake, PortLeftClosedSendsNothingAndFailsAfterFourAttempts) {
  Link_rig rig;
  rig.port.refused[1] = Open_error{Open_error::Kind::busy, "/dev/ttyUSB0", "busy", ""};
  const Handshake_result r = set_rez_prog(rig.session, rig.view);
  EXPECT_EQ(r.status, Link_status::no_answer);
  EXPECT_TRUE(rig.port.sends.empty());
  EXPECT_EQ(lines(rig.journal, "port: send on closed port").size(), 4u);
  EXPECT_DOUBLE_EQ(rig.clock.ms(), 2820);
}

TEST(Handshake, LinkLostEndsTheHandshakeAtOnce) {
  Link_rig rig;
  rig.radio.silent = true;
  rig.port.fail_at(rig.clock.start() + 100ms);
  EXPECT_EQ(set_rez_prog(rig.session, rig.view).status, Link_status::link_lost);
  EXPECT_DOUBLE_EQ(rig.clock.ms(), 100);
}

TEST(PortOpening, BusyPortAsksAndTriesTheNewPortAtOnce) {
  Link_rig rig;
  rig.programmer.port_index = 2;
  rig.port.refused[3] = Open_error{Open_error::Kind::busy, "/dev/ttyUSB2", "busy", ""};
  rig.view.answers = {Port_answer::yes};
  rig.view.dialog_choices = {Programmer_choice{1, 1}};
  const Port_opening o = com_open(rig.port, rig.programmer, rig.view);
  EXPECT_TRUE(o.opened);
  EXPECT_EQ(rig.port.opened_ports, (std::vector<int>{3, 2}));
  ASSERT_EQ(rig.view.questions.size(), 1u);
  EXPECT_EQ(rig.view.questions[0],
            (Message{Message_icon::exclamation, "Предупреждение",
                     "Не удается открыть порт COM3.\rВозможно, порт занят другим приложением или "
                     "отключен аппаратно.\rВыбрать другой COM-порт?"}));
  EXPECT_EQ(lines(rig.journal, "view:"),
            (test::Journal{"view: ask other port", "view: programmer dialog"}));
}

TEST(PortOpening, SamePortConfirmedAgainOrNoLeavesThePortClosed) {
  for (Port_answer answer : {Port_answer::yes, Port_answer::no}) {
    Link_rig rig;
    rig.programmer.port_index = 2;
    rig.port.refused[3] = Open_error{};
    rig.view.answers = {answer};
    rig.view.dialog_choices = {Programmer_choice{1, 2}};
    const Port_opening o = com_open(rig.port, rig.programmer, rig.view);
    EXPECT_FALSE(o.opened);
    EXPECT_FALSE(rig.port.is_open());
    EXPECT_EQ(rig.port.opened_ports, std::vector<int>{3});
  }
}

TEST(PortOpening, DialogDeclinedKeepsAnIndexBeyondTheDialog) {
  Link_rig rig;
  rig.programmer.port_index = 7;  // COM8, from config.ini
  rig.port.refused[8] = Open_error{};
  rig.view.answers = {Port_answer::yes};  // the dialog is closed with "Нет": nothing changes
  com_open(rig.port, rig.programmer, rig.view);
  EXPECT_EQ(rig.port.opened_ports, std::vector<int>{8});
  EXPECT_EQ(rig.programmer.port_index, 7);
}

TEST(PortOpening, GivingUpSkipsTheHandshakeWaits) {
  Link_rig rig;
  rig.port.refused[1] = Open_error{Open_error::Kind::not_found, "/dev/ttyUSB0", "not found", ""};
  rig.view.answers = {Port_answer::give_up};
  const Handshake_result r = set_rez_prog(rig.session, rig.view);
  EXPECT_EQ(r.status, Link_status::port_not_opened);
  ASSERT_TRUE(r.opening.last_error);
  EXPECT_EQ(r.opening.last_error->kind, Open_error::Kind::not_found);
  EXPECT_DOUBLE_EQ(rig.clock.ms(), 0);
}

TEST(Identification, OnlyEightBytesInTheBlocksLayoutAreAnIdentification) {
  const auto id = Radio_identification::from_bytes(hex("50 31 36 30 30 06 02 00"));
  ASSERT_TRUE(id);
  EXPECT_EQ(id->band_code(), 0x06);
  EXPECT_EQ(id->radio_version(), 2);
  EXPECT_TRUE(id->band_known());
  EXPECT_FALSE(Radio_identification::from_bytes(hex("50 31 36 30 30 30 02 00"))->band_known());
  EXPECT_FALSE(Radio_identification::from_bytes(hex("50 31 36 30 30 00 04")));
  EXPECT_FALSE(Radio_identification::from_bytes(hex("50 31 36 30 30 00 04 00 00")));
  EXPECT_FALSE(Radio_identification::from_bytes({}));
}

TEST(Identification, BandCodeTexts) {
  EXPECT_EQ(band_code_text(0x00), "148МГц - 174МГц (П23)");
  EXPECT_EQ(band_code_text(0x06), "450МГц - 470МГц (П45)");
  EXPECT_EQ(band_code_text(0x03), "код диапазона 0x03");
}

}  // namespace
}  // namespace tirna
