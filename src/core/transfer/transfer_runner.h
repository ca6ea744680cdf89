#pragma once
// The one skeleton of the four transfers (read, write, and the additional data's read and write):
// the busy state, the USB programmer's mark, the checks before the port opens, the handshake, the
// progress window, one deadline for all packets, the read requests and their replies or the write
// frames and their acknowledgements, "END", the port closed, and the endings in their order. Each
// transfer is a plan: its packets, texts and deadline, and what it does before and after.

#include <chrono>
#include <functional>
#include <optional>
#include <span>

#include "core/image/workspace.h"
#include "core/link/handshake.h"
#include "core/transfer/transfer_messages.h"
#include "core/transfer/transfer_result.h"
#include "core/transfer/transfer_view.h"

namespace tirna {

// Why a transfer ends before its packets: the status and the message shown.
struct Transfer_refusal {
  Link_status status;
  Message message;
};

struct Transfer_plan {
  enum Direction { reading, writing };
  Direction direction = reading;
  std::span<const int> packets;  // in the order they are moved
  std::chrono::milliseconds timeout{0};  // one deadline for all of them
  transfer_text::Progress_text progress;
  Message failed;  // the failure ending's message (handshake failed, deadline passed)
  bool end_after_failed_handshake = false;  // "END" also after a failed handshake
  bool refresh_on_usb = false;              // the USB programmer's ending redraws the pages

  // Before the USB programmer is looked at: what every run does to the image.
  std::function<void(Workspace&)> first;
  // Before the port opens: why the image may not be sent at all.
  std::function<std::optional<Transfer_refusal>(const Workspace&)> refusal;
  // After the handshake: why this radio may not take it, else what the radio decides.
  std::function<std::optional<Transfer_refusal>(Workspace&, const Radio_identification&)> radio;
  // Right after the deadline is armed.
  std::function<void(Workspace&)> armed;
  // Before write frame k is sent.
  std::function<void(Workspace&, int k)> before_frame;
  // After all packets were read: the workspace takes the packets, which were read into a scratch
  // image so that a failed read changes nothing.
  std::function<void(Workspace&, const Param_image& read, const Radio_identification&)> taken;

  bool refresh_when_done = false;
  std::optional<Message> done;       // the success message, if any
  bool done_after_enabling = false;  // shown once the main window is enabled again
};

// Runs the plan. Shows its own messages; the port is closed on every way out.
Transfer_result run_transfer(const Transfer_plan& plan, Workspace& ws, Link_session& session,
                             Transfer_view& view);

// True when each of the packets carries the header of its own address.
bool headers_intact(const Param_image& image, std::span<const int> packets);

// "END": the radio leaves programming mode.
void send_closing_string(Transport& port);

}  // namespace tirna
