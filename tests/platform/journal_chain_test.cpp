// The programming journal's chain on a real disk: rows appended through the file layer's locked
// append, then the journal tampered with in each way a row can be, and the verdict of `journal
// verify` (the row named, or intact) for each; two processes appending at once keep one chain.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "core/fleet/journal_chain.h"
#include "platform/files/safe_file.h"
#include "platform/programming_journal.h"

namespace tirna {
namespace {

namespace fs = std::filesystem;

std::string read_all(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Journal_row radio(int n) {
  Journal_row r;
  r.time = {2026, 12, 10, 9, 0, n % 60};
  r.port = "/dev/ttyUSB0";
  r.factory_number = std::to_string(1000000 + n);
  r.file = "склад.tn5";
  r.note = "line\r\nbreak";  // one row stays one line
  r.command = "fleet";
  return r;
}

// The journal's lines, each with its line end.
std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find('\n', at);
    lines.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end + 1 - at));
    at = end == std::string::npos ? text.size() : end + 1;
  }
  return lines;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& l : lines) text += l;
  return text;
}

TEST(JournalChain, VerifyNamesTheFirstRowThatNoLongerFollowsItsPredecessor) {
  std::string folder = (fs::temp_directory_path() / "tirna-journal-XXXXXX").string();
  ASSERT_NE(::mkdtemp(folder.data()), nullptr);
  const std::string path = folder + "/journal.csv";
  for (const char separator : {',', ';'}) {
    fs::remove(path);
    Journal_writer writer(safe_files(), path, sha256_hex, separator);
    ASSERT_EQ(writer.start(), std::nullopt);
    for (int n = 1; n <= 4; ++n) ASSERT_EQ(writer.append(radio(n)), std::nullopt);
    const std::string journal = read_all(path);
    const std::vector<std::string> lines = lines_of(journal);  // header and rows 1..4
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(journal_entries(journal).at(0).cell("note"), "line  break");

    struct Case {
      const char* what;
      std::function<std::string()> tampered;
      int broken_row;  // 0: intact
      std::string reason_start;
    };
    const Case cases[] = {
        {"untouched", [&] { return journal; }, 0, ""},
        {"a cell of row 2 edited",
         [&] {
           auto l = lines;
           l[2].replace(l[2].find("1000002"), 7, "1000009");
           return joined(l);
         },
         3, "it does not follow row 2"},
        {"row 2 removed",
         [&] {
           auto l = lines;
           l.erase(l.begin() + 2);
           return joined(l);
         },
         2, "it does not follow row 1"},
        {"rows 2 and 3 swapped",
         [&] {
           auto l = lines;
           std::swap(l[2], l[3]);
           return joined(l);
         },
         2, "it does not follow row 1"},
        {"row 1 removed", [&] { return lines[0] + lines[2] + lines[3] + lines[4]; }, 1,
         "it does not follow the header"},
        {"the last row cut short", [&] { return journal.substr(0, journal.size() - 9); }, 4,
         "the row is cut short"},
        {"a cell of the last row split in two",
         [&] {
           auto l = lines;
           l[4].insert(l[4].find("1000004"), std::string(1, separator));
           return joined(l);
         },
         4, "the row has 19 cells"},
        {"the header edited",
         [&] {
           auto l = lines;
           l[0].replace(l[0].find("note"), 4, "Note");
           return joined(l);
         },
         0, "the header is not"},
    };
    for (const Case& c : cases) {
      const Chain_verdict v = verify_journal(c.tampered(), sha256_hex);
      const bool intact = c.broken_row == 0 && c.reason_start.empty();
      EXPECT_EQ(v.intact, intact) << c.what;
      EXPECT_EQ(v.broken_row, c.broken_row) << c.what;
      EXPECT_TRUE(v.reason.starts_with(c.reason_start)) << c.what << ": " << v.reason;
      if (intact) {
        EXPECT_EQ(v.rows, 4) << c.what;
        EXPECT_EQ(v.last_row_sha256, sha256_hex(lines[4])) << c.what;
      }
    }
    // A row appended after a row cut short by a killed append starts on its own line; the row
    // cut short stays named.
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        << journal.substr(0, journal.size() - 9);
    ASSERT_EQ(writer.append(radio(5)), std::nullopt);
    EXPECT_EQ(verify_journal(read_all(path), sha256_hex).broken_row, 4);
    // A table of another header is never appended to.
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "a,b\r\n1,2\r\n";
    EXPECT_NE(writer.append(radio(6)), std::nullopt);
    EXPECT_EQ(read_all(path), "a,b\r\n1,2\r\n");
  }

  // Two processes appending 40 rows each to one journal: every row follows the one before it.
  fs::remove(path);
  pid_t children[2];
  for (pid_t& child : children) {
    child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      Journal_writer writer(safe_files(), path, sha256_hex, ',');
      for (int n = 0; n < 40; ++n) {
        if (writer.append(radio(n))) ::_exit(1);
      }
      ::_exit(0);
    }
  }
  for (const pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  const Chain_verdict both = verify_journal(read_all(path), sha256_hex);
  EXPECT_TRUE(both.intact) << both.reason << " at row " << both.broken_row;
  EXPECT_EQ(both.rows, 80);
  fs::remove_all(folder);
}

}  // namespace
}  // namespace tirna
