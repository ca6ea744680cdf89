#pragma once
// The undo history of the window: whole snapshots of the workspace (image, working state with its
// modified flag, file name; 1.5 KB each) taken before every change of the image, at most `limit`
// steps back. A change that changed nothing but the modified flag is no step.
//
// Undo sets the modified flag as it was at that step, except that a step older than the last save
// no longer matches the file and is always modified. A write to the radio changes nothing that
// undo could give back; it marks the point where the image is what the radio holds, and the
// window asks before an undo goes back past it.

#include <cstddef>
#include <optional>
#include <vector>

#include "core/image/workspace.h"

namespace tirna {

class Edit_history {
 public:
  explicit Edit_history(std::size_t limit = 200) : limit_(limit) {}

  // A change from before to after. Clears what could be redone.
  void record(const Workspace& before, const Workspace& after);
  bool can_undo() const { return !undo_.empty(); }
  bool can_redo() const { return !redo_.empty(); }
  // The workspace the last step started from; current is kept for redo. Only when can_undo().
  Workspace undo(const Workspace& current);
  // The workspace the last undo left; current is kept for undo. Only when can_redo().
  Workspace redo(const Workspace& current);

  // current was saved to its file / written to the radio.
  void mark_saved();
  void mark_written();
  // The next undo goes back before the last write to the radio.
  bool undo_passes_write() const { return written_at_ && *written_at_ == undo_.size(); }

 private:
  static bool same_content(const Workspace& a, const Workspace& b);
  Workspace restored(Workspace snapshot) const;

  std::size_t limit_;
  std::vector<Workspace> undo_;  // oldest first
  std::vector<Workspace> redo_;  // latest undone last
  // Positions (the number of steps that can be undone) of the last save and the last write.
  std::optional<std::size_t> saved_at_, written_at_;
};

}  // namespace tirna
