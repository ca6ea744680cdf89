#pragma once
// Programming a fleet on one port: radio after radio, each waited for, backed up, written, read
// back and compared, given its own free text, recorded, and waited for until it is unplugged.
//
// A radio is waited for by trying to read it, at most once a second, while none answers; a port
// that another program holds is tried again at the next look. A radio that the journal holds as
// done with this file (its factory number and the file's SHA-256), by an earlier run or this one,
// is recorded as already done and left as it is, each time it answers. Every port runs this on
// its own thread with its own session and view; what they share goes through the observer.
// Whatever ends a port's work (a fault of the program included) ends that port only: the radio in
// hand gets END where a transfer was under way and its journal row.

#include <string>

#include "core/files/file_store.h"
#include "core/fleet/fleet_journal.h"
#include "core/image/workspace.h"
#include "core/link/handshake.h"
#include "core/transfer/transfer_result.h"
#include "core/transfer/transfer_view.h"

namespace tirna {

// What one port is doing, for its live line.
enum class Fleet_phase { waiting, reading, writing, writing_text, checking, unplugging };

class Fleet_observer {
 public:
  virtual ~Fleet_observer() = default;
  // Called from the port's thread; factory_number is empty while no radio is known.
  virtual void phase(Fleet_phase phase, const std::string& factory_number) = 0;
  // The journal of earlier runs, or another port of this run, holds this radio as done with the
  // job's file.
  virtual bool already_done(const std::string& factory_number) = 0;
  // Something the port's line should say that is no radio's row: the port is busy, free again.
  virtual void note(const std::string& text) = 0;
  // A radio answered: may this port take it? False once as many radios are taken as asked for.
  virtual bool take() = 0;
  // One radio's turn ended: its journal row.
  virtual void finished(const Journal_row& row) = 0;
  // The run is ending (Ctrl-C, or as many radios taken as asked for): take no further radio.
  virtual bool run_ends() = 0;
};

// What every radio gets.
struct Fleet_job {
  const Workspace& file;              // FILE, opened as the window opens it
  const File_store& files;            // where the backups are saved
  std::string file_name;              // as given
  std::string file_sha256;            // of FILE's bytes
  const Free_texts* texts = nullptr;  // null: the radios keep their texts
  std::string backup_dir;             // empty: no backups
  Clock local_time = system_local_time;
  // Audit: each radio is only read and compared with FILE as a write of it would leave the
  // radio (the time stamp excepted; the free text is no part of a write); nothing is written.
  bool audit = false;
  // Of the 1024 bytes sent and read back, for the journal; null: not recorded.
  std::string (*sha256)(std::string_view bytes) = nullptr;
};

// How a port's work ended: the run ended (completed), Ctrl-C or a closed output stopped it
// (stopped), its port cannot be opened (port_not_opened, with the view's message), or a fault of
// the program ended it (failed, with its text).
struct Fleet_port_end {
  Link_status status = Link_status::ok;
  std::string failure;
};
Fleet_port_end run_fleet_port(const std::string& port_name, Link_session& session,
                              Transfer_view& view, const Fleet_job& job, Fleet_observer& observer);

}  // namespace tirna
