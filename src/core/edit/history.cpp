#include "core/edit/history.h"

namespace tirna {

bool Edit_history::same_content(const Workspace& a, const Workspace& b) {
  return a.image == b.image && a.file_name == b.file_name &&
         a.state.coding_version == b.state.coding_version &&
         a.state.band_index == b.state.band_index && a.state.limits == b.state.limits;
}

void Edit_history::record(const Workspace& before, const Workspace& after) {
  if (same_content(before, after)) return;
  undo_.push_back(before);
  redo_.clear();
  // Marks at a position that redo could have reached are gone with it.
  if (saved_at_ && *saved_at_ >= undo_.size()) saved_at_.reset();
  if (written_at_ && *written_at_ >= undo_.size()) written_at_.reset();
  if (undo_.size() > limit_) {
    undo_.erase(undo_.begin());
    for (auto* mark : {&saved_at_, &written_at_}) {
      if (!*mark) continue;
      if (**mark == 0) {
        mark->reset();
      } else {
        --**mark;
      }
    }
  }
}

Workspace Edit_history::restored(Workspace snapshot) const {
  // A state other than the saved one no longer matches the file, whatever its flag said then.
  if (saved_at_ && *saved_at_ != undo_.size()) snapshot.state.modified = true;
  return snapshot;
}

Workspace Edit_history::undo(const Workspace& current) {
  redo_.push_back(current);
  Workspace back = undo_.back();
  undo_.pop_back();
  return restored(std::move(back));
}

Workspace Edit_history::redo(const Workspace& current) {
  undo_.push_back(current);
  Workspace forward = redo_.back();
  redo_.pop_back();
  return restored(std::move(forward));
}

void Edit_history::mark_saved() {
  saved_at_ = undo_.size();
}

void Edit_history::mark_written() {
  written_at_ = undo_.size();
}

}  // namespace tirna
