#pragma once
// What a transfer needs from a window (or the command line): the busy state, the progress window,
// message boxes, the refresh and the USB-polling mark, besides what opening the port needs. Every
// call comes on the thread that runs the transfer; a window implements message boxes as modal
// boxes and stays responsive because the transfer's waits run its event loop.

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

}  // namespace tirna
