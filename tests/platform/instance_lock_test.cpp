#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/instance_lock.h"

namespace tirna {
namespace {

namespace fs = std::filesystem;

class InstanceLock : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = (fs::temp_directory_path() / ("tirna_lock_" + std::to_string(::getpid()))).string();
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }
  std::string folder;
};

TEST_F(InstanceLock, SecondHolderIsRefusedUntilTheFirstLetsGo) {
  {
    Instance_lock first;
    ASSERT_TRUE(first.acquire(program_lock_name, folder));
    EXPECT_TRUE(fs::exists(fs::path(folder) / program_lock_name));
    Instance_lock second;
    EXPECT_FALSE(second.acquire(program_lock_name, folder));
    EXPECT_FALSE(second.held());
  }
  Instance_lock third;
  EXPECT_TRUE(third.acquire(program_lock_name, folder));
}

TEST_F(InstanceLock, TheSystemFreesTheLockOfAKilledProcess) {
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    Instance_lock lock;
    const char ok = lock.acquire(program_lock_name, folder) ? '1' : '0';
    (void)!::write(ready[1], &ok, 1);
    ::pause();
    ::_exit(0);
  }
  char ok = 0;
  ASSERT_EQ(::read(ready[0], &ok, 1), 1);
  EXPECT_EQ(ok, '1');
  Instance_lock mine;
  EXPECT_FALSE(mine.acquire(program_lock_name, folder));
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  EXPECT_TRUE(mine.acquire(program_lock_name, folder));
  ::close(ready[0]);
  ::close(ready[1]);
}

TEST_F(InstanceLock, APlantedLinkIsNotFollowed) {
  const fs::path target = fs::path(folder) / "elsewhere";
  fs::create_symlink(target, fs::path(folder) / program_lock_name);
  Instance_lock lock;
  EXPECT_FALSE(lock.acquire(program_lock_name, folder));
  EXPECT_FALSE(fs::exists(target));
}

}  // namespace
}  // namespace tirna
