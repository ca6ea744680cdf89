#include <gtest/gtest.h>

#include <cerrno>

#include "core/channels/window_view.h"
#include "core/files/file_commands.h"
#include "core/image/frequency.h"
#include "core/text/messages.h"
#include "memory_files.h"

namespace tirna {
namespace {

class ParamFile : public ::testing::Test {
 protected:
  test::Memory_files files;
};

TEST_F(ParamFile, DefaultImageSavesAs1536BytesAndOpensBackIdentical) {
  Workspace ws = start_up_workspace();
  ws.state.modified = true;
  ASSERT_EQ(save_parameter_file(files, ws, "a.tn5"), std::nullopt);
  EXPECT_FALSE(ws.state.modified);
  EXPECT_EQ(ws.file_name, "a.tn5");
  const std::string bytes = files.files.at("a.tn5");
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
  ASSERT_EQ(open_parameter_file(files, other, "a.tn5"), std::nullopt);
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
    ASSERT_EQ(save_image(files, "r.tn5", image), std::nullopt);
    auto loaded = load_image(files, "r.tn5");
    ASSERT_TRUE(std::holds_alternative<Param_image>(loaded));
    EXPECT_EQ(std::get<Param_image>(loaded), image);
  }
}

TEST_F(ParamFile, NewCodingDefaultImageShowsItsFrequencyAfterReopening) {
  Workspace ws;
  ws.state.coding_version = 4;
  new_blok(ws.image, 0, 4);
  ASSERT_EQ(save_parameter_file(files, ws, "v4.tn5"), std::nullopt);
  Workspace fresh = start_up_workspace();
  ASSERT_EQ(open_parameter_file(files, fresh, "v4.tn5"), std::nullopt);
  EXPECT_EQ(fresh.state.coding_version, 4);
  EXPECT_EQ(blok_to_frq_str(fresh.image, 1, Side::rx, fresh.state.coding_version), "  160,000000");
}

TEST_F(ParamFile, OpenTakesBandFromAnyNonZeroBandCode) {
  for (auto [code, band] : {std::pair{0x00, 0}, std::pair{0x06, 1}, std::pair{0x03, 1}}) {
    Workspace ws = start_up_workspace();
    ws.image.set_byte(0x2D2, static_cast<uint8_t>(code));
    ws.image.set_byte(0x2D1, 9);
    ASSERT_EQ(save_image(files, "b.tn5", ws.image), std::nullopt);
    Workspace opened = start_up_workspace();
    ASSERT_EQ(open_parameter_file(files, opened, "b.tn5"), std::nullopt);
    EXPECT_EQ(opened.state.band_index, band) << code;
    EXPECT_EQ(opened.state.coding_version, 9);
    EXPECT_EQ(opened.state.limits, band_limits(band));  // frq_set ran
  }
}

TEST_F(ParamFile, LongerFileOpensAndIgnoresTheRest) {
  Workspace ws = start_up_workspace();
  std::string bytes = image_file_bytes(ws.image) + std::string(64, '\x42');
  files.files["long.tn5"] = bytes;
  Workspace opened = start_up_workspace();
  new_blok(opened.image, 1, 2);
  ASSERT_EQ(open_parameter_file(files, opened, "long.tn5"), std::nullopt);
  EXPECT_EQ(opened.image, ws.image);
}

TEST_F(ParamFile, WrongHeadersAreStoredAsRead) {
  Workspace ws = start_up_workspace();
  std::string bytes = image_file_bytes(ws.image);
  bytes[0] = 0;
  bytes[12 * 50 + 1] = 0x7F;
  files.files["h.tn5"] = bytes;
  ASSERT_EQ(open_parameter_file(files, ws, "h.tn5"), std::nullopt);
  EXPECT_EQ(ws.image.packet(1)[0], 0);
  EXPECT_EQ(ws.image.packet(51)[1], 0x7F);
  ASSERT_EQ(save_image(files, "h2.tn5", ws.image), std::nullopt);
  EXPECT_EQ(files.files.at("h2.tn5"), bytes);
}

TEST_F(ParamFile, FailedOpenChangesNothing) {
  Workspace ws = start_up_workspace();
  ws.file_name = "keep.tn5";
  ws.state.modified = true;
  files.files["short.tn5"] = std::string(1535, '\0');
  const Workspace before = ws;
  const auto unreadable = [&](const std::string& p) {
    files.failure = Io_error{Io_error::access_denied, EACCES};
    auto error = open_parameter_file(files, ws, p);
    files.failure.reset();
    return error;
  };
  const std::vector<std::pair<std::optional<Io_error>, std::string>> cases = {
      {open_parameter_file(files, ws, "short.tn5"), "Read beyond end of file"},
      {open_parameter_file(files, ws, "missing.tn5"), "File not found"},
      {unreadable("short.tn5"), "File access denied"},
  };
  for (const auto& [error, text] : cases) {
    ASSERT_TRUE(error.has_value()) << text;
    EXPECT_EQ(error->text(), text);
  }
  EXPECT_EQ(ws.image, before.image);
  EXPECT_EQ(ws.file_name, before.file_name);
  EXPECT_EQ(ws.state.band_index, before.state.band_index);
  EXPECT_EQ(ws.state.coding_version, before.state.coding_version);
  EXPECT_EQ(with_full_stop(Io_error{Io_error::read_beyond_end, 100}.text()),
            "Read beyond end of file.");
}

TEST_F(ParamFile, FailedSaveChangesNothing) {
  files.failure = Io_error{Io_error::disk_full, ENOSPC};
  Workspace ws = start_up_workspace();
  ws.state.modified = true;
  const auto error = save_parameter_file(files, ws, "full.tn5");
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->text(), "Disk full");
  EXPECT_TRUE(ws.state.modified);
  EXPECT_EQ(ws.file_name, "");
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
