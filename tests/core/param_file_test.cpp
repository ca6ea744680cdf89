#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "core/channels/window_view.h"
#include "core/files/file_commands.h"
#include "core/image/frequency.h"
#include "core/text/messages.h"
#include "../support/full_disk.h"
#include "test_support.h"

namespace tirna {
namespace {

using test::read_file;
using test::write_file;

class ParamFile : public ::testing::Test {
 protected:
  std::string folder = test::temp_folder();
  std::string path(const std::string& name) const { return folder + "/" + name; }
};

TEST_F(ParamFile, DefaultImageSavesAs1536BytesAndOpensBackIdentical) {
  Workspace ws = start_up_workspace();
  ws.state.modified = true;
  ASSERT_EQ(save_parameter_file(ws, path("a.tn5")), std::nullopt);
  EXPECT_FALSE(ws.state.modified);
  EXPECT_EQ(ws.file_name, path("a.tn5"));
  const std::string bytes = read_file(path("a.tn5"));
  ASSERT_EQ(bytes.size(), 1536u);
  for (int k = 1; k <= 128; ++k) {
    const int a = 8 * (k - 1);
    EXPECT_EQ(static_cast<uint8_t>(bytes[12 * (k - 1)]), 0x57);
    EXPECT_EQ(static_cast<uint8_t>(bytes[12 * (k - 1) + 1]), a / 256);
    EXPECT_EQ(static_cast<uint8_t>(bytes[12 * (k - 1) + 2]), a % 256);
    EXPECT_EQ(static_cast<uint8_t>(bytes[12 * (k - 1) + 3]), 8);
  }
  Workspace other = start_up_workspace();
  new_blok(other.image, 1, 5);
  ASSERT_EQ(open_parameter_file(other, path("a.tn5")), std::nullopt);
  EXPECT_EQ(other.image, ws.image);
}

TEST_F(ParamFile, RandomImagesRoundTripThroughFiles) {
  uint32_t seed = 12345;
  for (int round = 0; round < 20; ++round) {
    Param_image image;
    for (int k = 1; k <= 128; ++k) {
      Packet p;
      for (auto& b : p) b = static_cast<uint8_t>((seed = seed * 1664525 + 1013904223) >> 24);
      image.set_packet(k, p);
    }
    ASSERT_EQ(save_image(path("r.tn5"), image), std::nullopt);
    auto loaded = load_image(path("r.tn5"));
    ASSERT_TRUE(std::holds_alternative<Param_image>(loaded));
    EXPECT_EQ(std::get<Param_image>(loaded), image);
  }
}

TEST_F(ParamFile, NewCodingDefaultImageShowsItsFrequencyAfterReopening) {
  Workspace ws;
  ws.state.coding_version = 4;
  new_blok(ws.image, 0, 4);
  ASSERT_EQ(save_parameter_file(ws, path("v4.tn5")), std::nullopt);
  Workspace fresh = start_up_workspace();
  ASSERT_EQ(open_parameter_file(fresh, path("v4.tn5")), std::nullopt);
  EXPECT_EQ(fresh.state.coding_version, 4);
  EXPECT_EQ(blok_to_frq_str(fresh.image, 1, Side::rx, fresh.state.coding_version), "  160,000000");
}

TEST_F(ParamFile, OpenTakesBandFromAnyNonZeroBandCode) {
  for (auto [code, band] : {std::pair{0x00, 0}, std::pair{0x06, 1}, std::pair{0x03, 1}}) {
    Workspace ws = start_up_workspace();
    ws.image.set_byte(0x2D2, static_cast<uint8_t>(code));
    ws.image.set_byte(0x2D1, 9);
    ASSERT_EQ(save_image(path("b.tn5"), ws.image), std::nullopt);
    Workspace opened = start_up_workspace();
    ASSERT_EQ(open_parameter_file(opened, path("b.tn5")), std::nullopt);
    EXPECT_EQ(opened.state.band_index, band) << code;
    EXPECT_EQ(opened.state.coding_version, 9);
    EXPECT_EQ(opened.state.limits, band_limits(band));  // frq_set ran
  }
}

TEST_F(ParamFile, LongerFileOpensAndIgnoresTheRest) {
  Workspace ws = start_up_workspace();
  std::string bytes = image_file_bytes(ws.image) + std::string(64, '\x42');
  write_file(path("long.tn5"), bytes);
  Workspace opened = start_up_workspace();
  new_blok(opened.image, 1, 2);
  ASSERT_EQ(open_parameter_file(opened, path("long.tn5")), std::nullopt);
  EXPECT_EQ(opened.image, ws.image);
}

TEST_F(ParamFile, WrongHeadersAreStoredAsRead) {
  Workspace ws = start_up_workspace();
  std::string bytes = image_file_bytes(ws.image);
  bytes[0] = 0;
  bytes[12 * 50 + 1] = 0x7F;
  write_file(path("h.tn5"), bytes);
  ASSERT_EQ(open_parameter_file(ws, path("h.tn5")), std::nullopt);
  EXPECT_EQ(ws.image.packet(1)[0], 0);
  EXPECT_EQ(ws.image.packet(51)[1], 0x7F);
  ASSERT_EQ(save_image(path("h2.tn5"), ws.image), std::nullopt);
  EXPECT_EQ(read_file(path("h2.tn5")), bytes);
}

TEST_F(ParamFile, FailedOpenChangesNothing) {
  Workspace ws = start_up_workspace();
  ws.file_name = "keep.tn5";
  ws.state.modified = true;
  write_file(path("short.tn5"), std::string(1535, '\0'));
  std::filesystem::create_directory(path("dir.tn5"));
  const Workspace before = ws;
  const std::vector<std::pair<std::string, std::string>> cases = {
      {path("short.tn5"), "Read beyond end of file"}, {path("missing.tn5"), "File not found"},
      {path("dir.tn5"), "File access denied"},        {path("short.tn5/x"), "Invalid filename"},
      {path("nowhere/x.tn5"), "Invalid filename"},    {"", "Invalid filename"},
  };
  for (const auto& [p, text] : cases) {
    const auto error = open_parameter_file(ws, p);
    ASSERT_TRUE(error.has_value()) << p;
    EXPECT_EQ(error->text(), text) << p;
    EXPECT_EQ(ws.image, before.image);
    EXPECT_EQ(ws.file_name, before.file_name);
    EXPECT_EQ(ws.state.band_index, before.state.band_index);
    EXPECT_EQ(ws.state.coding_version, before.state.coding_version);
  }
  EXPECT_EQ(with_full_stop(Io_error{Io_error::read_beyond_end, 100}.text()),
            "Read beyond end of file.");
}

TEST_F(ParamFile, UnreadableFileIsAccessDenied) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  write_file(path("secret.tn5"), std::string(1536, '\0'));
  ::chmod(path("secret.tn5").c_str(), 0);
  const auto loaded = load_image(path("secret.tn5"));
  ASSERT_TRUE(std::holds_alternative<Io_error>(loaded));
  EXPECT_EQ(std::get<Io_error>(loaded).text(), "File access denied");
}

TEST_F(ParamFile, WriteProtectedTargetIsRefusedAndKept) {
  const std::string old_bytes(1536, '\x11');
  write_file(path("ro.tn5"), old_bytes);
  ::chmod(path("ro.tn5").c_str(), 0444);
  Workspace ws = start_up_workspace();
  ws.state.modified = true;
  const auto error = save_parameter_file(ws, path("ro.tn5"));
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->text(), "File access denied");
  EXPECT_EQ(read_file(path("ro.tn5")), old_bytes);
  EXPECT_TRUE(ws.state.modified);
  EXPECT_EQ(ws.file_name, "");
}

