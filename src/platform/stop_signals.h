#pragma once
// Ctrl-C for the command line's transfers: while an object of this class lives, SIGINT, SIGTERM,
// SIGHUP and SIGPIPE (the output the command writes to was closed: `| head`) do not end the
// process but make a pipe readable, on which every wait of a transfer
// blocks beside its port, so that the transfer ends the way its failure ending does ("END", port
// closed, lock released) and the command exits with status 130. The pipe is never drained: once
// a signal came, every later wait returns at once. A signal the process was started with ignored
// (SIGINT of a background job in a script) stays ignored. One object at a time.

namespace tirna {

class Stop_signals {
 public:
  Stop_signals();
  ~Stop_signals();
  Stop_signals(const Stop_signals&) = delete;
  Stop_signals& operator=(const Stop_signals&) = delete;

  // Readable once a signal came.
  int fd() const { return pipe_[0]; }
  // The signal that came, 0 while none has.
  int signal() const;
  // Stops as the signal would have: for a closed output found by a failed write while SIGPIPE is
  // ignored.
  void stop(int signal_number);

 private:
  int pipe_[2] = {-1, -1};
};

}  // namespace tirna
