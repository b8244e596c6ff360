// The column indexes of exact-match lookups: which rows a key's hash names,
// and when an index may not serve.

#include "core/formula/lookup_indexes.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "core/base/error_code.h"
#include "core/cells/cell_store.h"
#include "tests/core/eval_test_cells.h"

namespace {

// The candidate rows of the hash in column A, rows 1 to 100; "none" when no
// index serves.
std::string Rows(LookupIndexes& indexes, CellStore& store, uint64_t hash) {
  const LookupIndexes::Entry* first = nullptr;
  const LookupIndexes::Entry* last = nullptr;
  if (!indexes.Candidates(&store, 0, 0, 99, hash, &first, &last))
    return "none";
  std::string rows;
  for (; first != last; ++first) rows += std::to_string(first->row) + " ";
  return rows;
}

TEST(LookupIndexes, KeysNameTheirRowsInOrderLetterCaseAndZeroSignAside) {
  CellStore store;
  PutNumber(store, 0, 0, 7);
  PutText(store, 0, 1, "Apple");
  PutNumber(store, 0, 2, -0.0);
  PutText(store, 0, 3, "aPPLE");
  PutNumber(store, 0, 4, 7, kErrorNA);  // carries an error: never found
  PutNumber(store, 0, 5, 7);
  PutText(store, 0, 6, "7");  // a text is no number
  PutNumber(store, 1, 7, 7);  // another column
  LookupIndexes indexes;
  indexes.BeginPass();
  // The first lookup of a range searches plainly; the index serves from the second.
  EXPECT_EQ(Rows(indexes, store, LookupNumberHash(7)), "none");
  EXPECT_EQ(Rows(indexes, store, LookupNumberHash(7)), "0 5 ");
  EXPECT_EQ(Rows(indexes, store, LookupTextHash("APPLE", 5)), "1 3 ");
  EXPECT_EQ(Rows(indexes, store, LookupNumberHash(0.0)), "2 ");
  EXPECT_EQ(Rows(indexes, store, LookupTextHash("7", 1)), "6 ");
  EXPECT_EQ(Rows(indexes, store, LookupTextHash("pear", 4)), "");
  EXPECT_EQ(indexes.BuildCount(), 1u);
  // A record inserted into the store is seen: the index is built again.
  PutNumber(store, 0, 9, 7);
  EXPECT_EQ(Rows(indexes, store, LookupNumberHash(7)), "0 5 9 ");
  EXPECT_EQ(indexes.BuildCount(), 2u);
  // After the pass nothing serves; the next pass starts afresh.
  indexes.EndPass();
  EXPECT_EQ(Rows(indexes, store, LookupNumberHash(7)), "none");
  indexes.BeginPass();
  EXPECT_EQ(Rows(indexes, store, LookupNumberHash(7)), "none");
  EXPECT_EQ(Rows(indexes, store, LookupNumberHash(7)), "0 5 9 ");
  indexes.SetEnabled(false);
  EXPECT_EQ(Rows(indexes, store, LookupNumberHash(7)), "none");
}

// Values a pass may change, a number no cell should hold and a store that
// keeps changing leave the range to the plain search.
TEST(LookupIndexes, RangesThePlainSearchMustWalk) {
  for (int kind = 0; kind < 3; ++kind) {
    CellStore store;
    PutNumber(store, 0, 0, 1);
    if (kind == 0)
      PutFormula(store, 0, 3, "=1+1", 2, nullptr, 0, true);
    if (kind == 1)
      PutNumber(store, 0, 3, std::numeric_limits<double>::infinity());
    LookupIndexes indexes;
    indexes.BeginPass();
    if (kind == 2) {
      for (uint32_t build = 0; build < LookupIndexes::kMaxBuilds; ++build) {
        Rows(indexes, store, LookupNumberHash(1));
        EXPECT_EQ(Rows(indexes, store, LookupNumberHash(1)), "0 ") << build;
        PutNumber(store, 0, 10 + build, 2);
      }
    } else {
      Rows(indexes, store, LookupNumberHash(1));
    }
    EXPECT_EQ(Rows(indexes, store, LookupNumberHash(1)), "none") << kind;
  }
}

// Ranges looked up once each give their places to new ones: a table looked
// up among many such ranges is still indexed.
TEST(LookupIndexes, RangesLookedUpOnceNeverKeepATableFromItsIndex) {
  CellStore store;
  PutNumber(store, 0, 0, 1);
  LookupIndexes indexes;
  indexes.BeginPass();
  const LookupIndexes::Entry* first = nullptr;
  const LookupIndexes::Entry* last = nullptr;
  for (uint32_t row = 1; row <= 3 * LookupIndexes::kMaxIndexes; ++row) {
    indexes.Candidates(&store, 1, row, row + 99, LookupNumberHash(1), &first, &last);
    if (row % 2 == 0)
      indexes.Candidates(&store, 0, 0, 99, LookupNumberHash(1), &first, &last);
  }
  EXPECT_EQ(Rows(indexes, store, LookupNumberHash(1)), "0 ");
  // A short range is searched plainly.
  for (int i = 0; i < 3; ++i)
    EXPECT_FALSE(indexes.Candidates(&store, 0, 0, LookupIndexes::kMinRows - 2, LookupNumberHash(1), &first, &last));
}

// The candidates read as cells are the indexed rows' records; a store
// changed while they are read is caught in debug builds.
TEST(LookupIndexes, CandidateCellsAreTheRecordsOfTheCandidateRows) {
  CellStore store;
  for (uint32_t row = 0; row < 100; ++row) PutNumber(store, 0, row, row % 3);
  LookupIndexes indexes;
  indexes.BeginPass();
  LookupIndexes::CandidateCells cells;
  EXPECT_FALSE(indexes.Candidates(&store, 0, 0, 99, LookupNumberHash(2), &cells));
  ASSERT_TRUE(indexes.Candidates(&store, 0, 0, 99, LookupNumberHash(2), &cells));
  uint32_t found = 0;
  while (const CellRecord* cell = cells.Next()) {
    EXPECT_EQ(cell, store.GetCell(2 + 3 * found, 0));
    EXPECT_EQ(RecordAtPosition(cells.Place()), cell);
    ++found;
  }
  EXPECT_EQ(found, 33u);
#ifndef NDEBUG
  ASSERT_TRUE(indexes.Candidates(&store, 0, 0, 99, LookupNumberHash(2), &cells));
  ASSERT_NE(cells.Next(), nullptr);
  PutNumber(store, 1, 0, 5);
  EXPECT_DEATH(cells.Next(), "changed while its lookup index was read");
#endif
}

}  // namespace
