#pragma once
// The journal row of a single write (`write`, `write-extra`): built up as the command learns
// about the radio, appended once when the command ends, whichever way it ends. A journal that
// cannot take the row is reported after the transfer; it never stops or undoes it.

#include <string>

#include "cli/commands.h"
#include "cli/link_run.h"
#include "core/fleet/fleet_journal.h"
#include "core/image/workspace.h"
#include "platform/programming_journal.h"

namespace tirna::cli {

class Write_record {
 public:
  // journal: --journal, empty for the user's journal.
  Write_record(const std::string& journal, std::string command, const std::string& port);

  // What the radio said of itself: its band and version, and, from a whole read of it (a
  // backup, a read-back), its factory number and model.
  void radio_read(const Link_run& run, const Workspace* radio = nullptr);
  // The bytes sent, when the write ended, successfully or not.
  void sent(const Param_image& image);
  // The radio's memory read back.
  void read_back(const Param_image& radio);
  // What the row says if the command fails from here on.
  void on_failure(Radio_result result) { on_failure_ = result; }

  // The command failed with e: the row records it; rethrow e afterwards. A port that could not
  // be opened met no radio: no row.
  void failed(const Command_failed& e);
  // The command succeeded: the row records it; status 10 when the journal cannot take it.
  void succeeded(std::string note);

  Journal_row row;

 private:
  std::optional<std::string> append();

  Programming_journal journal_;
  Radio_result on_failure_ = Radio_result::write_failed;
};

}  // namespace tirna::cli
