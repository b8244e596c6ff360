// Exact-match lookups through the pass's column indexes, criteria taken
// where they were kept and whole columns read from the pass's lists give
// what the plain readings give: two workbooks given the same random tables,
// lookups, criteria and edits, one with the indexes, the kept criteria and
// the column lists off, hold the same bytes in every cell after every
// recalculation.

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"
#include "numerics/numeric_function_table.h"
#include "test_seed.h"
#include "tests/numerics/twin_book_cells.h"

namespace {

// Tables as long as the indexes take, their cells in the first rows.
constexpr uint32_t kTableRows = 24;
constexpr uint32_t kRangeRows = 64;
constexpr uint32_t kLookupRows = 30;

class IndexedAndPlain : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    InstallFunctionLibrary();
    for (CWorkBook* book : {&indexed, &plain}) {
      ASSERT_TRUE(book->NewDocument());
      CWorkSheet* second = NewWorksheet("Worksheet2", 1);
      ASSERT_NE(second, nullptr);
      book->InsertItems(second, nullptr);
    }
    plain.evaluator.lookupIndexes.SetEnabled(false);
    plain.evaluator.columnCells.SetEnabled(false);
    plain.evaluator.handlerCaches.SetEnabled(false);
  }
  void TearDown() override { ResetGlobalOptions(); }

  static CWorkSheet* Sheet(CWorkBook& book, int index) {
    return index == 0 ? book.activeWorksheet : CWorkSheet::FromItem(book.activeWorksheet->next);
  }

  void TypeBoth(int sheet, uint16_t column, uint32_t row, const std::string& text) {
    for (CWorkBook* book : {&indexed, &plain}) TypeValue(*book, Sheet(*book, sheet)->cells, column, row, text.c_str());
  }

  CWorkBook indexed;
  CWorkBook plain;
};

// Table values in columns A to C of both worksheets: numbers with repeats
// (both zeros), texts differing in letter case, texts that spell numbers or
// hold wildcards, errors, now and then a formula or an array that spills
// into the table.
std::string TableValue(std::mt19937& random) {
  const auto pick = [&](uint32_t count) { return std::uniform_int_distribution<uint32_t>(0, count - 1)(random); };
  static const char* const kValues[] = {"1", "2", "-0", "0", "2.5", "apple", "APPLE", "Pear", "'7", "a*",
                                        "#N/A", "x~y", "3"};
  static const char* const kFormulas[] = {"=1+1", "=\"pear\"", "={1;2;\"apple\"}"};
  if (pick(100) == 0)
    return kFormulas[pick(3)];
  return kValues[pick(sizeof kValues / sizeof *kValues)];
}

// A lookup, its key a literal or a cell of column D, or a criterion over a
// column, on this worksheet's table or the other's.
std::string Lookup(std::mt19937& random) {
  const auto pick = [&](uint32_t count) { return std::uniform_int_distribution<uint32_t>(0, count - 1)(random); };
  static const char* const kKeys[] = {"1", "2", "0", "-0", "\"apple\"", "\"Pear\"", "\"7\"", "7", "\"a*\"",
                                      "\"x~y\"", "D1", "D2", "D3", "\"3\"", "3"};
  const std::string key = kKeys[pick(sizeof kKeys / sizeof *kKeys)];
  const std::string sheet = pick(4) == 0 ? "Worksheet2!" : "";
  const std::string last = std::to_string(kRangeRows);
  static const char* const kCriteria[] = {"\"apple\"", "\">1\"", "\"<>pear\"", "\"a*\"", "\"=2\"", "\">=apple\"",
                                          "2", "D1"};
  const std::string criterion = kCriteria[pick(sizeof kCriteria / sizeof *kCriteria)];
  switch (pick(13)) {
    case 0: return "=VLOOKUP(" + key + "," + sheet + "$A$1:$C$" + last + ",3,0)";
    case 1: return "=MATCH(" + key + "," + sheet + "$B$1:$B$" + last + ",0)";
    case 2: return "=LOOKUP(" + key + "," + sheet + "$A$1:$A$" + last + "," + sheet + "$C$1:$C$" + last + ")";
    case 3: return "=INDEX(" + sheet + "$C$1:$C$" + last + ",MATCH(" + key + "," + sheet + "$A$1:$A$" + last + ",0),1)";
    case 4: return "=MATCH(" + key + "," + sheet + "$A:$A,0)";
    case 5: return "=COUNTIF(" + sheet + "$A$1:$A$" + last + "," + criterion + ")";
    // Whole columns, which the pass lists once for all their readers.
    case 6: return "=COUNTIF(" + sheet + "$A:$A," + criterion + ")";
    case 7: return "=SUMIF(" + sheet + "$A:$A," + criterion + "," + sheet + "$C:$C)";
    case 8: return "=SUMIF(" + sheet + "$C:$C," + criterion + ")";
    case 9: return "=SUM(" + sheet + "$C:$C)+MAX(" + sheet + "$A:$A)-MIN(" + sheet + "$A:$A)";
    case 10: return "=COUNTA(" + sheet + "$B:$B)+COUNT(" + sheet + "$C:$C)";
    case 11: return "=MATCH(" + key + "," + sheet + "$A:$A,1)";
    default: return "=SUMIF(" + sheet + "$A$1:$A$" + last + "," + criterion + "," + sheet + "$C$1:$C$" + last + ")";
  }
}

