#pragma once
// What a transfer needs from a window (or the command line): the busy state, the progress window,
// message boxes, the refresh and the USB-polling mark, besides what opening the port needs. Every
// call comes on the thread that runs the transfer; a window implements message boxes as modal
// boxes and stays responsive because the transfer's waits run its event loop.

#include <optional>
#include <string>
#include <string_view>

#include "core/link/link_view.h"

namespace tirna {

// The progress window's bar and percentage.
struct Progress {
  int position = 0;
  int maximum = 1;
  // Position + 1, never past the maximum.
  void step() {
    if (position < maximum) ++position;
  }
  int percent() const { return position * 100 / maximum; }  // the remainder dropped
  std::string label() const { return std::to_string(percent()) + "%"; }
};

class Transfer_view : public Link_view {
 public:
  virtual void blok_btn() = 0;     // disable the main window
  virtual void razblok_btn() = 0;  // enable it again
  // Shows the progress window: caption, text, "0%", an empty bar of `maximum`.
  virtual void show_progress(std::string_view caption, std::string_view label, int maximum) = 0;
  virtual void update_progress(const Progress& progress) = 0;
  virtual void close_progress() = 0;                      // nothing when it is not shown
  virtual void show_message(const Message& message) = 0;  // modal, OK
  virtual void print_wind_blok() = 0;                     // redraw the pages from the image
  virtual void stop_usb_polling() = 0;                    // the USB programmer's status polling
};

// A view without a window (the command line, benchmarks, fuzzing): no dialogs, so a port that does
// not open ends the transfer at once and its error is kept; everything else shows nothing. Front
// ends override what they show.
class Quiet_transfer_view : public Transfer_view {
 public:
  Port_answer ask_other_port(const Message&, const Open_error& error) override {
    open_error = error;
    return Port_answer::give_up;
  }
  void choose_programmer(Programmer_choice&) override {}
  void blok_btn() override {}
  void razblok_btn() override {}
  void show_progress(std::string_view, std::string_view, int) override {}
  void update_progress(const Progress&) override {}
  void close_progress() override {}
  void show_message(const Message&) override {}
  void print_wind_blok() override {}
  void stop_usb_polling() override {}

  std::optional<Open_error> open_error;  // why the port did not open, the last time it did not
};

}  // namespace tirna
