// Backups before a write: names after the factory number and the moment, never over another file.

#include <gtest/gtest.h>

#include <cerrno>

#include "core/files/backup_file.h"
#include "memory_files.h"

namespace tirna {
namespace {

const Local_time moment{2026, 1, 2, 3, 4, 5};

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

TEST(BackupFile, SavesTheWholeImageUnderTheRadiosNumber) {
  const Param_image radio = radio_with_number("0042 / ");
  for (const std::string folder : {"backups", "backups/"}) {
    test::Memory_files files;
    const auto saved = save_backup(files, folder, radio, moment);
    ASSERT_TRUE(std::holds_alternative<std::string>(saved));
    EXPECT_EQ(std::get<std::string>(saved), "backups/0042__-20260102-030405.tn5");
    EXPECT_EQ(files.files.at(std::get<std::string>(saved)), image_file_bytes(radio));
    EXPECT_EQ(files.files.size(), 1u);
  }
}

TEST(BackupFile, ATakenNameIsNeverWrittenOver) {
  test::Memory_files files;
  const std::string taken = "b/no-number-20260102-030405.tn5";
  files.files[taken] = "someone else's file";
  files.files["b/no-number-20260102-030405-2.tn5"] = "and another";
  const Param_image radio = radio_with_number("");
  const auto saved = save_backup(files, "b", radio, moment);
  ASSERT_TRUE(std::holds_alternative<std::string>(saved));
  EXPECT_EQ(std::get<std::string>(saved), "b/no-number-20260102-030405-3.tn5");
  EXPECT_EQ(files.files.at(taken), "someone else's file");
  EXPECT_EQ(files.files.at(std::get<std::string>(saved)), image_file_bytes(radio));
}

TEST(BackupFile, AFailedSaveIsTheBackupsError) {
  test::Memory_files files;
  files.failure = Io_error{Io_error::disk_full, ENOSPC};
  const auto saved = save_backup(files, "b", Param_image{}, moment);
  ASSERT_TRUE(std::holds_alternative<Io_error>(saved));
  EXPECT_EQ(std::get<Io_error>(saved).text(), "Disk full");
  EXPECT_TRUE(files.files.empty());
}

}  // namespace
}  // namespace tirna
