#pragma once
// The system-wide named lock that keeps a second copy of the program from running: an exclusive
// flock on a file named after the lock in the temporary folder. The system frees it when the
// process ends, however it ends.

#include <string>

namespace tirna {

inline constexpr const char* program_lock_name = "{61AB5DD5-2621-4B91-ACAC-92473E065F73}";

class Instance_lock {
 public:
  Instance_lock() = default;
  Instance_lock(const Instance_lock&) = delete;
  Instance_lock& operator=(const Instance_lock&) = delete;
  ~Instance_lock();

  // True when this object now holds the lock; false when another holder has it (or the lock file
  // cannot be opened at all, which is treated the same: better refuse than run twice).
  bool acquire(const std::string& name, const std::string& folder);
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// The temporary folder: $TMPDIR when set, else /tmp.
std::string temporary_folder();

}  // namespace tirna
