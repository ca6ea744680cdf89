// The file layer on a real disk: what a failed read or save says, and that no failure loses the
// old file, leaves a temporary file behind, or changes the file's permissions and links.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "../support/full_disk.h"
#include "platform/files/safe_file.h"

namespace tirna {
namespace {

namespace fs = std::filesystem;

class SafeFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tirna-files-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(folder, ec);
  }
  std::string path(const std::string& name) const { return folder + "/" + name; }
  void write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
  }
  std::string bytes_of(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  int entries() const {
    int n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++n;
    return n;
  }
  static std::string text_of(const std::optional<Io_error>& error) {
    return error ? error->text() : "saved";
  }
  std::string folder;
};

TEST_F(SafeFile, ReadsRegularFilesWithinTheLimitAndSaysWhyNot) {
  write("ten.tn5", "0123456789");
  fs::create_directory(path("dir.tn5"));
  const auto read = [](const std::string& p, std::size_t limit, Beyond_limit beyond) {
    auto r = read_file(p, limit, beyond);
    if (auto* error = std::get_if<Io_error>(&r)) return "error: " + error->text();
    return std::get<std::string>(r);
  };
  const struct {
    std::string path;
    std::size_t limit;
    Beyond_limit beyond;
    std::string result;
  } cases[] = {
      {path("ten.tn5"), 10, Beyond_limit::refuse, "0123456789"},
      {path("ten.tn5"), 9, Beyond_limit::refuse, "error: File too large"},
      {path("ten.tn5"), 4, Beyond_limit::ignore, "0123"},
      {path("missing.tn5"), 10, Beyond_limit::refuse, "error: File not found"},
      {path("dir.tn5"), 10, Beyond_limit::refuse, "error: File access denied"},
      {path("ten.tn5/x"), 10, Beyond_limit::refuse, "error: Invalid filename"},
      {path("nowhere/x.tn5"), 10, Beyond_limit::refuse, "error: Invalid filename"},
      {"", 10, Beyond_limit::refuse, "error: Invalid filename"},
  };
  for (const auto& c : cases) EXPECT_EQ(read(c.path, c.limit, c.beyond), c.result) << c.path;

  if (::geteuid() != 0) {  // root reads every file
    ::chmod(path("ten.tn5").c_str(), 0);
    EXPECT_EQ(read(path("ten.tn5"), 10, Beyond_limit::refuse), "error: File access denied");
  }
}

TEST_F(SafeFile, RefusedSavesKeepTheOldFileByteForByte) {
  const std::string old_bytes(1536, '\x11');
  write("ro.tn5", old_bytes);
  ::chmod(path("ro.tn5").c_str(), 0444);
  EXPECT_EQ(text_of(save_file(path("ro.tn5"), "new")), "File access denied");
  EXPECT_EQ(bytes_of("ro.tn5"), old_bytes);

  write("full.tn5", old_bytes);
  const auto error = [&] {
    test::Full_disk full;
    return save_file(path("full.tn5"), std::string(1536, '\x22'));
  }();
  EXPECT_EQ(text_of(error), "Disk full");
  EXPECT_EQ(bytes_of("full.tn5"), old_bytes);
  EXPECT_EQ(entries(), 2);  // no temporary file left behind

  EXPECT_EQ(text_of(save_file(path("no/such/folder.tn5"), "x")), "Invalid filename");
}

TEST_F(SafeFile, SaveKeepsPermissionsAndFollowsLinks) {
  write("perm.tn5", std::string(10, 'x'));
  ::chmod(path("perm.tn5").c_str(), 0640);
  ASSERT_EQ(save_file(path("perm.tn5"), std::string(1536, '\0')), std::nullopt);
  struct stat st {};
  ::stat(path("perm.tn5").c_str(), &st);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(bytes_of("perm.tn5").size(), 1536u);

  fs::create_symlink(path("perm.tn5"), path("link.tn5"));
  ASSERT_EQ(save_file(path("link.tn5"), "through the link"), std::nullopt);
  EXPECT_TRUE(fs::is_symlink(path("link.tn5")));
  EXPECT_EQ(bytes_of("perm.tn5"), "through the link");
}

TEST_F(SafeFile, ANewFileNeverReplacesAnotherAndLeavesNothingOnFailure) {
  ASSERT_EQ(std::get<Save_new>(save_new_file(path("x.tn5"), "first")), Save_new::saved);
  ASSERT_EQ(std::get<Save_new>(save_new_file(path("x.tn5"), "second")), Save_new::exists);
  EXPECT_EQ(bytes_of("x.tn5"), "first");

  const auto full = [&] {
    test::Full_disk full_disk(0);
    return save_new_file(path("y.tn5"), "more than nothing");
  }();
  ASSERT_TRUE(std::holds_alternative<Io_error>(full));
  EXPECT_EQ(std::get<Io_error>(full).text(), "Disk full");
  EXPECT_EQ(entries(), 1);

  const auto missing = save_new_file(path("missing/z.tn5"), "z");
  ASSERT_TRUE(std::holds_alternative<Io_error>(missing));
  EXPECT_EQ(std::get<Io_error>(missing).text(), "Invalid filename");
}

}  // namespace
}  // namespace tirna
