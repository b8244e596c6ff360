#include "core/cells/cell_block_checks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "core/base/error_code.h"

namespace {

constexpr uint16_t kLongestFormula = 1024;

using Bytes = std::vector<uint8_t>;

Bytes Number(uint32_t row, uint16_t column, double value = 1.5, uint8_t extra = 0) {
  Bytes bytes(kNumberCellSize);
  bytes.resize(BuildNumberCell(bytes.data(), bytes.size(), row, column, value, extra));
  return bytes;
}

Bytes Formula(uint32_t row, uint16_t column, FormulaCellFields fields) {
  Bytes bytes(4096);
  bytes.resize(BuildFormulaCell(bytes.data(), bytes.size(), row, column, fields));
  return bytes;
}

Bytes Join(std::initializer_list<Bytes> records) {
  Bytes block;
  for (const Bytes& record : records) block.insert(block.end(), record.begin(), record.end());
  return block;
}

bool Check(Bytes block, StoredOrder order = {}) {
  return CheckCellBlock(block.data(), uint32_t(block.size()), &order, kLongestFormula);
}

TEST(CellBlockChecks, RefusesWhatWouldBreakTheStore) {
  const std::string longFormula(kLongestFormula + 1, '1');
  FormulaCellFields tooLong;
  tooLong.formula = longFormula.data();
  tooLong.formulaLength = uint16_t(longFormula.size());
  FormulaCellFields cached;
  cached.formula = "=1";
  cached.formulaLength = 2;
  cached.cachedText = "abc";
  cached.cachedTextLength = 3;

  Bytes cut = Number(1, 1);
  cut.pop_back();
  Bytes noKind = Number(1, 1);
  noKind[0] = kCellText | kCellNumber;
  Bytes cachedPastBlock = Formula(1, 1, cached);
  cachedPastBlock.resize(kFormulaCellHeadSize + 2 + 1);  // the cached text's length cut in two
  Bytes textPastBlock(kTextCellHeadSize + 4);
  BuildTextCell(textPastBlock.data(), textPastBlock.size(), 1, 1, "abcd", 4);
  textPastBlock.pop_back();

  const struct {
    const char* what;
    Bytes block;
  } cases[] = {
      {"a record cut short", cut},
      {"fewer bytes than any head", Bytes(5, 0)},
      {"a type byte of two kinds", noKind},
      {"an error code past the last", Number(1, 1, 0, uint8_t(kErrorSyntax + kErrorCodeStep))},
      {"a formula longer than the longest", Formula(1, 1, tooLong)},
      {"a cached text length past the block", cachedPastBlock},
      {"a text past the block", textPastBlock},
      {"a row past the grid", Number(kRowCount, 0)},
      {"a column past the grid", Number(0, kColumnCount)},
      {"the same cell twice", Join({Number(4, 2), Number(4, 2)})},
      {"a cell before the one ahead of it", Join({Number(4, 2), Number(3, 9)})},
      {"a column before the one ahead of it", Join({Number(4, 2), Number(4, 1)})},
  };
  for (const auto& c : cases) EXPECT_FALSE(Check(c.block)) << c.what;
  EXPECT_TRUE(Check(Join({Number(4, 2), Number(4, 3), Number(5, 0)})));
  EXPECT_TRUE(Check(Bytes()));
}

TEST(CellBlockChecks, OrderHoldsAcrossTheBlocksOfOneStore) {
  StoredOrder order;
  Bytes first = Join({Number(2, 5), Number(7, 1)});
  ASSERT_TRUE(CheckCellBlock(first.data(), uint32_t(first.size()), &order, kLongestFormula));
  EXPECT_TRUE(order.any);
  EXPECT_EQ(order.row, 7u);
  EXPECT_EQ(order.column, 1u);
  EXPECT_FALSE(Check(Number(7, 1), order));
  EXPECT_FALSE(Check(Number(6, 9), order));
  EXPECT_TRUE(Check(Number(7, 2), order));
}

TEST(CellBlockChecks, AcceptedCellsStartAfreshOnTheGrid) {
  FormulaCellFields array;
  array.formula = "=1";
  array.formulaLength = 2;
  array.resultFlags = kResultArray | kResultCachedNumber;
  array.cachedNumber = std::numeric_limits<double>::infinity();
  array.arrayColumns = 5;
  array.arrayRows = 0;
  Bytes block = Join({Number(0, 3, std::nan("")), Formula(kMaxRow, kMaxColumn, array)});
  CellRecord* formula = AsCellRecord(block.data() + kNumberCellSize);
  formula->SetPending(3);
  formula->SetResultFlags(uint8_t(formula->ResultFlags() | kResultCalculated | kResultDependantWaits));
  formula->SetDependantColumn(4);
  formula->SetDependantRow(5);
  formula->SetDependantSheet(6);

  StoredOrder order;
  ASSERT_TRUE(CheckCellBlock(block.data(), uint32_t(block.size()), &order, kLongestFormula));
  const CellRecord* number = AsCellRecord(block.data());
  EXPECT_EQ(number->ErrorCode(), kErrorNum);
  EXPECT_EQ(number->Number(), 0.0);
  EXPECT_EQ(formula->ErrorCode(), kErrorNum);
  EXPECT_EQ(formula->CachedNumber(), 0.0);
  EXPECT_EQ(formula->Pending(), 0);
  EXPECT_EQ(formula->ResultFlags(), kResultArray | kResultCachedNumber);
  EXPECT_EQ(formula->DependantColumn(), 0);
  EXPECT_EQ(formula->DependantRow(), 0u);
  EXPECT_EQ(formula->DependantSheet(), 0u);
  // The last cell of the grid holds a result of that one cell.
  EXPECT_EQ(formula->ArrayColumns(), 1);
  EXPECT_EQ(formula->ArrayRows(), 1u);
}

}  // namespace
