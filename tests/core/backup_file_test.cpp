// Backups before a write: names after the factory number and the moment, never over another file.

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "core/files/backup_file.h"
#include "../support/full_disk.h"
#include "test_support.h"

namespace tirna {
namespace {

using test::read_file;
using test::write_file;

const Local_time moment{2026, 1, 2, 3, 4, 5};

class BackupFile : public ::testing::Test {
 protected:
  std::string folder = test::temp_folder();
  int entries() const {
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++n;
    return n;
  }
};

Param_image radio_with_number(const std::string& cp1251_number) {
  Param_image image;
  new_blok(image, 0, 4);
  for (std::size_t i = 0; i < cp1251_number.size(); ++i) {
    image.set_byte(mem::factory_number + static_cast<int>(i),
                   static_cast<uint8_t>(cp1251_number[i]));
  }
  return image;
}

TEST(BackupFileName, FactoryNumberTrimmedAndMadeSafe) {
  EXPECT_EQ(backup_file_name(" 007    ", moment), "007-20260102-030405.tn5");
  EXPECT_EQ(backup_file_name("12/4", moment), "12_4-20260102-030405.tn5");
  EXPECT_EQ(backup_file_name("a\\b:c*d", moment), "a_b_c_d-20260102-030405.tn5");
  EXPECT_EQ(factory_number_part("?\"<>|"), "_____");
  EXPECT_EQ(factory_number_part("A 1"), "A_1");
  EXPECT_EQ(factory_number_part(std::string("1\x01\x7F", 3)), "1__");
  EXPECT_EQ(factory_number_part(".."), "_.");
  EXPECT_EQ(factory_number_part("-5"), "_5");
  EXPECT_EQ(factory_number_part("№ 5ж"), "№_5ж");  // letters of the radio's code page stay
}

TEST(BackupFileName, AnEmptyNumberGetsThePlaceholderAndLaterTriesANumber) {
  EXPECT_EQ(backup_file_name("       ", moment), "no-number-20260102-030405.tn5");
  EXPECT_EQ(backup_file_name("", moment), "no-number-20260102-030405.tn5");
  EXPECT_EQ(backup_file_name("7", moment, 2), "7-20260102-030405-2.tn5");
}

TEST_F(BackupFile, SavesTheWholeImageUnderTheRadiosNumber) {
  const Param_image radio = radio_with_number("0042 / ");
  const auto saved = save_backup(folder, radio, moment);
  ASSERT_TRUE(std::holds_alternative<std::string>(saved));
  EXPECT_EQ(std::get<std::string>(saved), folder + "/0042__-20260102-030405.tn5");
  EXPECT_EQ(read_file(std::get<std::string>(saved)), image_file_bytes(radio));
  EXPECT_EQ(entries(), 1);
}

TEST_F(BackupFile, ATakenNameIsNeverWrittenOver) {
  const std::string taken = folder + "/no-number-20260102-030405.tn5";
  write_file(taken, "someone else's file");
  write_file(folder + "/no-number-20260102-030405-2.tn5", "and another");
  const Param_image radio = radio_with_number("");
  const auto saved = save_backup(folder, radio, moment);
  ASSERT_TRUE(std::holds_alternative<std::string>(saved));
  EXPECT_EQ(std::get<std::string>(saved), folder + "/no-number-20260102-030405-3.tn5");
  EXPECT_EQ(read_file(taken), "someone else's file");
  EXPECT_EQ(read_file(std::get<std::string>(saved)), image_file_bytes(radio));
  EXPECT_EQ(entries(), 3);  // no temporary file left behind
}

TEST_F(BackupFile, ASaveNewNeverReplacesAndLeavesNothingOnFailure) {
  const std::string path = folder + "/x.tn5";
  ASSERT_EQ(std::get<Save_new>(save_new_image(path, Param_image{})), Save_new::saved);
  Param_image other;
  other.set_byte(0, 0x42);
  ASSERT_EQ(std::get<Save_new>(save_new_image(path, other)), Save_new::exists);
  EXPECT_EQ(read_file(path), image_file_bytes(Param_image{}));

  const auto full = [&] {
    test::Full_disk full_disk(0);
    return save_backup(folder, other, moment);
  }();
  ASSERT_TRUE(std::holds_alternative<Io_error>(full));
  EXPECT_EQ(std::get<Io_error>(full).text(), "Disk full");
  EXPECT_EQ(entries(), 1);
}

TEST_F(BackupFile, AMissingFolderIsAnError) {
  const auto saved = save_backup(folder + "/missing", Param_image{}, moment);
  ASSERT_TRUE(std::holds_alternative<Io_error>(saved));
  EXPECT_EQ(std::get<Io_error>(saved).text(), "Invalid filename");
}

}  // namespace
}  // namespace tirna
