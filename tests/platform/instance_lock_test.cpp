#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/instance_lock.h"

namespace tirna {
namespace {

namespace fs = std::filesystem;
using Result = Instance_lock::Result;

class InstanceLock : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = (fs::temp_directory_path() / ("tirna_lock_" + std::to_string(::getpid()))).string();
    fs::create_directories(folder);
    ::chmod(folder.c_str(), 0700);
  }
  void TearDown() override {
    ::unsetenv("XDG_RUNTIME_DIR");
    ::unsetenv("TMPDIR");
    fs::remove_all(folder);
  }
  std::string folder;
};

TEST_F(InstanceLock, SecondHolderIsRefusedUntilTheFirstLetsGo) {
  {
    Instance_lock first;
    ASSERT_EQ(first.acquire(program_lock_name, folder), Result::acquired);
    EXPECT_TRUE(fs::exists(fs::path(folder) / program_lock_name));
    Instance_lock second;
    EXPECT_EQ(second.acquire(program_lock_name, folder), Result::held_elsewhere);
    EXPECT_FALSE(second.held());
  }
  Instance_lock third;
  EXPECT_EQ(third.acquire(program_lock_name, folder), Result::acquired);
}

TEST_F(InstanceLock, TheSystemFreesTheLockOfAKilledProcess) {
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    Instance_lock lock;
    const char ok = lock.acquire(program_lock_name, folder) == Result::acquired ? '1' : '0';
    (void)!::write(ready[1], &ok, 1);
    ::pause();
    ::_exit(0);
  }
  char ok = 0;
  ASSERT_EQ(::read(ready[0], &ok, 1), 1);
  EXPECT_EQ(ok, '1');
  Instance_lock mine;
  EXPECT_EQ(mine.acquire(program_lock_name, folder), Result::held_elsewhere);
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  EXPECT_EQ(mine.acquire(program_lock_name, folder), Result::acquired);
  ::close(ready[0]);
  ::close(ready[1]);
}

// What another user can put where the lock goes is a failure of the mechanism, said as such,
// never "a copy is running", and never a wait: a link, a FIFO, a file of theirs.
TEST_F(InstanceLock, WhatOthersPlantIsAFailureNeverARunningCopy) {
  const fs::path lock = fs::path(folder) / program_lock_name;
  const fs::path target = fs::path(folder) / "elsewhere";
  fs::create_symlink(target, lock);
  Instance_lock linked;
  EXPECT_EQ(linked.acquire(program_lock_name, folder), Result::failed);
  EXPECT_NE(linked.failure().find(lock.string()), std::string::npos);
  EXPECT_FALSE(fs::exists(target));
  fs::remove(lock);

  ASSERT_EQ(::mkfifo(lock.c_str(), 0666), 0);
  Instance_lock fifo;  // O_NONBLOCK: returns at once
  EXPECT_EQ(fifo.acquire(program_lock_name, folder), Result::failed);
  fs::remove(lock);

  if (::geteuid() == 0) {
    const int fd = ::open(lock.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::fchown(fd, 65534, 65534), 0);
    ::close(fd);
    Instance_lock theirs;
    EXPECT_EQ(theirs.acquire(program_lock_name, folder), Result::failed);
  }
}

// The folder: the session's private runtime folder when there is one, else a folder of the
// user's own in the temporary folder; one that is not private is refused.
TEST_F(InstanceLock, TheFolderIsTheUsersOwn) {
  std::string why;
  ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
  EXPECT_EQ(user_lock_folder(why), folder);

  ::chmod(folder.c_str(), 0755);  // not private: not taken
  const std::string tmp = folder + "/tmp";
  fs::create_directory(tmp);
  ::setenv("TMPDIR", tmp.c_str(), 1);
  const std::string own = tmp + "/tirna520-" + std::to_string(::geteuid());
  EXPECT_EQ(user_lock_folder(why), own);
  struct stat st {};
  ASSERT_EQ(::stat(own.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  ::chmod(own.c_str(), 0777);  // made by someone for us: refused
  EXPECT_EQ(user_lock_folder(why), "");
  EXPECT_NE(why.find(own), std::string::npos);
  Instance_lock lock;
  EXPECT_EQ(lock.acquire(program_lock_name), Result::failed);
  EXPECT_NE(lock.failure().find(own), std::string::npos);
}

}  // namespace
}  // namespace tirna
