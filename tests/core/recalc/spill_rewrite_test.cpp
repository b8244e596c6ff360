#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/workbook/workbook.h"
#include "tests/core/recalc_test_book.h"
#include "tests/test_seed.h"

namespace {

// A result written over its former values must leave the cells exactly as
// a workbook that never held the former result: that workbook is built
// afresh from the same inputs and calculated once, its result stored anew.
class SpillRewrite : public RecalcTestBook {
 protected:
  using Place = std::pair<uint16_t, uint32_t>;

  // The inputs typed so far, replayed into the fresh workbook.
  std::map<Place, std::string> typed;
  // Before each typing that the next undo takes back: the cell and what it held.
  std::vector<std::pair<Place, std::string>> undoable;

  void TypeAt(uint16_t column, uint32_t row, const std::string& text) {
    const std::string name = std::string(1, char('A' + column)) + std::to_string(row + 1);
    const auto found = typed.find({column, row});
    undoable.push_back({{column, row}, found == typed.end() ? std::string() : found->second});
    Type(name.c_str(), text.c_str());
    typed[{column, row}] = text;
  }
  void Undo() {
    if (undoable.empty() || !book.UndoStep()) return;
    const auto last = undoable.back();
    undoable.pop_back();
    if (last.second.empty())
      typed.erase(last.first);
    else
      typed[last.first] = last.second;
  }
};

constexpr uint16_t kWindowColumns = 9;
constexpr uint32_t kWindowRows = 8;
// The formula under test, in B2, picks one of three results by Z1 and
// scales the numbers by Y1; F1 spills a fixed result before it.
constexpr uint16_t kFormulaColumn = 1;
constexpr uint32_t kFormulaRow = 1;

std::string RandomArray(std::mt19937& random, bool text) {
  const uint32_t columns = 1 + random() % 5;
  const uint32_t rows = 1 + random() % 4;
  std::string out = "{";
  for (uint32_t r = 0; r < rows; ++r) {
    for (uint32_t c = 0; c < columns; ++c) {
      if (c) out += ",";
      out += text && random() % 3 == 0 ? "\"t" + std::to_string(random() % 10) + "\"" : std::to_string(random() % 50);
    }
    if (r + 1 < rows) out += ";";
  }
  return out + "}";
}

TEST_F(SpillRewrite, InPlaceRewritesMatchAFreshStoreOverRandomShapesAndEdits) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  for (int round = 0; round < 12; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    first->Clear(true);
    typed.clear();
    undoable.clear();
    // Two shapes of numbers (written in place when one follows itself) and
    // one that may hold texts.
    const std::string formula = "=IF(Z1=1," + RandomArray(random, false) + "*Y1,IF(Z1=2," +
                                RandomArray(random, false) + "*Y1," + RandomArray(random, true) + "))";
    TypeAt(25, 0, "1");
    TypeAt(24, 0, "1");
    TypeAt(5, 0, "={1;2}");
    TypeAt(kFormulaColumn, kFormulaRow, formula);
    for (int step = 0; step < 25; ++step) {
      SCOPED_TRACE("step " + std::to_string(step));
      switch (random() % 6) {
        case 0:
        case 1:
          TypeAt(25, 0, std::to_string(1 + random() % 3));
          break;
        case 2:
          TypeAt(24, 0, std::to_string(random() % 7));
          break;
        case 3: {  // a value typed in the result's way, or over part of it
          const bool near = random() % 2 == 0;
          const uint16_t column = uint16_t(near ? kFormulaColumn + random() % 5 : random() % kWindowColumns);
          const uint32_t row = near ? kFormulaRow + random() % 4 : 1 + random() % (kWindowRows - 1);
          if (column != kFormulaColumn || row != kFormulaRow) TypeAt(column, row, std::to_string(random() % 9));
          break;
        }
        case 4:
          Undo();
          break;
        default:  // a typed value deleted again
          if (!typed.empty()) {
            auto it = typed.begin();
            std::advance(it, random() % typed.size());
            if (it->first.second >= 1 && it->first != Place{kFormulaColumn, kFormulaRow}) {
              first->DeleteRange(it->first.first, it->first.first, it->first.second, it->first.second, nullptr, true);
              typed.erase(it);
              undoable.clear();
            }
          }
          break;
      }
      ASSERT_TRUE(Recalculate(nullptr));
      ExpectAllCalculated(*first);

      CWorkBook fresh;
      ASSERT_TRUE(fresh.NewDocument());
      CellStore& store = fresh.activeWorksheet->cells;
      for (const auto& cell : typed) {
        NumFormatParams format{};
        alignas(8) uint8_t record[kCellInputCapacity];
        const uint32_t size = CWorkSheet::ParseCellInput(&fresh, cell.second.c_str(), &format, cell.first.second,
                                                         cell.first.first, record, sizeof record);
        ASSERT_NE(size, 0u);
        ASSERT_TRUE(store.InsertCell(AsCellRecord(record), nullptr));
      }
      ASSERT_TRUE(fresh.Recalculate(nullptr));
      // Its settling pass wrote the results over themselves: a hole in each
      // makes the next pass store them anew.
      std::vector<Place> holes;
      CellCursor cursor;
      cursor.flags = kCursorAfterRecord;
      cursor.block = store.FirstBlock();
      while (const CellRecord* cell = cursor.Next())
        if (cell->IsSpillingArrayFormula() && uint32_t(cell->ArrayColumns()) * cell->ArrayRows() > 1)
          holes.push_back({uint16_t(cell->Column() + cell->ArrayColumns() - 1), cell->Row() + cell->ArrayRows() - 1});
      for (const Place& hole : holes) store.DeleteRange(hole.first, hole.first, hole.second, hole.second, nullptr, true);
      ASSERT_TRUE(fresh.Recalculate(nullptr));
      for (uint32_t row = 0; row < kWindowRows; ++row)
        for (uint16_t column = 0; column < kWindowColumns; ++column) {
          SCOPED_TRACE(std::to_string(column) + "," + std::to_string(row) + " " + formula);
          EXPECT_EQ(Shown(*first, column, row), Shown(store, column, row));
          const CellRecord* here = first->GetCell(row, column);
          const CellRecord* there = store.GetCell(row, column);
          ASSERT_EQ(here == nullptr, there == nullptr);
          if (!here) continue;
          EXPECT_EQ(here->Type(), there->Type());
          // (A blocked formula keeps the array flag of a result it once
          // spilled: only the extent of a live result is compared.)
          if (here->IsFormula()) {
            EXPECT_EQ(here->IsSpillingArrayFormula(), there->IsSpillingArrayFormula());
            if (here->IsSpillingArrayFormula()) {
              EXPECT_EQ(here->ArrayColumns(), there->ArrayColumns());
              EXPECT_EQ(here->ArrayRows(), there->ArrayRows());
            }
          }
        }
      if (HasFailure()) return;
    }
  }
}

}  // namespace
