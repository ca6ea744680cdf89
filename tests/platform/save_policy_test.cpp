// The file layer's rules without a disk: links a save may follow, when it writes in place, which
// temporary files are left over from a killed save.

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/files/save_policy.h"

namespace tirna {
namespace {

constexpr uid_t me = 1000, other = 1001, root = 0;

struct stat owned(uid_t owner, mode_t mode) {
  struct stat st {};
  st.st_uid = owner;
  st.st_mode = mode;
  return st;
}

TEST(SavePolicy, LinksAreFollowedOnlyAsTheKernelsProtectedSymlinksAllow) {
  const struct stat home = owned(me, S_IFDIR | 0755);
  const struct stat tmp = owned(root, S_IFDIR | 01777);  // world-writable and sticky
  const struct stat shared_of_other = owned(other, S_IFDIR | 01777);
  const struct {
    uid_t link_owner;
    const struct stat& folder;
    bool followed;
  } cases[] = {
      {me, home, true},
      {root, home, true},
      {other, home, false},
      {me, tmp, true},
      {root, tmp, true},
      {other, tmp, false},
      {other, shared_of_other, false},  // a third user's link even where that user owns the folder
      {root, shared_of_other, false},   // root's link in another user's sticky folder
      {me, shared_of_other, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(may_follow_link(me, owned(c.link_owner, S_IFLNK | 0777), c.folder), c.followed)
        << c.link_owner << " in a folder of " << c.folder.st_uid;
  }
}

TEST(SavePolicy, ASharedFileIsWrittenInPlaceWhereARenameWouldTakeItAway) {
  EXPECT_TRUE(rename_keeps_owner(me, false, 0));  // a new file
  EXPECT_TRUE(rename_keeps_owner(me, true, me));
  EXPECT_TRUE(rename_keeps_owner(root, true, other));  // root gives it back
  EXPECT_FALSE(rename_keeps_owner(me, true, other));
  for (int err : {EACCES, EPERM, EROFS}) EXPECT_TRUE(in_place_can_help(err)) << err;
  for (int err : {ENOSPC, EIO, ENOENT}) EXPECT_FALSE(in_place_can_help(err)) << err;
}

TEST(SavePolicy, OnlyTheUsersOwnOldTemporaryFilesAreStale) {
  const std::time_t now = 1'000'000;
  const auto file = [&](uid_t owner, std::time_t age, mode_t type = S_IFREG) {
    struct stat st = owned(owner, type | 0600);
    st.st_mtime = now - age;
    return st;
  };
  const std::string name = temporary_name({0, 1, 2, 61, 62, 255});
  EXPECT_EQ(name, ".tirna520-save-ABC9AH");
  EXPECT_TRUE(stale_temporary(name, file(me, 61), me, now));
  EXPECT_FALSE(stale_temporary(name, file(me, 60), me, now));  // a save may still be under way
  EXPECT_FALSE(stale_temporary(name, file(other, 3600), me, now));
  EXPECT_FALSE(stale_temporary(name, file(me, 3600, S_IFLNK), me, now));
  EXPECT_FALSE(stale_temporary(name + "7", file(me, 3600), me, now));
  EXPECT_FALSE(stale_temporary("radio.tn5", file(me, 3600), me, now));
}

TEST(SavePolicy, LinksLeadRelativeToTheirFolder) {
  EXPECT_EQ(folder_of("radio.tn5"), ".");
  EXPECT_EQ(folder_of("/radio.tn5"), "/");
  EXPECT_EQ(folder_of("/home/u/radio.tn5"), "/home/u");
  EXPECT_EQ(link_destination("/home/u/link.tn5", "radio.tn5"), "/home/u/radio.tn5");
  EXPECT_EQ(link_destination("/home/u/link.tn5", "../v/radio.tn5"), "/home/u/../v/radio.tn5");
  EXPECT_EQ(link_destination("link.tn5", "/srv/radio.tn5"), "/srv/radio.tn5");
}

}  // namespace
}  // namespace tirna
