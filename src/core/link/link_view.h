#pragma once
// What opening the port needs from a window: the "choose another port?" question and the modal
// programmer dialog. Both are called on the thread that runs the transfer; a window shows them as
// modal boxes from there.

#include <string>
#include <string_view>

#include "core/link/programmer_choice.h"
#include "core/link/transport.h"

namespace tirna {

enum class Message_icon { information, exclamation, stop };

// A message box: icon, caption and text. Line breaks in the text are single CR characters; each
// front end renders them its own way.
struct Message {
  Message_icon icon = Message_icon::information;
  std::string caption;
  std::string text;
  friend bool operator==(const Message&, const Message&) = default;
};

enum class Port_answer {
  yes,      // show the programmer dialog, then try the port it gives
  no,       // leave the port closed; the handshake then runs out its time-outs
  give_up,  // a front end without dialogs: end the command now, without the handshake's waits
};

class Link_view {
 public:
  virtual ~Link_view() = default;
  // The port did not open. `question` is the box to show (exclamation icon, buttons Yes and No);
  // `error` says why, for front ends that show it.
  virtual Port_answer ask_other_port(const Message& question, const Open_error& error) = 0;
  // The modal programmer dialog; it changes `choice` only when the user confirms.
  virtual void choose_programmer(Programmer_choice& choice) = 0;
};

}  // namespace tirna
