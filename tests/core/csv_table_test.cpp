#include <gtest/gtest.h>

#include "core/files/csv_table.h"

namespace tirna {
namespace {

Csv_table table(std::string_view text) {
  auto read = read_csv(text);
  EXPECT_TRUE(std::holds_alternative<Csv_table>(read));
  return std::get<Csv_table>(read);
}

using Fields = std::vector<std::string>;

TEST(CsvTable, CommaSeparatedWithQuotes) {
  const auto t = table("a,b,c\n1,\"x,y\",\"say \"\"hi\"\"\"\n");
  EXPECT_EQ(t.separator, ',');
  ASSERT_EQ(t.records.size(), 2u);
  EXPECT_EQ(t.records[1].fields, (Fields{"1", "x,y", "say \"hi\""}));
  EXPECT_EQ(t.records[1].line, 2);
}

TEST(CsvTable, SemicolonsBomAndCrLfAsSpreadsheetsWriteThem) {
  const auto t = table("\xEF\xBB\xBFLocation;Frequency\r\n1;160,5\r\n2;\"150,0\"\r\n");
  EXPECT_EQ(t.separator, ';');
  ASSERT_EQ(t.records.size(), 3u);
  EXPECT_EQ(t.records[0].fields, (Fields{"Location", "Frequency"}));
  EXPECT_EQ(t.records[1].fields, (Fields{"1", "160,5"}));
  EXPECT_EQ(t.records[2].fields, (Fields{"2", "150,0"}));
}

TEST(CsvTable, TabsAreASeparatorToo) {
  EXPECT_EQ(table("a\tb\n1\t2\n").records[1].fields, (Fields{"1", "2"}));
}

TEST(CsvTable, LineNumbersCountBlankCommentAndQuotedLines) {
  const auto t = table("# comment;x;y\na,b\n\n\"multi\nline\",x\r\n#3,4");
  EXPECT_EQ(t.separator, ',');  // a comment does not decide it
  ASSERT_EQ(t.records.size(), 4u);
  EXPECT_TRUE(t.records[0].commented);
  EXPECT_EQ(t.records[0].line, 1);
  EXPECT_EQ(t.records[1].line, 2);
  EXPECT_FALSE(t.records[1].commented);
  EXPECT_EQ(t.records[2].line, 4);
  EXPECT_EQ(t.records[2].fields, (Fields{"multi\nline", "x"}));
  EXPECT_EQ(t.records[3].line, 6);
  EXPECT_TRUE(t.records[3].commented);
  EXPECT_EQ(t.records[3].fields, (Fields{"3", "4"}));
}

TEST(CsvTable, EmptyFieldsAndShortRecordsStayAsTheyAre) {
  const auto t = table("a,b,c\n,,\n1\n");
  EXPECT_EQ(t.records[1].fields, (Fields{"", "", ""}));
  EXPECT_EQ(t.records[2].fields, (Fields{"1"}));
}

TEST(CsvTable, AnUnclosedQuoteIsASyntaxError) {
  const auto read = read_csv("a,b\n1,\"open\n2,3\n");
  ASSERT_TRUE(std::holds_alternative<Csv_syntax_error>(read));
  EXPECT_EQ(std::get<Csv_syntax_error>(read).line, 2);
}

TEST(CsvTable, WrittenLinesReadBack) {
  const Fields fields{"plain", "with,comma", "with \"quote\"", "two\nlines", ""};
  const std::string line = csv_line(fields);
  EXPECT_EQ(line, "plain,\"with,comma\",\"with \"\"quote\"\"\",\"two\nlines\",\r\n");
  EXPECT_EQ(table(line).records[0].fields, fields);
  EXPECT_EQ(csv_line({"1,5", "x"}, ';'), "1,5;x\r\n");
}

}  // namespace
}  // namespace tirna
