#include <gtest/gtest.h>

#include "core/formula/pending_gather.h"
#include "tests/core/eval_test_cells.h"

namespace {

// The flags the gathering gives cells it notes after a first one.
class NotedFlags : public ::testing::Test {
 protected:
  void SetUp() override {
    for (uint32_t row = 0; row < 6; ++row) PutFormula(store, 0, row, "=1", 0, nullptr, 0, false);
    gather.SetActive(true);
    gather.Reset();
    gather.NoteFirst(&store, store.GetCell(0, 0));
  }
  void TearDown() override { gather.SetActive(false); }
  uint8_t NoteAndFlags(uint32_t row) {
    gather.NoteFurther(&store, store.GetCell(row, 0));
    return gather.Entries()[gather.End() - 1].flags;
  }
  CellStore store;
  PendingGather gather;
};

// A handler that returns in the middle of its walks: they are left all the same.
bool ReturnFromInsideWalks(PendingGather& gather, bool early) {
  PendingGather::WalkScope walk(gather, PendingGather::kTameValue);
  PendingGather::WalkScope inner(gather);
  if (early) return false;
  return true;
}

TEST_F(NotedFlags, AWalkIsLeftWithItsScopeAndAResetLeavesEveryWalk) {
  EXPECT_FALSE(ReturnFromInsideWalks(gather, true));
  EXPECT_NE(NoteAndFlags(1) & PendingGather::kOutsideWalk, 0);
  {
    PendingGather::WalkScope walk(gather, PendingGather::kTameValue);
    {
      PendingGather::WalkScope notEntered(gather, PendingGather::kPlainValue, false);
      PendingGather::WalkScope inner(gather, PendingGather::kPlainValue);
    }
    // The outermost walk's flags, still open.
    const uint8_t flags = NoteAndFlags(2);
    EXPECT_EQ(flags & PendingGather::kOutsideWalk, 0);
    EXPECT_NE(flags & PendingGather::kTameValue, 0);
    // The next evaluation starts outside every walk, whatever this one left.
    gather.Reset();
    gather.NoteFirst(&store, store.GetCell(0, 0));
    EXPECT_NE(NoteAndFlags(3) & PendingGather::kOutsideWalk, 0);
  }
  // Leaving a walk the reset had left already opens none, in the evaluation
  // under way and in the next.
  EXPECT_NE(NoteAndFlags(4) & PendingGather::kOutsideWalk, 0);
  gather.Reset();
  gather.NoteFirst(&store, store.GetCell(0, 0));
  EXPECT_NE(NoteAndFlags(5) & PendingGather::kOutsideWalk, 0);
}

// An element-wise call's walk: the reads between its steps are outside it,
// and its next step goes on with the same walk unless broken.
TEST_F(NotedFlags, ASteppedWalkGoesOnAcrossReadsOutsideItUntilBroken) {
  PendingGather::SteppedWalk walk(gather);
  walk.Enter();
  EXPECT_EQ(NoteAndFlags(1) & (PendingGather::kOutsideWalk | PendingGather::kWalkStart), PendingGather::kWalkStart);
  walk.Pause();
  EXPECT_NE(NoteAndFlags(2) & PendingGather::kOutsideWalk, 0);
  walk.Enter();
  EXPECT_EQ(NoteAndFlags(3) & (PendingGather::kOutsideWalk | PendingGather::kWalkStart), 0);
  walk.Pause();
  walk.Break();
  {
    // Another walk between the steps.
    PendingGather::WalkScope other(gather);
  }
  walk.Enter();
  EXPECT_EQ(NoteAndFlags(4) & PendingGather::kWalkStart, PendingGather::kWalkStart);
  walk.Pause();
  {
    // Inside another walk the steps read for that one.
    PendingGather::WalkScope outer(gather, PendingGather::kTameValue);
    walk.Enter();
    EXPECT_NE(NoteAndFlags(5) & PendingGather::kTameValue, 0);
    walk.Pause();
  }
}

}  // namespace
