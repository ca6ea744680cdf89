#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <map>

#include "core/channels/channel_fields.h"
#include "core/files/channel_csv.h"
#include "core/files/csv_table.h"
#include "core/image/frequency.h"
#include "core/image/subtone.h"
#include "core/text/format.h"
#include "test_support.h"

namespace tirna {
namespace {

struct Opened {
  Param_image image;
  Working_state state;
};

// An image with its working state as opening a file gives it.
Opened opened(int band = 0, uint8_t coding_version = 2) {
  Opened o;
  o.state.coding_version = coding_version;
  frq_set(o.state, band);
  new_blok(o.image, band, coding_version);
  return o;
}

std::vector<std::string> row_of(const std::string& csv, int index) {
  const auto table = std::get<Csv_table>(read_csv(csv));
  return table.records.at(index).fields;
}

// Channels that use every field in every way the window can set it.
Opened varied_channels(int band = 0, uint8_t coding_version = 2) {
  Opened o = opened(band, coding_version);
  Param_image& im = o.image;
  const uint8_t v = coding_version;
  const int64_t base = band == 0 ? 150000000 : 455000000;
  for (int n = 1; n <= 16; ++n) {
    store_frequency(im, n, Side::rx, base + 25000 * n, v);
    store_frequency(im, n, Side::tx, base + 25000 * n, v);
  }
  store_frequency(im, 2, Side::tx, base + 600000, v);   // "+"
  store_frequency(im, 3, Side::tx, base - 3000000, v);  // "-"
  store_subtone_ctcss(im, 4, Side::tx, 0x06, 0x70);     // Tone
  store_subtone_ctcss(im, 5, Side::tx, 0x10, 0x00);     // TSQL
  store_subtone_ctcss(im, 5, Side::rx, 0x10, 0x00);
  store_subtone_ctcss(im, 6, Side::tx, 0x25, 0x41);    // Tone->Tone, 254.1 off list
  store_subtone_ctcss(im, 6, Side::rx, 0x06, 0x93);    // 69.3 off list
  store_subtone_dcs(im, 7, Side::tx, 0, 2, 3, false);  // DTCS NR
  store_subtone_dcs(im, 7, Side::rx, 0, 2, 3, true);
  store_subtone_dcs(im, 8, Side::tx, 7, 5, 4, true);   // DTCS->DTCS RN
  store_subtone_dcs(im, 8, Side::rx, 0, 1, 7, false);  // 017 off list
  store_subtone_ctcss(im, 9, Side::tx, 0x08, 0x85);    // Tone->DTCS
  store_subtone_dcs(im, 9, Side::rx, 4, 1, 1, true);
  store_subtone_dcs(im, 10, Side::tx, 4, 1, 1, false);  // DTCS->Tone
  store_subtone_ctcss(im, 10, Side::rx, 0x08, 0x85);
  store_subtone_ctcss(im, 11, Side::rx, 0x12, 0x30);    // ->Tone
  store_subtone_dcs(im, 12, Side::rx, 1, 1, 4, false);  // ->DTCS
  store_subtone_dcs(im, 13, Side::tx, 1, 1, 4, true);   // DTCS->
  set_tx_allowed(im, 14, false);                        // Duplex off
  store_frequency(im, 14, Side::tx, base + 1000000, v);
  store_subtone_ctcss(im, 14, Side::tx, 0x06, 0x70);
  set_channel_in_use(im, 15, false);  // off, with a tone
  store_subtone_ctcss(im, 15, Side::rx, 0x06, 0x70);
  set_channel_flag(im, 16, Channel_flag::narrow, true);
  set_channel_flag(im, 16, Channel_flag::no_scan, false);
  set_channel_flag(im, 16, Channel_flag::low_power, true);
  set_channel_flag(im, 16, Channel_flag::busy_lockout, true);
  set_channel_flag(im, 1, Channel_flag::no_scan, false);
  return o;
}

void expect_same_channels(const Param_image& a, const Param_image& b) {
  for (int n = 1; n <= 16; ++n) {
    EXPECT_EQ(channel_record(a, n), channel_record(b, n)) << "channel " << n;
  }
}

TEST(ChannelCsv, HeaderIsChirpsLayoutThenOursAndEachNameFindsItsColumn) {
  const Opened o = opened();
  const auto header = row_of(export_channels_csv(o.image, 2), 0);
  ASSERT_EQ(header.size(), 21u);
  EXPECT_EQ(header[0], "Location");
  EXPECT_EQ(header[16], "Comment");
  EXPECT_EQ(header[17], "ChannelOff");
  EXPECT_EQ(header[20], "Record");
  for (std::size_t i = 0; i < header.size(); ++i) {
    std::string upper = header[i];
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    ASSERT_EQ(column_named(upper), csv_columns[i].column) << header[i];
    EXPECT_EQ(column_name(csv_columns[i].column), header[i]);
  }
  EXPECT_EQ(column_named("Bank"), std::nullopt);
}

TEST(ChannelCsv, DefaultChannelRow) {
  const Opened o = opened();
  const std::string csv = export_channels_csv(o.image, 2);
  EXPECT_EQ(std::get<Csv_table>(read_csv(csv)).records.size(), 17u);
  EXPECT_EQ(row_of(csv, 1),
            (std::vector<std::string>{
                "1",    "",         "160.000000",
                "",     "0.000000", "",
                "88.5", "88.5",     "023",
                "NN",   "023",      "Tone->Tone",
                "FM",   "6.25",     "S",
                "25W",  "",         "",
                "",     "",         "00 64 0C 00 00 00 64 0C 00 00 10 00 00 00 01 01"}));
}

TEST(ChannelCsv, EachWayOfTheWindowIsWrittenAsChirpWritesIt) {
  const Opened o = varied_channels();
  const std::string csv = export_channels_csv(o.image, 2);
  const auto col = [&](int n, int column) { return row_of(csv, n).at(column); };
  EXPECT_EQ(col(2, 3), "+");
  EXPECT_EQ(col(2, 4), "0.550000");
  EXPECT_EQ(col(3, 3), "-");
  EXPECT_EQ(col(3, 4), "3.075000");
  EXPECT_EQ(col(4, 5), "Tone");
  EXPECT_EQ(col(4, 6), "67.0");
  EXPECT_EQ(col(5, 5), "TSQL");
  EXPECT_EQ(col(5, 7), "100.0");
  EXPECT_EQ(col(6, 5), "Cross");
  EXPECT_EQ(col(6, 11), "Tone->Tone");
  EXPECT_EQ(col(6, 6), "254.1");
  EXPECT_EQ(col(6, 7), "69.3");
  EXPECT_EQ(col(7, 5), "DTCS");
  EXPECT_EQ(col(7, 8), "023");
  EXPECT_EQ(col(7, 9), "NR");
  EXPECT_EQ(col(8, 11), "DTCS->DTCS");
  EXPECT_EQ(col(8, 9), "RN");
  EXPECT_EQ(col(8, 10), "017");
  EXPECT_EQ(col(9, 11), "Tone->DTCS");
  EXPECT_EQ(col(10, 11), "DTCS->Tone");
  EXPECT_EQ(col(11, 11), "->Tone");
  EXPECT_EQ(col(12, 11), "->DTCS");
  EXPECT_EQ(col(13, 11), "DTCS->");
  EXPECT_EQ(col(14, 3), "off");
  EXPECT_EQ(col(14, 19), "151.000000");
  // A channel that is off is no memory for CHIRP: a comment line for it, a row for us.
  EXPECT_EQ(col(15, 17), "V");
  EXPECT_TRUE(std::get<Csv_table>(read_csv(csv)).records.at(15).commented);
  EXPECT_EQ(col(15, 0), "15");
  EXPECT_FALSE(std::get<Csv_table>(read_csv(csv)).records.at(14).commented);
  EXPECT_EQ(col(16, 12), "NFM");
  EXPECT_EQ(col(16, 14), "");
  EXPECT_EQ(col(16, 15), "5.0W");
  EXPECT_EQ(col(1, 15), "25W");
  EXPECT_EQ(col(16, 18), "V");
  EXPECT_EQ(col(1, 14), "");
}

TEST(ChannelCsv, ExportThenImportGivesBackTheSameRecords) {
  for (uint8_t version : {uint8_t{2}, uint8_t{4}}) {
    for (int band : {0, 1}) {
      const Opened source = varied_channels(band, version);
      const std::string csv = export_channels_csv(source.image, version);
      // Into the same file: nothing changes.
      Param_image same = source.image;
      EXPECT_TRUE(import_channels_csv(same, source.state, csv).ok());
      EXPECT_EQ(same, source.image);
      // Into a new file of the same band and coding, with and without our Record column.
      Opened target = opened(band, version);
      const auto result = import_channels_csv(target.image, target.state, csv);
      EXPECT_TRUE(result.ok());
      EXPECT_EQ(result.channels.size(), 16u);
      EXPECT_TRUE(result.notes.empty());
      expect_same_channels(target.image, source.image);
      std::string without_record;
      const auto table = std::get<Csv_table>(read_csv(csv));
      for (const auto& r : table.records) {
        std::vector<std::string> fields(r.fields.begin(), r.fields.end() - 1);
        without_record += csv_line(fields);
      }
      Opened fresh = opened(band, version);
      EXPECT_TRUE(import_channels_csv(fresh.image, fresh.state, without_record).ok());
      expect_same_channels(fresh.image, source.image);
    }
  }
}

// The Record column brings back what no column shows, but only what a control could set: the
// radio's own bits stay as the receiving channel has them, and whatever the record holds, the
// channel it makes passes the same check as every other edit.
TEST(ChannelCsv, TheRecordColumnGivesOnlyWhatAControlSetsAndPassesTheChannelCheck) {
  Opened source = opened();
  Channel_record_bytes odd = channel_record(source.image, 1);
  odd[2] |= 0x80;   // unused bit of the control byte
  odd[10] |= 0xC2;  // unused flag bits
  odd[12] = 0x5A;
  odd[7] = (odd[7] & 0x8F) | 0x10;  // sub-tone type 1, which the window never writes
  odd[8] = 0x34;
  set_channel_record(source.image, 1, odd);
  // A CTCSS value whose tens nibble is not a decimal digit.
  set_channel_record(source.image, 2,
                     Channel_record_bytes{0x01, 0x7D, 0x38, 0xA0, 0x06, 0x01, 0x7D, 0x08, 0x00,
                                          0x00, 0x10, 0x00, 0x00, 0x00, 0x01, 0x01});
  const std::string csv = export_channels_csv(source.image, 2);

  // Into the file it came from: nothing changes, odd records and all.
  Opened same = source;
  EXPECT_TRUE(import_channels_csv(same.image, same.state, csv).ok());
  expect_same_channels(same.image, source.image);

  // Into another file: the two odd sub-tones are refused on their lines, nothing is stored.
  Opened target = opened();
  const Param_image before = target.image;
  const auto refused = import_channels_csv(target.image, target.state, csv);
  ASSERT_EQ(refused.problems.size(), 2u);
  EXPECT_EQ(target.image, before);
  for (int i : {0, 1}) {
    const Csv_problem& p = refused.problems[i];
    EXPECT_EQ(p.line, 2 + i);
    EXPECT_EQ(p.column, Csv_column::record);
    EXPECT_EQ(p.refusal, Csv_refusal::channel_refused);
    ASSERT_TRUE(p.fault);
  }
  EXPECT_EQ(refused.problems[0].fault->kind, Channel_fault::subtone_type);
  EXPECT_EQ(refused.problems[1].fault->kind, Channel_fault::ctcss_value);

  // The other bits no control sets come from the receiving channel, not from the record.
  const std::string first_row_only = csv.substr(0, csv.find('\n', csv.find('\n') + 1) + 1);
  std::string fixed = first_row_only;
  const std::string tone_bits = hex_bytes(std::vector<uint8_t>{odd[7], odd[8]});
  fixed.replace(fixed.find(tone_bits), tone_bits.size(), "0C 00");
  ASSERT_TRUE(import_channels_csv(target.image, target.state, fixed).ok());
  const Channel_record_bytes got = channel_record(target.image, 1);
  EXPECT_EQ(got[2] & 0x80, 0);
  EXPECT_EQ(got[10], 0x10);
  EXPECT_EQ(got[12], 0x00);
}

// A row's Record that codes a frequency outside the file's band does not slip past the band
// limits because the Frequency column names the same frequency.
TEST(ChannelCsv, FrequenciesFromTheRecordKeepTheBandLimits) {
  Opened o = opened();
  Param_image far = o.image;
  store_frequency(far, 1, Side::rx, 500000000, 2);
  store_frequency(far, 1, Side::tx, 160000000, 2);
  const std::string csv = "Location,Frequency,Record\n1,500.000000," +
                          hex_bytes(channel_record(far, 1)) + "\n";
  const Param_image before = o.image;
  const auto result = import_channels_csv(o.image, o.state, csv);
  ASSERT_EQ(result.problems.size(), 1u);
  EXPECT_EQ(result.problems[0].refusal, Csv_refusal::out_of_band);
  EXPECT_EQ(result.problems[0].column, Csv_column::frequency);
  EXPECT_EQ(result.problems[0].hz, 500000000);
  EXPECT_EQ(o.image, before);
}

TEST(ChannelCsv, ChirpStyleTableWithEuropeanSeparators) {
  Opened o = opened();
  const std::string csv =
      "\xEF\xBB\xBF"
      "Location;Name;Frequency;Duplex;Offset;Tone;rToneFreq;cToneFreq;DtcsCode;DtcsPolarity;"
      "Mode;Skip;Power;Bank;Comment\r\n"
      "1;Repeater;150,500000;+;0,600000;Tone;88,5;88,5;023;NN;FM;;High;A;\"note; with; semis\"\r\n"
      "3;Simplex;151,0125;;0;TSQL;67,0;71,9;023;NN;NFM;S;Low;;\r\n"
      "4;Code;152;split;153,5;DTCS;88,5;88,5;23;RR;FM;;;;\r\n"
      ";;;;;;;;;;;;;;\r\n";
  const auto result = import_channels_csv(o.image, o.state, csv);
  ASSERT_TRUE(result.ok()) << result.problems.size();
  EXPECT_EQ(result.channels, (std::vector<int>{1, 3, 4}));
  const auto ch1 = read_channel_fields(o.image, 1, 2);
  EXPECT_EQ(ch1.rx_hz, 150500000);
  EXPECT_EQ(ch1.tx_hz, 151100000);
  EXPECT_EQ(ch1.tx_tone.kind, Tone_setting::ctcss);
  EXPECT_EQ(ch1.tx_tone.tenths, 885);
  EXPECT_EQ(ch1.rx_tone.kind, Tone_setting::none);
  EXPECT_FALSE(ch1.narrow);
  EXPECT_FALSE(ch1.no_scan);
  const auto ch3 = read_channel_fields(o.image, 3, 2);
  EXPECT_EQ(ch3.rx_hz, 151010000);     // the old coding keeps 5 kHz steps
  EXPECT_EQ(ch3.rx_tone.tenths, 719);  // TSQL takes cToneFreq
  EXPECT_EQ(ch3.tx_tone.tenths, 719);
  EXPECT_TRUE(ch3.narrow);
  EXPECT_TRUE(ch3.no_scan);
  EXPECT_TRUE(ch3.low_power);
  const auto ch4 = read_channel_fields(o.image, 4, 2);
  EXPECT_EQ(ch4.tx_hz, 153500000);
  EXPECT_EQ(ch4.rx_tone.code, 23);
  EXPECT_TRUE(ch4.rx_tone.inverted);
  EXPECT_TRUE(ch4.tx_tone.inverted);
  EXPECT_FALSE(ch4.low_power);  // an empty Power keeps the channel's
  // Notes tell where the coding stored another frequency than the table's; a simplex row's
  // transmit frequency is its receive frequency, so one note says it.
  ASSERT_EQ(result.notes.size(), 1u);
  EXPECT_EQ(result.notes[0].line, 3);
  EXPECT_EQ(result.notes[0].wanted_hz, 151012500);
  EXPECT_EQ(result.notes[0].stored_hz, 151010000);
  // A table without our ChannelOff column came from CHIRP: a channel without a row is an empty
  // memory there, so it is switched off; --keep-missing keeps it.
  EXPECT_EQ(result.switched_off, (std::vector<int>{2, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));
  EXPECT_FALSE(channel_in_use(o.image, 2));
  Opened kept = opened();
  ASSERT_TRUE(import_channels_csv(kept.image, kept.state, csv, {1, true}).ok());
  EXPECT_TRUE(channel_in_use(kept.image, 2));
}

TEST(ChannelCsv, MissingColumnsKeepTheirFieldsButAFrequencyWithoutDuplexIsSimplex) {
  Opened o = varied_channels();
  const Channel_fields before = read_channel_fields(o.image, 2, 2);
  ASSERT_NE(before.tx_hz, before.rx_hz);
  const auto result = import_channels_csv(o.image, o.state, "location,frequency\n2,150.25\n");
  ASSERT_TRUE(result.ok());
  Channel_fields after = read_channel_fields(o.image, 2, 2);
  EXPECT_EQ(after.rx_hz, 150250000);
  EXPECT_EQ(after.tx_hz, 150250000);  // CHIRP reads a missing Duplex as simplex
  after.rx_hz = before.rx_hz;
  after.tx_hz = before.tx_hz;
  EXPECT_EQ(after, before);
  // Without a Frequency either, the transmitter stays as it was.
  Opened p = varied_channels();
  ASSERT_TRUE(import_channels_csv(p.image, p.state, "Location,Mode\n2,NFM\n").ok());
  EXPECT_EQ(read_channel_fields(p.image, 2, 2).tx_hz, before.tx_hz);
}

TEST(ChannelCsv, ARowSwitchesItsChannelOnUnlessChannelOffSaysOtherwise) {
  Opened o = varied_channels();
  ASSERT_FALSE(channel_in_use(o.image, 15));
  EXPECT_TRUE(import_channels_csv(o.image, o.state, "Location\n15\n").ok());
  EXPECT_TRUE(channel_in_use(o.image, 15));
  EXPECT_TRUE(import_channels_csv(o.image, o.state, "Location,ChannelOff\n15,V\n").ok());
  EXPECT_FALSE(channel_in_use(o.image, 15));
}

TEST(ChannelCsv, EveryRefusedRowIsReportedAndNothingChanges) {
  Opened o = opened();
  const Param_image before = o.image;
  const std::string csv =
      "Location,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,"
      "CrossMode,Mode,Skip,Power,ChannelOff,Record\n"
      "1,460.000000,,0,,88.5,88.5,023,NN,023,Tone->Tone,FM,,High,,\n"    // out of band
      "2,150,,0,Tone,6.5,88.5,023,NN,023,Tone->Tone,FM,,High,,\n"        // tone too low
      "3,150,,0,DTCS,88.5,88.5,089,NN,023,Tone->Tone,FM,,High,,\n"       // not octal
      "4,150,,0,,88.5,88.5,023,NN,023,Tone->Tone,AM,,High,,\n"           // mode
      "5,150,,0,TSQL-R,88.5,88.5,023,NN,023,Tone->Tone,FM,,High,,\n"     // reverse squelch
      "6,150,,0,,88.5,88.5,023,NN,023,Tone->Tone,FM,P,5 kW,,\n"         // skip and power
      "1.5,150,,0,,88.5,88.5,023,NN,023,Tone->Tone,FM,,High,,\n"         // location
      "6,150,,0,,88.5,88.5,023,NN,023,Tone->Tone,FM,,High,,\n"           // given twice
      "7,150,+,x,,88.5,88.5,023,XN,023,Tone->Tone,FM,,High,yes,00 11\n"  // offset, polarity, marks
      "8,150,split,200,,88.5,88.5,023,NN,023,Tone->Tone,FM,,High,,\n"    // transmit out of band
      "9,150,,0,Cross,88.5,88.5,023,NN,023,Tone=>Tone,FM,,High,,\n"      // cross mode
      "10,150,,0,Cross,88.5,1000.0,023,NN,023,->Tone,FM,,High,,\n";      // tone too high
  const auto result = import_channels_csv(o.image, o.state, csv);
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(o.image, before);
  std::vector<std::pair<int, Csv_refusal>> seen;
  for (const auto& p : result.problems) seen.emplace_back(p.line, p.refusal);
  const std::vector<std::pair<int, Csv_refusal>> expected = {
      {2, Csv_refusal::out_of_band},        {3, Csv_refusal::tone_refused},
      {4, Csv_refusal::tone_refused},       {5, Csv_refusal::bad_mode},
      {6, Csv_refusal::bad_tone_mode},      {7, Csv_refusal::bad_skip},
      {7, Csv_refusal::bad_power},          {8, Csv_refusal::bad_location},
      {9, Csv_refusal::duplicate_location}, {10, Csv_refusal::bad_record},
      {10, Csv_refusal::not_a_number},      {10, Csv_refusal::bad_polarity},
      {10, Csv_refusal::bad_mark},          {11, Csv_refusal::out_of_band},
      {12, Csv_refusal::bad_cross_mode},    {13, Csv_refusal::tone_refused}};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(result.problems[0].column, Csv_column::frequency);
  EXPECT_EQ(result.problems[2].column, Csv_column::dtcs_code);
  EXPECT_EQ(result.problems.back().column, Csv_column::c_tone_freq);
  // Paste at channel 1 takes the rows where the import does, and refuses them alike.
  const auto pasted = paste_channels_csv(o.image, o.state, csv, 1);
  seen.clear();
  for (const auto& p : pasted.problems) seen.emplace_back(p.line, p.refusal);
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(o.image, before);
}

// Import and Paste find a table's rows with one step: a comment line, a comment before the
// header, blank lines or the order of the rows change nothing of where the rows go, and our own
// table's row of a channel that is off is a row for both.
TEST(ChannelPaste, RowsGoWhereTheImportPutsThem) {
  const std::string rows = "30,151.000000\n31,152.000000\n";
  struct Case {
    const char* name;
    std::string table;
    std::vector<std::pair<int, int64_t>> channels;  // the channels pasted at 15, with frequency
  };
  const Case cases[] = {
      {"plain", "Location,Frequency\n" + rows, {{15, 151000000}, {16, 152000000}}},
      {"a comment line before the rows",
       "Location,Frequency\n#0,150.000000\n" + rows,
       {{15, 151000000}, {16, 152000000}}},
      {"a comment before the header",
       "# CHIRP\nLocation,Frequency\n" + rows,
       {{15, 151000000}, {16, 152000000}}},
      {"blank lines, rows in reverse",
       "Location,Frequency\n\n31,152.000000\n\n30,151.000000\n",
       {{16, 152000000}, {15, 151000000}}},
      {"the row of a channel that is off",
       "Location,Frequency,ChannelOff\n#30,151.000000,V\n",
       {{15, 151000000}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Opened pasted = opened();
    const auto result = paste_channels_csv(pasted.image, pasted.state, c.table, 15);
    ASSERT_TRUE(result.ok()) << result.problems.at(0).line;
    std::vector<int> channels;
    for (const auto& [n, hz] : c.channels) {
      channels.push_back(n);
      EXPECT_EQ(read_channel_fields(pasted.image, n, 2).rx_hz, hz) << n;
    }
    EXPECT_EQ(result.channels, channels);
    // The import with memory 30 as channel 15 makes the same image.
    Opened imported = opened();
    ASSERT_TRUE(import_channels_csv(imported.image, imported.state, c.table, {16, true}).ok());
    EXPECT_EQ(imported.image, pasted.image);
  }
  // Where the import skips a row beyond channel 16, the paste refuses it: nothing changes.
  const std::string own = "Location,Frequency,ChannelOff\n#29,150.000000,V\n" + rows;
  Opened o = opened();
  const Param_image before = o.image;
  const auto past = paste_channels_csv(o.image, o.state, own, 15);
  ASSERT_EQ(past.problems.size(), 1u);
  EXPECT_EQ(past.problems[0].refusal, Csv_refusal::past_last_channel);
  EXPECT_EQ(past.problems[0].line, 4);
  EXPECT_EQ(past.problems[0].number, 17);
  EXPECT_EQ(o.image, before);
  const auto skipped = import_channels_csv(o.image, o.state, own, {15, true});
  ASSERT_TRUE(skipped.ok());
  ASSERT_EQ(skipped.skipped.size(), 1u);
  EXPECT_EQ(skipped.skipped[0].location, 31);
  // Of many refused rows the first are listed, by line, the others counted.
  std::string many = "Location,Frequency\n";
  for (int n = 1; n <= 40; ++n) many += std::to_string(n) + (n == 3 ? ",999\n" : ",150\n");
  const Param_image imported = o.image;
  const auto listed = paste_channels_csv(o.image, o.state, many, 1, 5);
  std::vector<int> lines;
  for (const auto& p : listed.problems) lines.push_back(p.line);
  EXPECT_EQ(lines, (std::vector<int>{4, 18, 19, 20, 21}));
  EXPECT_EQ(listed.unlisted_problems, 20u);
  EXPECT_EQ(o.image, imported);
}

TEST(ChannelCsv, TablesWithoutLocationOrWithBrokenQuotesAreRefusedWhole) {
  Opened o = opened();
  EXPECT_EQ(import_channels_csv(o.image, o.state, "Frequency\n150\n").problems.at(0).refusal,
            Csv_refusal::no_location_column);
  EXPECT_EQ(import_channels_csv(o.image, o.state, "Location\n\"1\n").problems.at(0).refusal,
            Csv_refusal::unclosed_quote);
  // No header, or a header and no row, is a table without any channel (CHIRP's would switch all
  // sixteen off); a column read twice would leave one of its cells unread.
  const Param_image before = o.image;
  for (const char* empty : {"", "Location,Frequency\n", "Location,Frequency\n\n#2,150\n"}) {
    const auto result = import_channels_csv(o.image, o.state, empty);
    ASSERT_EQ(result.problems.size(), 1u) << empty;
    EXPECT_EQ(result.problems[0].refusal, Csv_refusal::empty_table) << empty;
  }
  const auto twice = import_channels_csv(o.image, o.state, "Location,Frequency,frequency\n1,150,151\n");
  ASSERT_EQ(twice.problems.size(), 1u);
  EXPECT_EQ(twice.problems[0].refusal, Csv_refusal::duplicate_column);
  EXPECT_EQ(twice.problems[0].column, Csv_column::frequency);
  EXPECT_EQ(twice.problems[0].value, "frequency");
  EXPECT_TRUE(import_channels_csv(o.image, o.state, "Location,Comment,Comment\n1,a,b\n").ok());
  EXPECT_NE(o.image, before);  // a CHIRP table: the channels it has no row for are switched off
}

// ---- CHIRP ----

std::string file_text(const std::string& path) { return test::read_file(path); }
std::string chirp_sample(const std::string& name) {
  return file_text(std::string(TIRNA_TEST_DATA) + "/chirp/" + name);
}

// What CHIRP keeps of a table when it opens and saves it: the rows that are memories (comment
// lines are skipped), its own columns in its own order under the header its files have, and
// nothing of ours.
std::string saved_by_chirp(const std::string& csv) {
  const std::string sample = chirp_sample("chirp-std.csv");
  const auto chirp_header =
      std::get<Csv_table>(read_csv(sample.substr(0, sample.find('\n')))).records.at(0).fields;
  const Csv_table table = std::get<Csv_table>(read_csv(csv));
  std::map<std::string, std::size_t> ours;
  for (std::size_t i = 0; i < table.records[0].fields.size(); ++i) {
    ours[table.records[0].fields[i]] = i;
  }
  std::string out = csv_line(chirp_header);
  for (std::size_t r = 1; r < table.records.size(); ++r) {
    if (table.records[r].commented) continue;
    std::vector<std::string> fields;
    for (const std::string& name : chirp_header) {
      const auto at = ours.find(name);
      fields.push_back(at == ours.end() ? "" : table.records[r].fields.at(at->second));
    }
    out += csv_line(fields);
  }
  return out;
}

struct Channel_kind {
  const char* name;
  std::function<void(Param_image&, int n, uint8_t version)> make;
  bool chirp_keeps_all = true;  // false: CHIRP has no column for part of it
};

const std::vector<Channel_kind>& channel_kinds() {
  static const std::vector<Channel_kind> kinds = {
      {"simplex", [](Param_image&, int, uint8_t) {}},
      {"plus offset", [](Param_image& im, int n, uint8_t v) {
         store_frequency(im, n, Side::tx, 150600000 + 25000 * n, v);
       }},
      {"minus offset", [](Param_image& im, int n, uint8_t v) {
         store_frequency(im, n, Side::tx, 147000000, v);
       }},
      {"split", [](Param_image& im, int n, uint8_t v) {
         store_frequency(im, n, Side::rx, 148000000, v);
         store_frequency(im, n, Side::tx, 174000000, v);
       }},
      {"transmitter inhibited", [](Param_image& im, int n, uint8_t) { set_tx_allowed(im, n, false); },
       false},
      {"off", [](Param_image& im, int n, uint8_t) { set_channel_in_use(im, n, false); }},
      {"Tone", [](Param_image& im, int n, uint8_t) { store_subtone_ctcss(im, n, Side::tx, 0x06, 0x70); }},
      {"TSQL", [](Param_image& im, int n, uint8_t) {
         store_subtone_ctcss(im, n, Side::tx, 0x25, 0x03);
         store_subtone_ctcss(im, n, Side::rx, 0x25, 0x03);
       }},
      {"DTCS inverted on receive", [](Param_image& im, int n, uint8_t) {
         store_subtone_dcs(im, n, Side::tx, 0, 2, 3, false);
         store_subtone_dcs(im, n, Side::rx, 0, 2, 3, true);
       }},
      {"Tone->Tone", [](Param_image& im, int n, uint8_t) {
         store_subtone_ctcss(im, n, Side::tx, 0x06, 0x70);
         store_subtone_ctcss(im, n, Side::rx, 0x07, 0x19);
       }},
      {"Tone->DTCS", [](Param_image& im, int n, uint8_t) {
         store_subtone_ctcss(im, n, Side::tx, 0x08, 0x85);
         store_subtone_dcs(im, n, Side::rx, 7, 5, 4, true);
       }},
      {"DTCS->Tone", [](Param_image& im, int n, uint8_t) {
         store_subtone_dcs(im, n, Side::tx, 4, 1, 1, true);
         store_subtone_ctcss(im, n, Side::rx, 0x25, 0x03);
       }},
      {"DTCS->DTCS", [](Param_image& im, int n, uint8_t) {
         store_subtone_dcs(im, n, Side::tx, 0, 2, 5, false);
         store_subtone_dcs(im, n, Side::rx, 0, 1, 7, true);
       }},
      {"->Tone", [](Param_image& im, int n, uint8_t) { store_subtone_ctcss(im, n, Side::rx, 0x07, 0x19); }},
      {"->DTCS", [](Param_image& im, int n, uint8_t) { store_subtone_dcs(im, n, Side::rx, 1, 1, 4, false); }},
      {"DTCS->", [](Param_image& im, int n, uint8_t) { store_subtone_dcs(im, n, Side::tx, 7, 5, 4, true); }},
      {"Tone->", [](Param_image& im, int n, uint8_t) {
         store_subtone_ctcss(im, n, Side::tx, 0x06, 0x70);
         set_channel_flag(im, n, Channel_flag::narrow, true);  // and 12.5 kHz
       }},
      {"12.5 kHz, scanned, low power", [](Param_image& im, int n, uint8_t) {
         set_channel_flag(im, n, Channel_flag::narrow, true);
         set_channel_flag(im, n, Channel_flag::no_scan, false);
         set_channel_flag(im, n, Channel_flag::low_power, true);
       }},
      {"busy lock-out", [](Param_image& im, int n, uint8_t) {
         set_channel_flag(im, n, Channel_flag::busy_lockout, true);
       }, false},
  };
  return kinds;
}

// The round trip users make: export, open and save in CHIRP, import. Into the file it came from,
// every kind of channel comes back byte for byte (the channel off stays off); into a new file,
// every field that CHIRP has a column for comes back.
TEST(ChirpRoundTrip, EveryKindOfChannelSurvivesASaveInChirp) {
  for (uint8_t version : {uint8_t{2}, uint8_t{4}}) {
    for (const Channel_kind& kind : channel_kinds()) {
      SCOPED_TRACE(std::string(kind.name) + ", coding version " + std::to_string(version));
      Opened source = opened(0, version);
      const int n = 3;
      store_frequency(source.image, n, Side::rx, 150000000 + 25000 * n, version);
      store_frequency(source.image, n, Side::tx, 150000000 + 25000 * n, version);
      kind.make(source.image, n, version);
      const std::string exported = export_channels_csv(source.image, version);
      EXPECT_TRUE(rows_chirp_refuses(source.image, version).empty());
      const std::string chirp = saved_by_chirp(exported);

      Param_image same = source.image;
      const auto back = import_channels_csv(same, source.state, chirp);
      ASSERT_TRUE(back.ok()) << back.problems.at(0).line << ": " << back.problems.at(0).value;
      EXPECT_EQ(same, source.image);

      Opened fresh = opened(0, version);
      ASSERT_TRUE(import_channels_csv(fresh.image, fresh.state, chirp).ok());
      Channel_fields want = read_channel_fields(source.image, n, version);
      Channel_fields got = read_channel_fields(fresh.image, n, version);
      if (!kind.chirp_keeps_all) {
        got.tx_hz = want.tx_hz;  // an inhibited transmitter's frequency: no CHIRP column
        got.busy_lockout = want.busy_lockout;
      }
      if (!want.in_use) {
        EXPECT_FALSE(got.in_use);  // an empty memory: nothing else of it comes
      } else {
        EXPECT_EQ(got, want);
      }
    }
  }
}

// Each file written by CHIRP imports into a new file and holds CHIRP's channels: memories 1-16
// of a radio with more, memories 0-15 as channels 1-16 with --first-location 0.
TEST(ChirpSamples, EachImportsIntoANewFile) {
  struct Case {
    const char* file;
    long long first_location;
    std::vector<long long> skipped;
    std::vector<int> switched_off;
    int64_t rx1, rx16;
  };
  const Case cases[] = {
      {"chirp-std.csv", 1, {}, {}, 150000000, 159005000},
      {"chirp-zero.csv", 1, {0}, {16}, 150025000, 0},
      {"chirp-zero.csv", 0, {}, {}, 150000000, 150375000},
      {"chirp-big.csv", 1, {17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32,
                           33, 34, 35, 36, 37, 38, 39, 40}, {}, 150025000, 150400000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " from " + std::to_string(c.first_location));
    Opened o = opened();
    const auto result = import_channels_csv(o.image, o.state, chirp_sample(c.file),
                                            {c.first_location, false});
    ASSERT_TRUE(result.ok());
    std::vector<long long> skipped;
    for (const auto& k : result.skipped) skipped.push_back(k.location);
    EXPECT_EQ(skipped, c.skipped);
    EXPECT_EQ(result.switched_off, c.switched_off);
    EXPECT_EQ(read_channel_fields(o.image, 1, 2).rx_hz, c.rx1);
    if (c.rx16 != 0) {
      EXPECT_EQ(read_channel_fields(o.image, 16, 2).rx_hz, c.rx16);
    }
  }
  // chirp-std.csv: CHIRP's watts, its tone modes and its duplexes.
  Opened o = opened();
  ASSERT_TRUE(import_channels_csv(o.image, o.state, chirp_sample("chirp-std.csv")).ok());
  EXPECT_FALSE(read_channel_fields(o.image, 1, 2).low_power);  // 50W
  EXPECT_TRUE(read_channel_fields(o.image, 15, 2).low_power);  // 5.0W
  EXPECT_FALSE(read_channel_fields(o.image, 13, 2).tx_allowed);  // duplex off
  EXPECT_EQ(read_channel_fields(o.image, 14, 2).tx_hz, 162000000);  // split
  const Channel_fields cross = read_channel_fields(o.image, 7, 2);  // DTCS->Tone, RN
  EXPECT_EQ(cross.tx_tone.code, 411);
  EXPECT_TRUE(cross.tx_tone.inverted);
  EXPECT_EQ(cross.rx_tone.tenths, 2503);
}

TEST(ChirpTables, LocationsPowersAndEmptyTables) {
  // Watts at or above the midpoint of the nominal levels are full power; the words still count.
  for (const auto& [power, low] : std::vector<std::pair<std::string, bool>>{
           {"50W", false}, {"25W", false}, {"15", false}, {"15.0 W", false}, {"14.9W", true},
           {"5.0W", true}, {"0.5W", true}, {"High", false}, {"low", true}}) {
    Opened o = opened();
    ASSERT_TRUE(import_channels_csv(o.image, o.state, "Location,Power\n1," + power + "\n").ok())
        << power;
    EXPECT_EQ(read_channel_fields(o.image, 1, 2).low_power, low) << power;
  }
  Opened o = opened();
  const Param_image before = o.image;
  // No row names a channel: refused, and the Locations it gave are named.
  auto none = import_channels_csv(o.image, o.state, "Location,Frequency\n0,150\n17,150\n");
  ASSERT_FALSE(none.ok());
  EXPECT_EQ(none.problems.at(0).refusal, Csv_refusal::no_channel);
  EXPECT_EQ(none.problems.at(0).locations, (std::vector<long long>{0, 17}));
  EXPECT_EQ(o.image, before);
  // A commented row is a channel that is off only in our own tables, with ChannelOff V.
  ASSERT_TRUE(import_channels_csv(o.image, o.state,
                                  "Location,Frequency,ChannelOff\n#2,150,V\n#3,151,\n# note\n")
                  .ok());
  EXPECT_FALSE(channel_in_use(o.image, 2));
  EXPECT_EQ(read_channel_fields(o.image, 2, 2).rx_hz, 150000000);
  EXPECT_TRUE(channel_in_use(o.image, 3));
  EXPECT_EQ(read_channel_fields(o.image, 3, 2).rx_hz, 160000000);  // a comment: not taken
}

}  // namespace
}  // namespace tirna
