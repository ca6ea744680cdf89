#pragma once
// The child processes of the demo: started with the default signal handling and tied to the demo's
// life (they get SIGTERM when it dies, however it dies), waited for without spinning.

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace tirna::cli {

struct Child_start {
  std::string program;
  std::vector<std::string> args;  // after the program name
  std::string folder;             // the working folder; empty: the demo's own
  int stdout_fd = -1;             // the child's standard output; -1: the demo's own
};

struct Child {
  pid_t pid = -1;
  std::optional<int> status;  // the wait status once it has ended
  bool running() const { return pid > 0 && !status; }
};

// Starts the program, or gives the errno of the failed start (fork, folder or exec). The caller
// must have SIGCHLD blocked so that no ending is missed.
std::variant<Child, int> start_child(const Child_start& start);

// Collects the endings of children that have ended, without waiting.
void reap(std::vector<Child*> children);

// Sends SIGTERM to the running ones, waits for them at most `grace` (sleeping on SIGCHLD), then
// kills what is left and collects it.
void end_children(std::vector<Child*> children, std::chrono::milliseconds grace);

// "status N" or "signal N" of a wait status.
std::string ending_text(int wait_status);

}  // namespace tirna::cli
