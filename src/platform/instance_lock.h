#pragma once
// The named lock that keeps a second copy of the program from running: an exclusive flock on a
// file named after the lock in a folder that only the user can write, so that no other user can
// hold it for us, plant a link or a FIFO there, or make us believe a copy runs. The system frees
// it when the process ends, however it ends.

#include <string>

namespace tirna {

inline constexpr const char* program_lock_name = "{61AB5DD5-2621-4B91-ACAC-92473E065F73}";

class Instance_lock {
 public:
  enum class Result {
    acquired,        // this object holds the lock now
    held_elsewhere,  // another copy holds it
    failed,          // the lock could not be taken at all: failure() says why
  };

  Instance_lock() = default;
  Instance_lock(const Instance_lock&) = delete;
  Instance_lock& operator=(const Instance_lock&) = delete;
  ~Instance_lock();

  // folder: where the lock file is; by default user_lock_folder().
  Result acquire(const std::string& name);
  Result acquire(const std::string& name, const std::string& folder);
  bool held() const { return fd_ >= 0; }
  // Why the last acquire failed: the path and the system's reason.
  const std::string& failure() const { return failure_; }

 private:
  int fd_ = -1;
  std::string failure_;
};

// The user's own folder for the lock: $XDG_RUNTIME_DIR when it is a folder of the user's that
// nobody else may enter (mode 0700, as the session manager makes it), else the folder
// "tirna520-<uid>" in the temporary folder ($TMPDIR, else /tmp), made with mode 0700 when missing.
// Empty, with the reason in `why`, when that folder is not the user's own or cannot be made.
std::string user_lock_folder(std::string& why);

// The temporary folder: $TMPDIR when set, else /tmp.
std::string temporary_folder();

}  // namespace tirna
