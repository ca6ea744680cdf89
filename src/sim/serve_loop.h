#pragma once
// The simulator's side of the line: the device it serves (a new pseudo-terminal or a given serial
// device), its log, and the loop that plays the radio at the line's pace until it is told to stop.
// POSIX: the pty, ppoll and the signals.

#include <string>
#include <variant>

#include "platform/files/descriptor.h"
#include "sim/paced_line.h"
#include "sim/radio_queue.h"

namespace tirna::sim {

struct Device {
  Descriptor fd;
  Descriptor held_peer;  // our own handle on the pty's terminal side
  std::string path;
  void close() {
    held_peer.close();
    fd.close();
  }
};

// A new pty (device_path empty) or the given device, raw at 9600 baud; the reason it cannot be
// opened.
std::variant<Device, std::string> open_device(const std::string& device_path);

// The log, written line by line (a killed simulator keeps it), each line with the time since the
// log began. Without a file it says nothing.
class Log {
 public:
  explicit Log(Descriptor file) : file_(std::move(file)) {}
  void line(const std::string& text);

 private:
  Descriptor file_;
  Sim_clock::time_point start_ = Sim_clock::now();
};

// The log at path (none for an empty path), opened by the rules of every save: a link another user
// planted in /tmp is not followed. The reason it cannot be opened.
std::variant<Log, std::string> open_log(const std::string& path);

// Prints the device's path on the first line of stdout (where to connect) and plays the radios on
// it until SIGTERM, SIGINT or SIGHUP, the radio's hang-up, exit_after_ends closing strings (when
// not negative) or a failure of the device; the reason it ended.
std::string serve(const Device& device, Radio_queue& radio, Paced_line& line, long exit_after_ends);

}  // namespace tirna::sim
