#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "core/text/cp1251.h"
#include "platform/config_file.h"

namespace tirna {
namespace {

namespace fs = std::filesystem;

std::string cp(const std::string& utf8) {
  return *utf8_to_cp1251(utf8);
}

class ConfigFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("tirna_config_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    path = (folder / "config.ini").string();
  }
  void TearDown() override {
    fs::permissions(folder, fs::perms::owner_all);
    fs::remove_all(folder);
  }
  void write(const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
  std::string read() const {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  fs::path folder;
  std::string path;
};

TEST_F(ConfigFile, FirstStartCreatesExactlyTheFiveLines) {
  auto opened = open_config_file(path);
  ASSERT_TRUE(opened.file);
  EXPECT_EQ(opened.values, Config_values{});
  EXPECT_EQ(read(), cp("[Общие]\r\nСОМ/USB=1\r\nСОМ-порт=0\r\nX=0\r\nY=0\r\n"));
}

TEST_F(ConfigFile, ValuesAreReadAndWrittenBackInPlaceKeepingOtherSections) {
  write(cp(
      "[Порты]\r\nCOM8=/dev/ttyACM0\r\n[общие]\r\nY=-20\r\nсом-ПОРТ=7\r\nсом/usb=5\r\nX=300\r\n"));
  auto opened = open_config_file(path);
  ASSERT_TRUE(opened.file);
  EXPECT_EQ(opened.values, (Config_values{5, 7, 300, -20}));
  ASSERT_TRUE(opened.file->write_back(Config_values{1, 2, 10, 20}));
  EXPECT_EQ(read(), cp("[Порты]\r\nCOM8=/dev/ttyACM0\r\n[общие]\r\nY=20\r\nСОМ-порт=2\r\n"
                       "СОМ/USB=1\r\nX=10\r\n"));
}

struct Damaged {
  const char* name;
  std::string bytes;
};

TEST_F(ConfigFile, DamagedFilesGiveTheDefaultsAndKeepTheirOtherContent) {
  std::mt19937 random(520);
  std::string binary(4096, '\0');
  for (char& c : binary) c = static_cast<char>(random());
  const Damaged cases[] = {
      {"binary", binary},
      {"missing section", cp("[Другое]\r\nX=5\r\n")},
      {"Latin COM keys", cp("[Общие]\r\nCOM/USB=0\r\nCOM-порт=3\r\n")},
      {"not integers", cp("[Общие]\r\nСОМ/USB=один\r\nСОМ-порт=2.5\r\nX=\r\nY=0x10\r\n")},
      {"out of range", cp("[Общие]\r\nСОМ/USB=2147483648\r\nСОМ-порт=-2147483649\r\n"
                          "X=99999999999\r\nY=-\r\n")},
  };
  for (const auto& c : cases) {
    write(c.bytes);
    auto opened = open_config_file(path);
    ASSERT_TRUE(opened.file) << c.name;
    EXPECT_EQ(opened.values, Config_values{}) << c.name;
    ASSERT_TRUE(opened.file->write_back(Config_values{}));
    const std::string after = read();
    const Config_opened again = open_config_file(path);
    EXPECT_EQ(again.values, Config_values{}) << c.name;
    // Every line of the old file that is not one of our keys is still there.
    if (std::string(c.name) == "Latin COM keys") {
      EXPECT_NE(after.find("COM/USB=0\r\n"), std::string::npos);
      EXPECT_NE(after.find(cp("СОМ/USB=1\r\n")), std::string::npos);
    }
    if (std::string(c.name) == "missing section") {
      EXPECT_EQ(after,
                cp("[Другое]\r\nX=5\r\n[Общие]\r\nСОМ/USB=1\r\nСОМ-порт=0\r\nX=0\r\nY=0\r\n"));
    }
  }
}

TEST_F(ConfigFile, ATenMegabyteFileIsReadAndKeptWhole) {
  std::string big = cp("[Общие]\r\nСОМ-порт=2\r\n[Мусор]\r\n");
  while (big.size() < 10u << 20) big += "junk=0123456789abcdef0123456789abcdef\r\n";
  write(big);
  auto opened = open_config_file(path);
  ASSERT_TRUE(opened.file);
  EXPECT_EQ(opened.values.com_port_index, 2);
  ASSERT_TRUE(opened.file->write_back(opened.values));
  EXPECT_GE(read().size(), big.size());
}

TEST_F(ConfigFile, AFolderInItsPlaceIsReportedAndNeverWritten) {
  fs::create_directory(path);
  auto opened = open_config_file(path);
  EXPECT_FALSE(opened.file);
  EXPECT_NE(opened.error, 0);
  EXPECT_EQ(opened.values, Config_values{});
}

TEST_F(ConfigFile, AFileThatCannotBeCreatedGivesTheError) {
  auto missing = open_config_file((folder / "no such folder" / "config.ini").string());
  EXPECT_FALSE(missing.file);
  EXPECT_EQ(missing.error, ENOENT);
  EXPECT_EQ(missing.values, Config_values{});
}

TEST_F(ConfigFile, AReadOnlyFolderGivesAccessDenied) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  auto opened = open_config_file(path);
  EXPECT_FALSE(opened.file);
  EXPECT_EQ(opened.error, EACCES);
}

}  // namespace
}  // namespace tirna
