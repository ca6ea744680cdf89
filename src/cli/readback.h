#pragma once
// The read-back side of the link commands: reading a radio into a scratch workspace, the backup
// before a write, and the check that the radio holds what a write sends (verify, write --verify).

#include <optional>
#include <string>

#include "cli/link_run.h"
#include "core/compare/write_check.h"
#include "core/image/workspace.h"

namespace tirna::cli {

// Fails with status 8 and the write's own message when the write would refuse the file (packets
// with the headers of other addresses, channels that fail the check of every channel): there is
// nothing to back up for, to verify against or to program a fleet with.
void refuse_unwritable_file(const Workspace& file);

// Creates the backup folder when missing; fails with status 3 when it cannot be made or written,
// before anything talks to the radio.
void prepare_backup_folder(const std::string& folder);

// The radio's whole memory, read by the read transfer into a scratch workspace.
Workspace read_radio(Link_run& run);

// Reads the radio and saves its memory as a new file in folder (see save_backup), printing its
// path. A read or a save that fails ends the command before anything is written; backup holds
// what was done so far (the radio once read, the path once saved).
struct Backup {
  std::optional<Workspace> radio;
  std::string path;
};
void backup_radio(Link_run& run, const std::string& folder, Backup& backup);

// Compares what a write sends with the radio's memory in the written packets; prints the result,
// and the differences side by side (sent_name heads the column of `sent`), then fails with status
// 7 when they differ.
void check_readback(const Param_image& sent, const Param_image& radio, Time_stamp time,
                    const std::string& sent_name);

}  // namespace tirna::cli
