#pragma once
// The transfers' view on a terminal: a progress bar on stderr when stderr is a terminal, the
// messages kept for the command to print, and no dialogs: a port that does not open ends the
// command at once.

#include <string>
#include <vector>

#include "core/transfer/transfer_view.h"

namespace tirna::cli {

class Terminal_view : public Quiet_transfer_view {
 public:
  Terminal_view();

  void show_progress(std::string_view caption, std::string_view label, int maximum) override;
  void update_progress(const Progress& progress) override;
  void close_progress() override;
  void show_message(const Message& message) override { messages.push_back(message); }

  std::vector<Message> messages;

 private:
  void draw(const Progress& progress);
  bool bar_ = false;  // stderr is a terminal
  bool shown_ = false;
  std::string label_;
};

// A message text for a terminal: each CR line break becomes a newline.
std::string terminal_text(const std::string& text);

}  // namespace tirna::cli
