#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/base/error_code.h"
#include "core/workbook/workbook.h"
#include "tests/core/recalc_test_book.h"

namespace {

class ArraySpill : public RecalcTestBook {
 protected:
  void PutValue(const char* name, double value, bool spill) {
    PutNumber(*first, ColumnOf(name), RowOf(name), value, spill ? kCellSpillValue : 0);
  }
  bool IsSpill(const char* name) {
    const CellRecord* cell = Cell(*first, ColumnOf(name), RowOf(name));
    return cell && cell->IsSpillValue();
  }
  void ExpectShown(const std::vector<std::pair<const char*, const char*>>& shown) {
    for (const auto& s : shown) EXPECT_EQ(Shown(s.first), s.second) << s.first;
  }
};

// However an array formula came to stand where it is, one pass gives the
// formulas that read its result before it in storage order, by a cell or a
// range, the values it spills now.
TEST_F(ArraySpill, OnePassGivesReadersTheCurrentResult) {
  enum Way { kTyped, kEditedInPlace, kTypedThenUndone, kTypedUndoneThenRedone };
  struct Case {
    const char* name;
    const char* before;  // K2 as calculated before the change; null: empty
    const char* k2;
    Way way;
    const char* k3;     // what J1 (=K3), J2 (=K3:K4*10, spilling) and
    const char* range;  // I1 (=K4) show
    const char* k4;
  };
  const Case cases[] = {
      {"typed where nothing was", nullptr, "={7;8}", kTyped, "8", "80", "0"},
      {"typed again", "={1;2}", "={7;8}", kTyped, "8", "80", "0"},
      {"typed again larger", "={1;2}", "={7;8;9}", kTyped, "8", "80", "9"},
      {"a value made an array formula", "5", "={7;8}", kTyped, "8", "80", "0"},
      {"edited in place", "={1;2}", "={7;8}", kEditedInPlace, "8", "80", "0"},
      {"undone", "={7;8}", "=1", kTypedThenUndone, "8", "80", "0"},
      {"redone", "=1", "={7;8;9}", kTypedUndoneThenRedone, "8", "80", "9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    first->DeleteRange(0, kMaxColumn, 0, kMaxRow, nullptr, true);
    SetFormula("J1", "=K3");
    SetFormula("J2", "=K3:K4*10");
    SetFormula("I1", "=K4");
    if (c.before) {
      Type("K2", c.before);
      ASSERT_TRUE(Recalculate(nullptr));
    }
    if (c.way == kEditedInPlace)
      SetFormula("K2", c.k2);
    else
      Type("K2", c.k2);
    if (c.way == kTypedThenUndone || c.way == kTypedUndoneThenRedone) {
      ASSERT_TRUE(Recalculate(nullptr));
      ASSERT_TRUE(book.UndoStep());
    }
    if (c.way == kTypedUndoneThenRedone) {
      ASSERT_TRUE(Recalculate(nullptr));
      ASSERT_TRUE(book.RedoStep());
    }
    ASSERT_TRUE(Recalculate(nullptr));
    EXPECT_EQ(Shown("J1"), c.k3);
    EXPECT_EQ(Shown("J2"), c.range);
    EXPECT_EQ(Shown("I1"), c.k4);
    ExpectAllCalculated(*first);
  }
}

TEST_F(ArraySpill, WritesTheResultBesideAndBelowItsFormula) {
  SetFormula("A1", "={1,2;3,\"x\"}");
  ASSERT_TRUE(Recalculate(nullptr));
  ExpectShown({{"A1", "1"}, {"B1", "2"}, {"A2", "3"}, {"B2", "x"}, {"C1", "-"}, {"A3", "-"}});
  const CellRecord* formula = Cell(*first, 0, 0);
  EXPECT_TRUE(formula->ResultFlags() & kResultArray);
  EXPECT_EQ(formula->ArrayColumns(), 2);
  EXPECT_EQ(formula->ArrayRows(), 2u);
  EXPECT_TRUE(IsSpill("B1") && IsSpill("A2") && IsSpill("B2"));
  // A second pass finds its own spill values and writes them again.
  ASSERT_TRUE(Recalculate(nullptr));
  ExpectShown({{"A1", "1"}, {"B2", "x"}});
  ExpectAllCalculated(*first);
}

// A result that spills numbers over its former extent again is written over
// the old values, which keep their places; any other change of the result's
// cells rebuilds them.
TEST_F(ArraySpill, ANewResultOfTheSameShapeReplacesTheFormerValues) {
  struct Case {
    const char* formula;  // in A1, over C1
    const char* before;   // C1 in the first pass, then in the second
    const char* after;
    std::vector<std::pair<const char*, const char*>> shown;
    bool inPlace;
  };
  const Case cases[] = {
      {"={1,2;3,4}*C1", "2", "5", {{"A1", "5"}, {"B1", "10"}, {"A2", "15"}, {"B2", "20"}}, true},
      {"={1,2;3,4}*C1", "2", "x", {{"A1", "#NUM!"}, {"B1", "#NUM!"}, {"A2", "#NUM!"}, {"B2", "#NUM!"}}, true},
      {"={1,2;3,4}/C1", "1", "0", {{"A1", "#DIV/0!"}, {"B2", "#DIV/0!"}}, true},
      {"=C1&{1,2;3,4}", "2", "x", {{"A1", "x1"}, {"B1", "x2"}, {"A2", "x3"}, {"B2", "x4"}}, false},
      {"={1,2;3,4}*C1", "2", "", {{"A1", "0"}, {"B2", "0"}, {"C2", "-"}}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.formula) + " over " + c.after);
    first->Clear(true);
    Type("C1", c.before);
    SetFormula("A1", c.formula);
    ASSERT_TRUE(Recalculate(nullptr));
    EXPECT_TRUE(IsSpill("B1") && IsSpill("A2") && IsSpill("B2"));
    if (*c.after)
      Type("C1", c.after);
    else
      first->DeleteRange(2, 2, 0, 0, nullptr, true);
    const uint64_t changes = first->ChainChanges();
    ASSERT_TRUE(Recalculate(nullptr));
    ExpectShown(c.shown);
    EXPECT_TRUE(IsSpill("B1") && IsSpill("A2") && IsSpill("B2"));
    EXPECT_EQ(first->ChainChanges() == changes, c.inPlace);
    ExpectAllCalculated(*first);
  }
}

TEST_F(ArraySpill, FormulasReadingTheResultSeeItsValues) {
  SetFormula("A1", "=B3+A2");
  SetFormula("A2", "={10;20}");
  ASSERT_TRUE(Recalculate(nullptr));
  EXPECT_EQ(Shown("A3"), "20");
  EXPECT_EQ(Shown("A1"), "10");  // B3 is empty
}

// A value an array formula spilled is as fresh as that formula: a reader
// earlier in storage order (here or on another worksheet) waits for it.
TEST_F(ArraySpill, ReadersOfAResultWaitForItsFormula) {
  SetFormula("J1", "=K3");
  SetFormula("K2", "={7;8}");
  SetFormula(second->cells, 0, 0, "=Worksheet1!K3*10");
  ASSERT_TRUE(Recalculate(nullptr));
  EXPECT_EQ(Shown("J1"), "8");
  SetFormula("K2", "={7;9}");
  ASSERT_TRUE(Recalculate(nullptr));
  EXPECT_EQ(Shown("K3"), "9");
  EXPECT_EQ(Shown("J1"), "9");
  EXPECT_EQ(Shown(second->cells, 0, 0), "90");
  ExpectAllCalculated(*first);
  // Reading its own result closes a cycle.
  SetFormula("K2", "={7;9}+J1");
  ASSERT_TRUE(Recalculate(nullptr));
  EXPECT_EQ(Shown("J1"), "#CIRC!");
  ExpectAllCalculated(*first);
}

TEST_F(ArraySpill, BlockedOrOffTheGridResultsWriteNothing) {
  struct Case {
    const char* name;
    const char* blocker;  // a typed value, or null
    uint16_t column;
    const char* formula;
    const char* error;
  };
  const Case cases[] = {
      {"typed value in the way", "B2", 0, "={1,2;3,4}", "#FILL!"},
      {"past the last column", nullptr, 2046, "={1,2}", "#REF!"},
      {"error result", nullptr, 0, "={1,2}+{1;2;3}", "#VALUE!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    first->Clear(true);
    if (c.blocker) PutValue(c.blocker, 9, false);
    SetFormula(*first, c.column, 0, c.formula);
    ASSERT_TRUE(Recalculate(nullptr));
    EXPECT_EQ(Shown(*first, c.column, 0), c.error);
    uint16_t columns[2];
    uint32_t rows[2];
    ASSERT_TRUE(first->GetUsedRange(&columns[0], &columns[1], &rows[0], &rows[1]));
    EXPECT_EQ(rows[1], c.blocker ? 1u : 0u);  // nothing spilled below
    if (c.blocker) {
      EXPECT_EQ(Shown(c.blocker), "9");
    }
  }
}

TEST_F(ArraySpill, ShrinkingOrBecomingSingleRemovesTheFormerResult) {
  SetFormula("A1", "={1,2,3;4,5,6;7,8,9}");
  ASSERT_TRUE(Recalculate(nullptr));
  EXPECT_EQ(Shown("C3"), "9");
  SetFormula("A1", "={1,2;3,4}");
  ASSERT_TRUE(Recalculate(nullptr));
  ExpectShown({{"B2", "4"}, {"C1", "-"}, {"C3", "-"}, {"A3", "-"}});
  EXPECT_EQ(Cell(*first, 0, 0)->ArrayColumns(), 2);
  SetFormula("A1", "=42");
  ASSERT_TRUE(Recalculate(nullptr));
  ExpectShown({{"A1", "42"}, {"B1", "-"}, {"A2", "-"}, {"B2", "-"}});
  EXPECT_FALSE(Cell(*first, 0, 0)->ResultFlags() & kResultArray);
  SetFormula("A1", "={\"a\",\"b\"}");
  ASSERT_TRUE(Recalculate(nullptr));
  SetFormula("A1", "=\"text\"");
  ASSERT_TRUE(Recalculate(nullptr));
  ExpectShown({{"A1", "text"}, {"B1", "-"}});
  ExpectAllCalculated(*first);
}

// B1 spills over B1:B4 before A3 (later in storage order) tries A3:B4: the
// values of B1's result must not be taken over.
TEST_F(ArraySpill, AnotherFormulasResultBlocksTheSpill) {
  SetFormula("A3", "={1,2;3,4}");
  SetFormula("B1", "={10;20;30;40}");
  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass);
    ASSERT_TRUE(Recalculate(nullptr));
    ExpectShown({{"B1", "10"}, {"B2", "20"}, {"B3", "30"}, {"B4", "40"}, {"A3", "#FILL!"}, {"A4", "-"}});
  }
  // Once B1 gives a single value, A3 takes its place.
  SetFormula("B1", "=5");
  ASSERT_TRUE(Recalculate(nullptr));
  ExpectShown({{"B1", "5"}, {"A3", "1"}, {"B3", "2"}, {"A4", "3"}, {"B4", "4"}, {"B2", "-"}});
  ExpectAllCalculated(*first);
}

