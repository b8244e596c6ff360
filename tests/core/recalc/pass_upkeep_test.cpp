#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <utility>

#include "core/workbook/workbook.h"
#include "tests/core/recalc_test_book.h"
#include "tests/test_seed.h"

namespace {

// What a pass keeps from the one before it (the page index of an unchanged
// store) and the results it writes in place must leave the cells as a store
// built afresh from the same inputs and calculated once.
class PassUpkeep : public RecalcTestBook {
 protected:
  using Place = std::pair<uint16_t, uint32_t>;
  std::map<Place, std::string> typed;

  void TypeAt(uint16_t column, uint32_t row, const std::string& text) {
    const std::string name = std::string(1, char('A' + column)) + std::to_string(row + 1);
    Type(name.c_str(), text.c_str());
    typed[{column, row}] = text;
  }

  // The fresh store's formulas hold a cached text, so that each number
  // result is stored by rebuilding its record rather than in place.
  void GiveFormulasACachedText() {
    std::map<Place, std::string> formulas;
    CellCursor cursor;
    cursor.flags = kCursorAfterRecord;
    cursor.block = first->FirstBlock();
    while (const CellRecord* cell = cursor.Next())
      if (cell->IsFormula())
        formulas[{cell->Column(), cell->Row()}] = std::string(cell->FormulaText(), cell->FormulaLength());
    for (const auto& formula : formulas) {
      FormulaCellFields fields;
      fields.formula = formula.second.data();
      fields.formulaLength = static_cast<uint16_t>(formula.second.size());
      fields.cachedText = "?";
      fields.cachedTextLength = 1;
      uint8_t record[2048];
      ASSERT_TRUE(BuildFormulaCell(record, sizeof record, formula.first.second, formula.first.first, fields));
      ASSERT_TRUE(first->InsertCell(AsCellRecord(record), nullptr));
    }
  }

  // Every record's bytes without the pass's own bookkeeping; a formula
  // showing an error without its cached value (a cycle keeps what it held).
  std::map<Place, std::string> Snapshot() {
    std::map<Place, std::string> cells;
    CellCursor cursor;
    cursor.flags = kCursorAfterRecord;
    cursor.block = first->FirstBlock();
    while (const CellRecord* cell = cursor.Next()) {
      std::string bytes(reinterpret_cast<const char*>(cell->Bytes()), cell->Size());
      if (cell->IsFormula()) {
        uint8_t flags = cell->ResultFlags() & (kResultCachedText | kResultCachedNumber | kResultArray);
        if (cell->ErrorCode()) {
          flags &= kResultArray;
          bytes.resize(kFormulaCellHeadSize + cell->FormulaLength());
          bytes.replace(offsetof(FormulaCellHead, cachedNumber), sizeof(double), sizeof(double), '\0');
        }
        bytes.replace(offsetof(FormulaCellHead, pending), offsetof(FormulaCellHead, cachedNumber) -
                      offsetof(FormulaCellHead, pending), offsetof(FormulaCellHead, cachedNumber) -
                      offsetof(FormulaCellHead, pending), '\0');
        bytes[offsetof(FormulaCellHead, resultFlags)] = char(flags);
      }
      cells[{cell->Column(), cell->Row()}] = bytes;
    }
    return cells;
  }
};

constexpr uint16_t kColumns = 6;
constexpr uint32_t kRows = 24;

std::string Ref(std::mt19937& random) {
  return std::string(1, char('A' + random() % kColumns)) + std::to_string(1 + random() % kRows);
}

// Numbers, texts, and formulas whose results switch between a number, a
// text and arrays of several sizes as their inputs change.
std::string RandomInput(std::mt19937& random) {
  const uint32_t row = 1 + random() % kRows;
  const std::string below = std::to_string(row + random() % 3);
  switch (random() % 8) {
    case 0:
    case 1:
      return std::to_string(random() % 100);
    case 2:
      return "t" + std::to_string(random() % 10);
    case 3:
      return "=" + Ref(random) + "+" + Ref(random);
    case 4:
      return "=IF(" + Ref(random) + ">50,\"big\"," + Ref(random) + "*2)";
    case 5:
      return "=SUM(A" + std::to_string(row) + ":C" + below + ")";
    case 6:
      return "=TRANSPOSE(A" + std::to_string(row) + ":A" + below + ")";
    default:
      return "=" + Ref(random) + "&\"x\"";
  }
}

TEST_F(PassUpkeep, KeptIndexAndInPlaceResultsMatchAFreshStoreOverRandomEdits) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  for (int round = 0; round < 10; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    first->Clear(true);
    typed.clear();
    for (int i = 0; i < 80; ++i)
      TypeAt(static_cast<uint16_t>(random() % kColumns), random() % kRows, RandomInput(random));
    ASSERT_TRUE(Recalculate(nullptr));
    for (int step = 0; step < 4; ++step) {
      SCOPED_TRACE("step " + std::to_string(step));
      // Edits between passes move records: the next pass must not take up
      // the index the last one ended with.
      for (int i = 1 + random() % 4; i > 0; --i) {
        const uint16_t column = static_cast<uint16_t>(random() % kColumns);
        const uint32_t row = random() % kRows;
        if (random() % 4 == 0) {
          first->DeleteRange(column, column, row, row, nullptr, true);
          typed.erase({column, row});
        } else {
          TypeAt(column, row, RandomInput(random));
        }
      }
      char message[200] = "";
      ASSERT_TRUE(first->MarkFormulaCellsDirty());
      ASSERT_TRUE(first->CheckInvariants(message, sizeof message)) << message;
      ASSERT_TRUE(Recalculate(nullptr));
      ASSERT_TRUE(Recalculate(nullptr));  // with the index kept
      ExpectAllCalculated(*first);
      ASSERT_TRUE(first->MarkFormulaCellsDirty());
      ASSERT_TRUE(first->CheckInvariants(message, sizeof message)) << message;
      ASSERT_TRUE(Recalculate(nullptr));
      const auto kept = Snapshot();

      first->Clear(true);
      const auto inputs = typed;
      for (const auto& input : inputs) TypeAt(input.first.first, input.first.second, input.second);
      GiveFormulasACachedText();
      ASSERT_TRUE(Recalculate(nullptr));
      const auto fresh = Snapshot();
      ASSERT_EQ(kept.size(), fresh.size());
      for (const auto& cell : fresh) {
        const auto found = kept.find(cell.first);
        ASSERT_NE(found, kept.end()) << cell.first.first << "," << cell.first.second;
        EXPECT_EQ(found->second, cell.second) << cell.first.first << "," << cell.first.second;
      }
    }
  }
}

}  // namespace