TEST_F(ParamFile, FullDiskLeavesTheOldFileByteForByte) {
  const std::string old_bytes(1536, '\x22');
  write_file(path("full.tn5"), old_bytes);
  const auto error = [&] {
    test::Full_disk full;
    return save_image(path("full.tn5"), Param_image{});
  }();
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->text(), "Disk full");
  EXPECT_EQ(read_file(path("full.tn5")), old_bytes);
  // No temporary file is left behind.
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++entries;
  EXPECT_EQ(entries, 1);
}

TEST_F(ParamFile, SaveKeepsPermissionsAndFollowsLinks) {
  write_file(path("perm.tn5"), std::string(10, 'x'));
  ::chmod(path("perm.tn5").c_str(), 0640);
  ASSERT_EQ(save_image(path("perm.tn5"), Param_image{}), std::nullopt);
  struct stat st {};
  ::stat(path("perm.tn5").c_str(), &st);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(read_file(path("perm.tn5")).size(), 1536u);

  std::filesystem::create_symlink(path("perm.tn5"), path("link.tn5"));
  Param_image other;
  other.set_byte(0, 0x42);
  ASSERT_EQ(save_image(path("link.tn5"), other), std::nullopt);
  EXPECT_TRUE(std::filesystem::is_symlink(path("link.tn5")));
  EXPECT_EQ(static_cast<uint8_t>(read_file(path("perm.tn5"))[4]), 0x42);
}

TEST_F(ParamFile, SaveIntoMissingFolderIsAnError) {
  const auto error = save_image(path("no/such/folder.tn5"), Param_image{});
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->text(), "Invalid filename");
}

TEST(IoErrorText, UnknownErrorsShowTheirNumber) {
  EXPECT_EQ(Io_error::from_errno(EIO).text(), "I/O error " + std::to_string(EIO));
  EXPECT_EQ(Io_error::from_errno(EMFILE).text(), "Too many open files");
  EXPECT_EQ(Io_error::from_errno(ENOSPC).text(), "Disk full");
}

TEST(FileCommands, NewAndBandChangeRebuildTheImageAndForgetTheFile) {
  Workspace ws = start_up_workspace();
  ws.file_name = "x.tn5";
  ws.image.set_byte(0x300, 1);
  ws.state.modified = true;
  new_parameter_image(ws);
  EXPECT_EQ(ws.file_name, "");
  EXPECT_EQ(ws.image, start_up_workspace().image);
  EXPECT_TRUE(ws.state.modified);
  ws.file_name = "x.tn5";
  change_band(ws, 1);
  EXPECT_EQ(ws.state.band_index, 1);
  EXPECT_EQ(ws.state.limits, band_limits(1));
  EXPECT_EQ(ws.file_name, "");
  EXPECT_EQ(ws.image.byte(0x2D2), 0x06);
  EXPECT_EQ(blok_to_frq_str(ws.image, 1, Side::rx, ws.state.coding_version), "  460,000000");
}

}  // namespace
}  // namespace tirna
