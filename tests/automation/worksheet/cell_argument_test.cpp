// Cell and range arguments of the worksheet members in both addressing
// styles.

#include "automation/worksheet/cell_argument.h"

#include <gtest/gtest.h>

#include "core/base/global_options.h"
#include "core/formula/eval_state.h"

namespace {

struct ArgumentCase {
  const char* text;
  bool a1;
  bool accepted;
  CellRange range;
};

constexpr uint16_t kLastColumn = kMaxColumn;
constexpr uint32_t kLastRow = kMaxRow;

const ArgumentCase kCases[] = {
    {"$B$2", true, true, {1, 1, 1, 1}},
    {"$b$2", true, true, {1, 1, 1, 1}},
    {"$B$3:$D$10", true, true, {1, 2, 3, 9}},
    {"$D$10:$B$3", true, true, {1, 2, 3, 9}},
    {"$B:$D", true, true, {1, 0, 3, kLastRow}},
    {"$3:$10", true, true, {0, 2, kLastColumn, 9}},
    {"$C", true, true, {2, 0, 2, kLastRow}},
    {"$BZS$2097152", true, true, {2046, 2097151, 2046, 2097151}},
    {"B2", true, false, {}},
    {"$B2", true, false, {}},
    {"B$2", true, false, {}},
    {"$B$2:C3", true, false, {}},
    {"$B$2:$C", true, false, {}},
    {"$B:$3", true, false, {}},
    {"$BZT$1", true, false, {}},
    {"$A$2097153", true, false, {}},
    {"$A$0", true, false, {}},
    {"$B$2 ", true, false, {}},
    {"$B$2:", true, false, {}},
    {"$B$2,$C$3", true, false, {}},
    {"", true, false, {}},
    {"R3C2", true, false, {}},
    {"R3C2", false, true, {1, 2, 1, 2}},
    {"R3C2:R10C4", false, true, {1, 2, 3, 9}},
    {"C2:C4", false, true, {1, 0, 3, kLastRow}},
    {"R3", false, true, {0, 2, kLastColumn, 2}},
    {"R[1]C2", false, false, {}},
    {"RC2", false, false, {}},
    {"R3C2:C4", false, false, {}},
    {"R0C1", false, false, {}},
    {"$B$2", false, false, {}},
};

TEST(CellArgument, OnlyAbsoluteReferencesOfOneKindInTheCurrentStyleAreTaken) {
  EvalState evaluator;
  for (const ArgumentCase& c : kCases) {
    AddressingA1 = c.a1 ? 1 : 0;
    CellRange range = {7, 7, 7, 7};
    EXPECT_EQ(ParseCellArgument(c.text, evaluator, &range), c.accepted) << c.text << (c.a1 ? " A1" : " R1C1");
    if (!c.accepted) continue;
    EXPECT_EQ(range.firstColumn, c.range.firstColumn) << c.text;
    EXPECT_EQ(range.firstRow, c.range.firstRow) << c.text;
    EXPECT_EQ(range.lastColumn, c.range.lastColumn) << c.text;
    EXPECT_EQ(range.lastRow, c.range.lastRow) << c.text;
  }
  ResetGlobalOptions();
  EXPECT_FALSE(ParseCellArgument(nullptr, evaluator, nullptr));
}

}  // namespace
