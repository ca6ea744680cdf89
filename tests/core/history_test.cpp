#include <gtest/gtest.h>

#include "core/edit/history.h"
#include "core/image/frequency.h"

namespace tirna {
namespace {

Workspace step(Workspace ws, int n) {
  store_frequency(ws.image, 1, Side::rx, 150000000 + 25000 * n, ws.state.coding_version);
  ws.state.modified = true;
  return ws;
}

// Undo walks back through every step to the first, redo forward again; the modified flag is as it
// was at each step, except that a step before the last save no longer matches the file.
TEST(EditHistory, UndoAndRedoWalkTheStepsWithTheirModifiedFlags) {
  Edit_history history;
  std::vector<Workspace> states{start_up_workspace()};
  for (int n = 1; n <= 5; ++n) {
    states.push_back(step(states.back(), n));
    history.record(states[n - 1], states[n]);
  }
  Workspace now = states.back();
  for (int n = 4; n >= 0; --n) {
    ASSERT_TRUE(history.can_undo());
    now = history.undo(now);
    EXPECT_EQ(now.image, states[n].image);
    EXPECT_EQ(now.state.modified, states[n].state.modified) << n;
  }
  EXPECT_FALSE(history.can_undo());
  for (int n = 1; n <= 5; ++n) now = history.redo(now);
  EXPECT_EQ(now.image, states.back().image);
  EXPECT_FALSE(history.can_redo());

  // Saved at step 5: going back from there is modified, coming back to it is as saved.
  now.state.modified = false;
  history.mark_saved();
  now = history.undo(now);
  EXPECT_TRUE(now.state.modified);
  now = history.redo(now);
  EXPECT_FALSE(now.state.modified);

  // A change of nothing but the flag is no step; a new step clears the redo.
  Workspace flagged = now;
  flagged.state.modified = true;
  history.record(now, flagged);
  now = history.undo(flagged);
  EXPECT_EQ(now.image, states[4].image);
  history.record(now, step(now, 9));
  EXPECT_FALSE(history.can_redo());
}

TEST(EditHistory, AWriteMarksWhereUndoLeavesWhatTheRadioHolds) {
  Edit_history history;
  Workspace a = start_up_workspace();
  Workspace b = step(a, 1), c = step(b, 2);
  history.record(a, b);
  history.mark_written();  // b was written
  history.record(b, c);
  EXPECT_FALSE(history.undo_passes_write());
  Workspace now = history.undo(c);
  EXPECT_TRUE(history.undo_passes_write());  // undoing once more goes back before the write
  now = history.undo(now);
  EXPECT_FALSE(history.undo_passes_write());
  EXPECT_EQ(now.image, a.image);
}

TEST(EditHistory, KeepsItsLimitOfSteps) {
  Edit_history history(100);
  Workspace now = start_up_workspace();
  const Workspace first = now;
  for (int n = 1; n <= 150; ++n) {
    const Workspace next = step(now, n);
    history.record(now, next);
    now = next;
  }
  int steps = 0;
  while (history.can_undo()) {
    now = history.undo(now);
    ++steps;
  }
  EXPECT_EQ(steps, 100);
  EXPECT_NE(now.image, first.image);  // the oldest 50 steps are gone
}

}  // namespace
}  // namespace tirna