TEST_F(ArraySpill, SpillValuesOfNoFormulaAndItsOwnOldValuesDoNotBlock) {
  PutValue("B1", 7, true);  // left behind by no live formula
  SetFormula("A1", "={1,2}");
  ASSERT_TRUE(Recalculate(nullptr));
  EXPECT_EQ(Shown("B1"), "2");
  // Blocked, then free again: its own former values never block it.
  SetFormula("A1", "={1,2;3,4}");
  PutValue("A2", 9, false);
  ASSERT_TRUE(Recalculate(nullptr));
  ExpectShown({{"A1", "#FILL!"}, {"A2", "9"}, {"B1", "-"}});
  first->DeleteRange(0, 0, 1, 1, nullptr, true);
  ASSERT_TRUE(Recalculate(nullptr));
  ExpectShown({{"A1", "1"}, {"B1", "2"}, {"A2", "3"}, {"B2", "4"}});
}

// A value typed over part of a result is the user's: removing the result
// keeps it.
TEST_F(ArraySpill, RemovingAResultKeepsValuesTypedIntoIt) {
  SetFormula("A1", "={1,2;3,4}");
  ASSERT_TRUE(Recalculate(nullptr));
  PutValue("B2", 9, false);
  SetFormula("A1", "=5");
  ASSERT_TRUE(Recalculate(nullptr));
  ExpectShown({{"A1", "5"}, {"B1", "-"}, {"A2", "-"}, {"B2", "9"}});
  char message[200] = "";
  EXPECT_TRUE(first->CheckInvariants(message, sizeof message)) << message;
}

