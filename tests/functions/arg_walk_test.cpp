// The walk of a range argument's cells against a cell-by-cell lookup of the
// same rectangle, over random sparse sheets with and without a row index.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "functions/arg_readers.h"
#include "test_seed.h"
#include "test_random.h"

namespace {

using Rng = TestRng;

// Numbers, texts of any length and formulas with and without cached texts,
// so that records of every size lie between the cells a walk wants.
void PutRandomCell(CellStore& store, Rng& rng, uint32_t row, uint16_t column) {
  uint8_t buffer[2048];
  const std::string text(rng.OneIn(20) ? 300 + rng.Below(1200) : rng.Below(24), 'x');
  uint32_t size = 0;
  switch (rng.Below(3)) {
    case 0:
      size = BuildNumberCell(buffer, sizeof buffer, row, column, row * 0.5 + column);
      break;
    case 1:
      size = BuildTextCell(buffer, sizeof buffer, row, column, text.data(), uint16_t(text.size()));
      break;
    default: {
      FormulaCellFields fields;
      fields.formula = "=B1*2";
      fields.formulaLength = 5;
      if (rng.OneIn(2)) {
        fields.cachedText = text.data();
        fields.cachedTextLength = uint16_t(text.size());
      }
      size = BuildFormulaCell(buffer, sizeof buffer, row, column, fields);
    }
  }
  ASSERT_NE(size, 0u);
  ASSERT_TRUE(store.InsertCell(AsCellRecord(buffer), nullptr));
}

ArgRange RangeOver(CellStore* sheet, CellBlock* chain, uint32_t firstColumn, uint32_t lastColumn, uint32_t firstRow,
                   uint32_t lastRow) {
  ArgRange range{};
  if (sheet)
    range.Over(sheet, firstColumn, firstRow, lastColumn, lastRow);
  else
    range.OverChain(chain, firstColumn, firstRow, lastColumn, lastRow);
  RestartArgRange(range);
  return range;
}

TEST(ArgWalk, RandomRectanglesGiveTheCellsOfACellByCellLookup) {
  const uint32_t seed = TestSeed(20261210);
  SCOPED_TRACE(SeedTrace(seed));
  Rng rng{seed};
  for (int sheetNumber = 0; sheetNumber < 8; ++sheetNumber) {
    SCOPED_TRACE("sheet " + std::to_string(sheetNumber));
    CellStore store;
    // Dense rows of a dozen columns, sparse stretches and empty rows, over
    // three pages.
    const uint32_t rows = 2500 + rng.Below(800);
    for (uint32_t row = 0; row < rows; row += rng.OneIn(6) ? 1 + rng.Below(40) : 1)
      for (uint16_t column = uint16_t(rng.Below(3)); column < 24; column = uint16_t(column + 1 + rng.Below(3)))
        PutRandomCell(store, rng, row, column);
    const bool indexed = sheetNumber % 2 == 0;
    // Half the indexed sheets as a recalculation pass indexes them, with the
    // row position memo.
    if (indexed && sheetNumber % 4 == 2) {
      store.MarkFormulaCellsDirty();
    } else if (indexed) {
      for (uint32_t page = 0; page * kRowsPerPage < rows; ++page) ASSERT_TRUE(store.BuildPageIndex(page, nullptr));
    }

    for (int walk = 0; walk < 300; ++walk) {
      // Mostly rows and short columns, as formulas use them; some wide ones.
      const uint32_t firstRow = rng.Below(rows + 10);
      const uint32_t lastRow = firstRow + (rng.OneIn(3) ? 0 : rng.Below(rng.OneIn(8) ? 300 : 6));
      const uint32_t firstColumn = rng.Below(26);
      const uint32_t lastColumn = firstColumn + rng.Below(rng.OneIn(4) ? 30 : 4);
      std::vector<const CellRecord*> expected;
      for (uint32_t row = firstRow; row <= lastRow; ++row)
        for (uint32_t column = firstColumn; column <= lastColumn && column <= kMaxColumn; ++column)
          if (const CellRecord* cell = store.GetCell(row, uint16_t(column)))
            expected.push_back(cell);
      // The lookups against the whole chain's records, in storage order.
      std::vector<const CellRecord*> inChain;
      for (const CellBlock* block = store.FirstBlock(); block; block = block->next)
        for (uint32_t offset = 0; offset < block->used; offset += AsCellRecord(block->payload + offset)->Size()) {
          const CellRecord* cell = AsCellRecord(block->payload + offset);
          if (cell->Row() >= firstRow && cell->Row() <= lastRow && cell->Column() >= firstColumn &&
              cell->Column() <= lastColumn)
            inChain.push_back(cell);
        }
      ASSERT_EQ(expected, inChain);
      // A walk over the sheet, and once over its chain as an array's walk.
      for (bool asChain : {false, true}) {
        ArgRange range = asChain ? RangeOver(nullptr, store.FirstBlock(), firstColumn, lastColumn, firstRow, lastRow)
                                 : RangeOver(&store, store.FirstBlock(), firstColumn, lastColumn, firstRow, lastRow);
        std::vector<const CellRecord*> walked;
        for (size_t guard = 0; guard <= expected.size(); ++guard) {
          const CellRecord* cell = NextArgCell(range);
          if (!cell)
            break;
          walked.push_back(cell);
        }
        ASSERT_EQ(walked, expected) << (asChain ? "chain " : "sheet ") << firstColumn << ".." << lastColumn << " x "
                                    << firstRow << ".." << lastRow << (indexed ? " indexed" : "");
        // The walk can start again where the rectangle begins.
        RestartArgRange(range);
        EXPECT_EQ(NextArgCell(range), expected.empty() ? nullptr : expected.front());
        // The walk in locals, stopped at a random cell and finished cell by
        // cell, hands out the same cells in the same order.
        RestartArgRange(range);
        const size_t stopAfter = 1 + rng.Below(uint32_t(expected.size()) + 1);
        walked.clear();
        const bool finished = WalkArgCells(range, [&](const CellRecord* cell) {
          walked.push_back(cell);
          return walked.size() != stopAfter && walked.size() <= expected.size();
        });
        EXPECT_EQ(finished, stopAfter > expected.size());
        for (size_t guard = 0; guard <= expected.size(); ++guard) {
          const CellRecord* cell = NextArgCell(range);
          if (!cell)
            break;
          walked.push_back(cell);
        }
        ASSERT_EQ(walked, expected) << "in locals, stopped after " << stopAfter;
        // Bounds narrowed after the walk was positioned, before it begins, as
        // a lookup narrows a table to its area.
        RestartArgRange(range);
        ArgRange narrowed = range;
        narrowed.firstColumn += rng.Below(lastColumn - firstColumn + 1);
        narrowed.lastColumn = narrowed.firstColumn + rng.Below(lastColumn - narrowed.firstColumn + 1);
        narrowed.lastRow = firstRow + rng.Below(lastRow - firstRow + 1);
        std::vector<const CellRecord*> inArea;
        for (const CellRecord* cell : expected)
          if (cell->Row() <= narrowed.lastRow && cell->Column() >= narrowed.firstColumn &&
              cell->Column() <= narrowed.lastColumn)
            inArea.push_back(cell);
        walked.clear();
        WalkArgCells(narrowed, [&](const CellRecord* cell) {
          walked.push_back(cell);
          return walked.size() <= inArea.size();
        });
        ASSERT_EQ(walked, inArea) << "narrowed to " << narrowed.firstColumn << ".." << narrowed.lastColumn << " x "
                                  << firstRow << ".." << narrowed.lastRow;
      }
    }
  }
}

TEST(ArgWalk, AMalformedRecordEndsTheWalk) {
  // A detached chain as an array value has it: a number, then a record whose
  // type byte names no kind, then another number the walk must not reach.
  CellBlock* chain = static_cast<CellBlock*>(std::calloc(1, sizeof(CellBlock)));
  ASSERT_NE(chain, nullptr);
  uint32_t used = BuildNumberCell(chain->payload, kBlockPayload, 0, 0, 1.0);
  const uint32_t bad = used;
  used += BuildNumberCell(chain->payload + used, kBlockPayload - used, 0, 1, 2.0);
  used += BuildNumberCell(chain->payload + used, kBlockPayload - used, 0, 2, 3.0);
  chain->payload[bad] = 0;  // no kind
  chain->used = uint16_t(used);
  for (uint32_t firstColumn : {0u, 1u, 2u}) {
    ArgRange range = RangeOver(nullptr, chain, firstColumn, 5, 0, 3);
    int cells = 0;
    while (NextArgCell(range) && cells < 10) ++cells;
    EXPECT_EQ(cells, firstColumn == 0 ? 1 : 0) << firstColumn;
    RestartArgRange(range);
    cells = 0;
    WalkArgCells(range, [&](const CellRecord*) { return ++cells < 10; });
    EXPECT_EQ(cells, firstColumn == 0 ? 1 : 0) << firstColumn;
  }
  std::free(chain);
}

// GetArgRange sets a worksheet range up without calls when the row position
// memo answers its first row: the same range, cursor and walk as the set-up
// that asks the memo to list the row.
TEST(ArgWalk, RangeSetUpFromTheMemoMatchesTheGeneralOne) {
  const uint32_t seed = TestSeed(20261211);
  SCOPED_TRACE(SeedTrace(seed));
  Rng rng{seed};
  CellStore store;
  const uint32_t rows = 1200;
  for (uint32_t row = 0; row < rows; row += rng.OneIn(6) ? 1 + rng.Below(20) : 1)
    for (uint16_t column = uint16_t(rng.Below(3)); column < 24; column = uint16_t(column + 1 + rng.Below(3)))
      PutRandomCell(store, rng, row, column);
  store.MarkFormulaCellsDirty();
  auto state = std::make_unique<EvalState>();
  state->spillAreaCount = 0;
  state->operandTop = 2;
  for (int walk = 0; walk < 2000; ++walk) {
    // Few rows, so that most are asked again while the memo lists them.
    const uint32_t firstRow = rng.Below(80) * 15;
    const uint32_t lastRow = firstRow + rng.Below(5);
    const uint32_t firstColumn = rng.Below(26);
    const uint32_t lastColumn = firstColumn + rng.Below(6);
    EvalValue& value = state->operands[1];
    value.Clear();
    value.kind = kEvalRange;
    value.sheet = &store;
    value.first.column = firstColumn;
    value.first.row = firstRow;
    value.second.column = lastColumn;
    value.second.row = lastRow;
    ArgRange general{};
    ASSERT_EQ(GetArgRangeGeneral(*state, 1, &general), kErrorNone);
    ArgRange range{};
    ASSERT_EQ(GetArgRange(*state, 1, &range), kErrorNone);
    EXPECT_TRUE(range.chain == general.chain && range.sheet == general.sheet && !range.ownsChain &&
                range.firstColumn == general.firstColumn && range.lastColumn == general.lastColumn &&
                range.firstRow == general.firstRow && range.lastRow == general.lastRow &&
                range.SamePlaceAs(general))
        << firstColumn << ".." << lastColumn << " x " << firstRow << ".." << lastRow;
    for (int guard = 0; guard < 200; ++guard) {
      const CellRecord* a = NextArgCell(range);
      const CellRecord* b = NextArgCell(general);
      ASSERT_EQ(a, b) << "walk " << walk << " cell " << guard;
      if (!a) break;
    }
  }
}

}  // namespace
