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

// Entries listed from two stores in turn share each store's place; once
// records of one store moved, its entries' cells are found again where
// they now stand, the other store's still read where they were listed, and
// a cell listed after the move takes a place of its own. A cell of the last
// row and column is found too.
TEST(GatheredPlaces, CellsAreFoundAgainOnceTheirRecordsMoved) {
  CellStore first;
  CellStore second;
  for (uint32_t row = 1; row <= 3; ++row) {
    PutFormula(first, 0, row, "=1", 0, nullptr, 0, false);
    PutFormula(second, 0, row, "=2", 0, nullptr, 0, false);
  }
  PendingGather gather;
  gather.SetActive(true);
  gather.Reset();
  gather.NoteFirst(&first, first.GetCell(1, 0));
  gather.NoteFurther(&second, second.GetCell(1, 0));
  for (uint32_t row = 2; row <= 3; ++row) {
    gather.NoteFurther(&first, first.GetCell(row, 0));
    gather.NoteFurther(&second, second.GetCell(row, 0));
  }
  ASSERT_EQ(gather.End(), 6u);
  const PendingGather::Entry* entries = gather.Entries();
  EXPECT_EQ(entries[0].Place(), entries[2].Place());
  EXPECT_EQ(entries[1].Place(), entries[5].Place());
  EXPECT_NE(entries[0].Place(), entries[1].Place());

  const uint64_t changes = first.ChainChanges();
  const CellRecord* before = first.GetCell(3, 0);
  PutText(first, 0, 0, std::string(300, 'x'));
  ASSERT_NE(first.ChainChanges(), changes);
  for (uint32_t at = 0; at < 6; ++at) {
    CellStore& store = at % 2 ? second : first;
    EXPECT_EQ(gather.StoreOf(entries[at]), &store) << at;
    EXPECT_EQ(gather.RecordOf(entries[at]), store.GetCell(entries[at].Row(), 0)) << at;
  }
  EXPECT_NE(first.GetCell(3, 0), before);

  PutFormula(first, 2046, kMaxRow, "=3", 0, nullptr, 0, false);
  gather.NoteFurther(&first, first.GetCell(kMaxRow, 2046));
  entries = gather.Entries();
  ASSERT_EQ(gather.End(), 7u);
  EXPECT_NE(entries[6].Place(), entries[0].Place());
  EXPECT_EQ(entries[6].Row(), kMaxRow);
  EXPECT_EQ(entries[6].Column(), 2046);
  EXPECT_EQ(gather.RecordOf(entries[6]), first.GetCell(kMaxRow, 2046));
  gather.Unmark(0, gather.End());
  gather.SetActive(false);
}

// A budget's numbers stand apart from the entries: a partner given to an
// entry listed before the last is read back for it alone, fixed sizes are
// read at every entry after the one that noted them, and an evaluation
// listing above a base keeps the numbers below it and none of its own
// earlier listing's.
TEST(GatheredPlaces, ABudgetsNumbersAreReadBackForTheirEntries) {
  CellStore store;
  for (uint32_t row = 0; row < 8; ++row) PutFormula(store, 0, row, "=1", 0, nullptr, 0, false);
  PendingGather gather;
  gather.SetActive(true);
  gather.Reset();
  {
    PendingGather::WalkScope walk(gather, PendingGather::kTameValue);
    gather.StartBudget();
    gather.AddStartOfTerms(5);
    gather.NoteFirst(&store, store.GetCell(0, 0));
    for (uint32_t row = 1; row < 4; ++row) gather.NoteFurther(&store, store.GetCell(row, 0));
    gather.AddTerm(-2);
    gather.NoteFurther(&store, store.GetCell(4, 0));
    EXPECT_TRUE(gather.SetTermAt(3, store.GetCell(3, 0), PendingGather::kTermBeside, 30));
    EXPECT_TRUE(gather.SetTermAt(1, store.GetCell(1, 0), PendingGather::kTermBeside, 10));
    EXPECT_TRUE(gather.SetTermAt(4, store.GetCell(4, 0), PendingGather::kTermBeside, 40));
    EXPECT_TRUE(gather.SetTermAt(1, store.GetCell(1, 0), PendingGather::kTermBeside, 11));
  }
  ASSERT_EQ(gather.End(), 5u);
  const double partners[5] = {0, 11, 0, 30, 40};
  const double fixed[5] = {5, 5, 5, 5, 7};
  for (uint32_t at = 0; at < 5; ++at) {
    EXPECT_EQ(gather.PartnerAt(at), partners[at]) << at;
    EXPECT_EQ(gather.FixedBeforeAt(at), fixed[at]) << at;
    EXPECT_EQ(gather.Entries()[at].Role(), partners[at] != 0 ? PendingGather::kTermBeside : PendingGather::kTermNone);
  }
  // Read out of order, as two formulas' lists may be.
  EXPECT_EQ(gather.PartnerAt(4), 40);
  EXPECT_EQ(gather.PartnerAt(1), 11);
  EXPECT_EQ(gather.FixedBeforeAt(4), 7);
  EXPECT_EQ(gather.FixedBeforeAt(0), 5);

  // A formula waiting above the first three entries lists anew.
  gather.Unmark(3, 5);
  gather.SetBase(3);
  gather.Reset();
  {
    PendingGather::WalkScope walk(gather, PendingGather::kTameValue);
    gather.StartBudget();
    gather.NoteFirst(&store, store.GetCell(5, 0));
    gather.NoteFurther(&store, store.GetCell(6, 0));
    EXPECT_TRUE(gather.SetTermAt(4, store.GetCell(6, 0), PendingGather::kTermBeside, 60));
  }
  ASSERT_EQ(gather.End(), 5u);
  EXPECT_EQ(gather.PartnerAt(1), 11);
  EXPECT_EQ(gather.PartnerAt(3), 0);
  EXPECT_EQ(gather.PartnerAt(4), 60);
  EXPECT_EQ(gather.FixedBeforeAt(2), 5);
  EXPECT_EQ(gather.FixedBeforeAt(3), 0);
  EXPECT_EQ(gather.FixedBeforeAt(4), 0);
  gather.Unmark(0, gather.End());
  gather.SetBase(0);
  gather.SetActive(false);
}

}  // namespace
