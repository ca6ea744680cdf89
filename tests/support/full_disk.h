#pragma once
// A full disk for the tests of saving: while it lives, no file of this process can grow beyond a
// few bytes, so that a write fails with EFBIG ("Disk full") as on a disk with no room left.

#include <sys/resource.h>

#include <csignal>

namespace tirna::test {

class Full_disk {
 public:
  explicit Full_disk(rlim_t room = 100) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    old_signal_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old_;
    small.rlim_cur = room;
    ::setrlimit(RLIMIT_FSIZE, &small);
  }
  ~Full_disk() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, old_signal_);
  }
  Full_disk(const Full_disk&) = delete;
  Full_disk& operator=(const Full_disk&) = delete;

 private:
  rlimit old_{};
  void (*old_signal_)(int) = nullptr;
};

}  // namespace tirna::test
