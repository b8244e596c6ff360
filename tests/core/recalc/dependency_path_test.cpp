#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/recalc/dependency_path.h"
#include "tests/core/recalc_test_book.h"
#include "tests/test_seed.h"

namespace {

class DependencyPaths : public RecalcTestBook {
 protected:
  // A random cell name of the 4 x 4 corner of the grid, "A1" .. "D4".
  static std::string Name(std::mt19937& random) {
    return std::string(1, char('A' + random() % 4)) + std::to_string(random() % 4 + 1);
  }
  // A formula reading a cell, two, a range or a cell of Worksheet2.
  static std::string RandomFormula(std::mt19937& random) {
    switch (random() % 5) {
      case 0:
        return "=" + Name(random) + "*2";
      case 1:
        return "=" + Name(random) + "-" + Name(random);
      case 2:
        return "=" + Name(random) + ":" + Name(random);
      case 3:
        return "=Worksheet2!" + Name(random) + "+1";
      default:
        return "=3";
    }
  }
  void Fill(CellStore& store, std::mt19937& random) {
    store.DeleteRange(0, kMaxColumn, 0, kMaxRow, nullptr, false);
    for (uint16_t column = 0; column < 4; ++column)
      for (uint32_t row = 0; row < 4; ++row) {
        const uint32_t kind = random() % 8;
        if (kind < 1) continue;
        if (kind < 4) {
          PutNumber(store, column, row, double(random() % 9));
        } else {
          SetFormula(store, column, row, RandomFormula(random).c_str());
        }
      }
  }
};

// The shortcut for a target that reads no formula cell finds what the walk
// finds, over random sheets of numbers and formulas reading each other.
TEST_F(DependencyPaths, ShortcutFindsWhatTheWalkFinds) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  uint32_t emptyPaths = 0, pathsFound = 0;
  for (int sheetCount = 0; sheetCount < 60; ++sheetCount) {
    Fill(*first, random);
    Fill(second->cells, random);
    ASSERT_TRUE(Recalculate(nullptr));
    EvalState scanning(&book, first, EvalState::ForOneCall{});
    scanning.resolveSheet = book.evaluator.resolveSheet;
    for (int pick = 0; pick < 20; ++pick) {
      const CellRecord* target = first->GetCell(random() % 4, uint16_t(random() % 4));
      const CellRecord* source = first->GetCell(random() % 4, uint16_t(random() % 4));
      if (!target || !target->IsFormula() || !source) continue;
      const std::string text(target->FormulaText(), target->FormulaLength());
      DependencyPath shortcut, walk;
      const uint8_t byShortcut = shortcut.Find(scanning, first, target, text.c_str(), &source, 1);
      const uint8_t byWalk = walk.FindByWalk(scanning, first, target, text.c_str(), &source, 1);
      ASSERT_EQ(byShortcut, byWalk) << text << " sheet " << sheetCount;
      ASSERT_EQ(shortcut.Count(), walk.Count()) << text << " sheet " << sheetCount;
      ASSERT_EQ(scanning.sheet, first);
      (walk.Count() == 0 ? emptyPaths : pathsFound) += 1;
    }
  }
  EXPECT_GT(emptyPaths, 50u);
  EXPECT_GT(pathsFound, 20u);
}

}  // namespace
