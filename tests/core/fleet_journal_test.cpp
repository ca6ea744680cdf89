// The fleet's records: the journal rows as a spreadsheet of either separator reads them back, the
// done radios an earlier journal names, and the table of free texts with what it refuses.

#include <gtest/gtest.h>

#include "core/files/csv_table.h"
#include "core/fleet/fleet_journal.h"

namespace tirna {
namespace {

Journal_row row(std::string number, Radio_result result, int status, std::string note = {}) {
  Journal_row r;
  r.time = {2026, 12, 9, 8, 5, 3};
  r.port = "/dev/ttyUSB0";
  r.factory_number = std::move(number);
  r.model = "Тирна-520";
  r.band = "148МГц - 174МГц (П23)";
  r.version = 4;
  r.file = "склад; партия \"А\".tn5";
  r.file_sha256 = std::string(64, 'a');
  r.result = result;
  r.exit_status = status;
  r.note = std::move(note);
  return r;
}

TEST(FleetJournal, RowsReadBackWithEitherSeparatorAndNameTheDoneRadios) {
  for (const char separator : {',', ';'}) {
    std::string journal = journal_start(separator);
    EXPECT_EQ(journal.substr(0, 3), "\xEF\xBB\xBF");
    journal +=
        journal_line(row("1000001", Radio_result::done, 0, "free text written"), separator, "");
    journal +=
        journal_line(row("1000002", Radio_result::band_refused, 6, "a, b; c"), separator, "");
    journal += journal_line(row("1000003", Radio_result::readback_differs, 7), separator, "");
    journal += journal_line(row("", Radio_result::done, 0), separator, "");  // no number: no entry
    journal += journal_line(row("1000004", Radio_result::already_done, 0), separator, "");
    Journal_row never = row("", Radio_result::read_failed, 5);
    never.version = -1;
    journal += journal_line(never, separator, "");
    // A number a spreadsheet would take for a formula stays a text; it is done with another file.
    Journal_row formula = row("=1+2", Radio_result::done, 0);
    formula.file_sha256 = std::string(64, 'b');
    journal += journal_line(formula, separator, "");

    const auto table = read_csv(journal);
    ASSERT_TRUE(std::holds_alternative<Csv_table>(table));
    const Csv_table& t = std::get<Csv_table>(table);
    EXPECT_EQ(t.separator, separator);
    ASSERT_EQ(t.records.size(), 8u);
    EXPECT_EQ(t.records[7].fields[2], "'=1+2");
    EXPECT_EQ(t.records[0].fields,
              (std::vector<std::string>{"time", "port", "factory_number", "model", "band",
                                        "version", "file", "file_sha256", "backup", "result",
                                        "exit_status", "note", "station", "user", "command",
                                        "sent_sha256", "readback_sha256", "previous_row_sha256"}));
    EXPECT_EQ(t.records[1].fields[0], "2026-12-09 08:05:03");
    EXPECT_EQ(t.records[1].fields[6], "склад; партия \"А\".tn5");
    EXPECT_EQ(t.records[2].fields[9], "band refused");
    EXPECT_EQ(t.records[2].fields[10], "6");
    EXPECT_EQ(t.records[2].fields[11], "a, b; c");
    EXPECT_EQ(t.records[3].fields[9], "read-back differs");
    EXPECT_EQ(t.records[6].fields[5], "");  // never answered: no version
    EXPECT_EQ(journal.substr(journal.size() - 2), "\r\n");

    // Only "done" counts, with the file it was done with; "already done" was done in an earlier
    // journal, which is read too.
    const Journal_contents contents = read_journal(journal);
    EXPECT_EQ(contents.done, (std::set<Done_radio>{{"1000001", std::string(64, 'a')},
                                                   {"=1+2", std::string(64, 'b')}}));
    EXPECT_EQ(contents.separator, separator);
  }
  EXPECT_EQ(read_journal("").separator, std::nullopt);   // a new journal takes the locale's
  EXPECT_TRUE(read_journal("a,b\n1,2\n").done.empty());  // not a journal
  EXPECT_TRUE(read_journal("\"unclosed\n").done.empty());
}

TEST(FleetJournal, FreeTextTableIsTakenByItsHeaderAndRefusedWithItsLine) {
  const auto texts = read_free_texts(
      "\xEF\xBB\xBFtext;owner;factory_number\r\n"
      "Иванов;x; 1000001 \r\n"
      "\"Петров\nпозывной 7\";y;1000004\r\n"
      "# a comment row;;\r\n");
  ASSERT_TRUE(std::holds_alternative<Free_texts>(texts)) << std::get<std::string>(texts);
  const auto& by = std::get<Free_texts>(texts).by_factory_number;
  ASSERT_EQ(by.size(), 2u);
  EXPECT_EQ(by.at("1000001"), "\xC8\xE2\xE0\xED\xEE\xE2");  // cp1251
  EXPECT_EQ(by.at("1000004"), "\xCF\xE5\xF2\xF0\xEE\xE2\r\n\xEF\xEE\xE7\xFB\xE2\xED\xEE\xE9 7");

  const std::pair<std::string, std::string> refused[] = {
      {"", "the table is empty; it needs the columns factory_number,text"},
      {"number,text\n1,a\n", "line 1: the header needs the columns factory_number and text"},
      {"factory_number,text\n1,a\n1,b\n", "line 3: the factory number 1 twice"},
      {"factory_number,text\n ,a\n", "line 2: no factory number"},
      {"factory_number,text\n1\n", "line 2: the row has fewer fields than the header"},
      {"factory_number,text\n1," + std::string(193, 'x') + "\n",
       "line 2: the text of 1 is longer than the radio's 192 bytes"},
      {"factory_number,text\n1,\xE2\x82\xAC\xF0\x9F\x98\x80\n",
       "line 2: the text of 1 has characters the radio cannot show"},
      {"factory_number,text\n1,\"open\n", "line 2: "},
  };
  for (const auto& [csv, reason] : refused) {
    const auto result = read_free_texts(csv);
    ASSERT_TRUE(std::holds_alternative<std::string>(result)) << csv;
    EXPECT_EQ(std::get<std::string>(result).substr(0, reason.size()), reason) << csv;
  }
  // 192 bytes exactly fit.
  EXPECT_TRUE(std::holds_alternative<Free_texts>(
      read_free_texts("factory_number,text\n1," + std::string(192, 'x') + "\n")));
}

}  // namespace
}  // namespace tirna