TEST_F(ArraySpill, FormulaCellsInTheWayAreNeverOverwritten) {
  SetFormula("B1", "=1");
  SetFormula("A1", "={1,2}");
  ASSERT_TRUE(Recalculate(nullptr));
  ExpectShown({{"A1", "#FILL!"}, {"B1", "1"}});
  EXPECT_TRUE(Cell(*first, 1, 0)->IsFormula());
}

int allocationsLeft = 0;
void* LimitedAllocator(size_t bytes) {
  if (allocationsLeft <= 0) return nullptr;
  --allocationsLeft;
  return std::malloc(bytes);
}

// Whenever the heap runs dry during a large spill, the formula survives
// with "#MEMORY!", the pass reports out of memory, and the next pass with
// memory writes the whole result.
TEST_F(ArraySpill, RunningOutOfMemoryNeverLosesTheFormula) {
  constexpr uint32_t kRows = 3000;
  for (uint32_t row = 0; row < kRows; ++row) PutNumber(second->cells, 0, row, row + 1);
  // A first pass leaves the evaluator's own blocks in its pool, so that
  // the limited passes run short while writing the result.
  SetFormula("B1", "=Worksheet2!A1:A3000*2");
  ASSERT_TRUE(Recalculate(nullptr));
  int failedPasses = 0;
  for (int allowed = 0; allowed < 12; ++allowed) {
    SCOPED_TRACE("allocations allowed: " + std::to_string(allowed));
    SetFormula("B1", "=1");
    ASSERT_TRUE(Recalculate(nullptr));
    first->FreePool();
    SetFormula("B1", "=Worksheet2!A1:A3000*2");
    allocationsLeft = allowed;
    SetStorePageAllocatorForTesting(LimitedAllocator);
    book.error = kWorkbookNoError;
    const bool ok = Recalculate(nullptr);
    SetStorePageAllocatorForTesting(nullptr);
    const CellRecord* formula = Cell(*first, 1, 0);
    ASSERT_NE(formula, nullptr);
    ASSERT_TRUE(formula->IsFormula());
    if (!ok) {
      ++failedPasses;
      EXPECT_EQ(book.error, kWorkbookOutOfMemory);
      EXPECT_EQ(Shown("B1"), "#MEMORY!");
    }
    char message[200] = "";
    EXPECT_TRUE(first->CheckInvariants(message, sizeof message)) << message;
    ASSERT_TRUE(Recalculate(nullptr));
    EXPECT_EQ(Shown("B1"), "2");
    EXPECT_EQ(Shown(*first, 1, kRows - 1), "6000");
  }
  EXPECT_GT(failedPasses, 0);
}

}  // namespace