TEST_F(IndexedAndPlain, LookupsAndCriteriaGiveWhatThePlainReadingsGiveOverRandomTablesAndEdits) {
  const uint32_t seed = TestSeed(731);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const auto pick = [&](uint32_t count) { return std::uniform_int_distribution<uint32_t>(0, count - 1)(random); };
  for (int sheet : {0, 1})
    for (uint32_t row = 0; row < kTableRows; ++row)
      for (uint16_t column = 0; column < 3; ++column)
        if (pick(6) != 0)
          TypeBoth(sheet, column, row, TableValue(random));
  for (uint32_t row = 0; row < 3; ++row) TypeBoth(0, 3, row, TableValue(random));
  for (uint32_t row = 0; row < kLookupRows; ++row)
    for (uint16_t column = 5; column < 9; ++column) TypeBoth(0, column, row, Lookup(random));
  if (::testing::Test::HasFatalFailure()) return;

  for (int step = 0; step < 120; ++step) {
    const uint32_t action = pick(10);
    if (action < 5) {
      TypeBoth(int(pick(2)), uint16_t(pick(4)), pick(kTableRows), TableValue(random));
    } else if (action < 7) {
      TypeBoth(0, uint16_t(5 + pick(4)), pick(kLookupRows), Lookup(random));
    } else if (action == 7) {
      const uint32_t row = pick(kTableRows);
      const bool insert = pick(2) == 0;
      for (CWorkBook* book : {&indexed, &plain}) {
        CWorkSheet* sheet = Sheet(*book, 0);
        const bool done = insert ? book->InsertRows(sheet, row, row) : book->DeleteRows(sheet, row, row);
        (void)done;  // refused the same way in both
      }
    } else if (action == 8) {
      for (CWorkBook* book : {&indexed, &plain}) book->UndoStep();
    } else {
      for (CWorkBook* book : {&indexed, &plain}) book->RedoStep();
    }
    if (::testing::Test::HasFatalFailure()) return;
    const bool indexedOk = indexed.Recalculate(nullptr);
    ASSERT_EQ(indexedOk, plain.Recalculate(nullptr)) << "step " << step;
    // Now and then a second pass of the indexed book, which must change
    // nothing: the first pass after an edit gave the current values.
    for (int pass = 0; pass < (step % 4 == 0 ? 2 : 1); ++pass) {
      if (pass == 1) {
        ASSERT_EQ(indexed.Recalculate(nullptr), indexedOk) << "step " << step;
      }
      for (int sheet : {0, 1}) {
        const std::string what = "step " + std::to_string(step) + ", sheet " + std::to_string(sheet) + ", pass " +
                                 std::to_string(pass + 1);
        ExpectSameCells(Sheet(indexed, sheet)->cells, Sheet(plain, sheet)->cells, what.c_str());
        if (::testing::Test::HasFatalFailure()) return;
      }
    }
  }
  // Else the comparison says nothing.
  EXPECT_GT(indexed.evaluator.lookupIndexes.BuildCount(), 50u);
  EXPECT_EQ(plain.evaluator.lookupIndexes.BuildCount(), 0u);
  EXPECT_GT(indexed.evaluator.columnCells.BuildCount(), 50u);
  EXPECT_EQ(plain.evaluator.columnCells.BuildCount(), 0u);
}

}  // namespace
