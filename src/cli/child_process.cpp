#include "cli/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

namespace tirna::cli {

namespace {

// Only async-signal-safe calls between fork and exec. Reports a failure as errno on error_fd.
[[noreturn]] void become(const Child_start& s, char* const argv[], pid_t parent, int error_fd) {
  sigset_t none;
  sigemptyset(&none);
  for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGCHLD, SIGPIPE}) ::signal(sig, SIG_DFL);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  ::prctl(PR_SET_PDEATHSIG, SIGTERM);
  if (::getppid() != parent) ::_exit(127);  // the demo died before prctl took effect
  int err = 0;
  if (!s.folder.empty() && ::chdir(s.folder.c_str()) != 0) err = errno;
  if (err == 0 && s.stdout_fd >= 0 && ::dup2(s.stdout_fd, STDOUT_FILENO) < 0) err = errno;
  if (err == 0) {
    ::execv(s.program.c_str(), argv);
    err = errno;
  }
  while (::write(error_fd, &err, sizeof err) < 0 && errno == EINTR) {
  }
  ::_exit(127);
}

}  // namespace

std::variant<Child, int> start_child(const Child_start& s) {
  std::vector<std::string> words{s.program};
  words.insert(words.end(), s.args.begin(), s.args.end());
  std::vector<char*> argv;
  for (auto& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  // Closed by a successful exec: a read of 0 bytes means the program runs.
  int error_pipe[2];
  if (::pipe2(error_pipe, O_CLOEXEC) != 0) return errno;
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid < 0) {
    const int err = errno;
    ::close(error_pipe[0]);
    ::close(error_pipe[1]);
    return err;
  }
  if (pid == 0) {
    ::close(error_pipe[0]);
    become(s, argv.data(), parent, error_pipe[1]);
  }
  ::close(error_pipe[1]);
  int err = 0;
  ssize_t n;
  while ((n = ::read(error_pipe[0], &err, sizeof err)) < 0 && errno == EINTR) {
  }
  ::close(error_pipe[0]);
  if (n > 0) {
    ::waitpid(pid, nullptr, 0);
    return err;
  }
  return Child{pid, std::nullopt};
}

void reap(std::vector<Child*> children) {
  for (Child* c : children) {
    if (!c->running()) continue;
    int status = 0;
    if (::waitpid(c->pid, &status, WNOHANG) == c->pid) c->status = status;
  }
}

void end_children(std::vector<Child*> children, std::chrono::milliseconds grace) {
  reap(children);
  for (Child* c : children) {
    if (c->running()) ::kill(c->pid, SIGTERM);
  }
  sigset_t chld;
  sigemptyset(&chld);
  sigaddset(&chld, SIGCHLD);
  const auto deadline = std::chrono::steady_clock::now() + grace;
  const auto any_running = [&] {
    reap(children);
    for (Child* c : children) {
      if (c->running()) return true;
    }
    return false;
  };
  while (any_running()) {
    const auto left = deadline - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) break;
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
    const timespec wait{static_cast<time_t>(ns / 1'000'000'000),
                        static_cast<long>(ns % 1'000'000'000)};
    ::sigtimedwait(&chld, nullptr, &wait);  // SIGCHLD is blocked by the caller
  }
  for (Child* c : children) {
    if (!c->running()) continue;
    ::kill(c->pid, SIGKILL);
    int status = 0;
    if (::waitpid(c->pid, &status, 0) == c->pid) c->status = status;
  }
}

std::string ending_text(int wait_status) {
  if (WIFSIGNALED(wait_status)) return "signal " + std::to_string(WTERMSIG(wait_status));
  return "status " + std::to_string(WEXITSTATUS(wait_status));
}

}  // namespace tirna::cli
