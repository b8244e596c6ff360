#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "core/base/text_compare.h"
#include "functions/wildcard_match.h"
#include "tests/functions/formula_result_text.h"
#include "tests/test_seed.h"

namespace {

// COUNTIF, SUMIF and the lookups compare plain number cells apart from the
// other cells; over lists mixing numbers (-0 and repeats among them), texts,
// errors, formula results and gaps they must count, sum and find what a
// cell-by-cell reading of the rules gives.
enum class Kind { kAbsent, kNumber, kText, kError };

struct Cell {
  Kind kind = Kind::kAbsent;
  double number = 0;
  std::string text;
  uint8_t error = 0;
};

constexpr uint32_t kRows = 16;
const double kNumbers[] = {-2, -0.5, -0.0, 0, 0.5, 1, 20, 20.5, 21, 1e300};
const char* const kTexts[] = {"", "b", "beta", "B2", "20", "apple", "Zed"};

struct Operand {
  const char* text;
  double leadingNumber;  // what a number cell is compared with
};
const Operand kOperands[] = {{"20", 20}, {"0", 0}, {"-0.5", -0.5}, {"b*", 0},
                             {"beta", 0}, {"2*", 2}, {"B2", 0},     {"apple", 0}};

bool Ordered(const std::string& op, int order) {
  if (op == "<") return order < 0;
  if (op == "<=") return order <= 0;
  if (op == ">") return order > 0;
  if (op == ">=") return order >= 0;
  return op == "<>" ? order != 0 : order == 0;
}

bool WholeMatch(const std::string& pattern, const std::string& text) {
  bool whole = false;
  return WildcardMatch(pattern.c_str(), text.c_str(), &whole) == 0 && whole;
}

int TextOrder(const std::string& a, const std::string& b) {
  return CompareTextIgnoringCase(a.data(), a.size(), b.data(), b.size());
}

bool Meets(const Cell& cell, const std::string& op, const Operand& operand) {
  if (cell.kind == Kind::kNumber || cell.kind == Kind::kAbsent) {
    const double x = cell.number;
    return Ordered(op, x < operand.leadingNumber ? -1 : (x > operand.leadingNumber ? 1 : 0));
  }
  if (cell.kind == Kind::kError) return false;
  if (op.empty() || op == "=" || op == "<>") return WholeMatch(operand.text, cell.text) == (op != "<>");
  return Ordered(op, TextOrder(cell.text, operand.text));
}

// The row MATCH finds for a number key (text false) or a text key.
int Found(const std::vector<Cell>& cells, bool text, double number, const std::string& key, int mode) {
  int best = -1;
  for (uint32_t i = 0; i < cells.size(); ++i) {
    const Cell& cell = cells[i];
    if (cell.kind != (text ? Kind::kText : Kind::kNumber)) continue;
    const int order = text ? TextOrder(cell.text, key) : (cell.number < number ? -1 : cell.number > number);
    if (mode == 0 ? !(text ? WholeMatch(key, cell.text) : order == 0) : mode * order > 0) continue;
    if (mode == 0) return int(i);
    const Cell* now = best < 0 ? nullptr : &cells[uint32_t(best)];
    const int toBest = !now ? 0 : (text ? TextOrder(cell.text, now->text) : (cell.number < now->number ? -1 : cell.number > now->number));
    if (!now || mode * toBest > 0) best = int(i);
  }
  return best;
}

using MixedLists = FormulaTableTest;

TEST_F(MixedLists, CriteriaAndLookupsReadEveryKindOfCell) {
  const uint32_t seed = TestSeed(20261208u);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const auto pick = [&random](size_t count) { return size_t(random() % count); };
  const char* const ops[] = {"", "=", "<>", "<", "<=", ">", ">="};
  for (uint32_t round = 0; round < 30; ++round) {
    sheet.DeleteRange(0, 20, 0, 50, nullptr, false);
    std::vector<Cell> cells(kRows);
    for (uint32_t row = 0; row < kRows; ++row) {
      Cell& cell = cells[row];
      const size_t shape = pick(9);
      const uint16_t across = static_cast<uint16_t>(row);
      if (shape <= 3) {
        cell.kind = Kind::kNumber;
        cell.number = kNumbers[pick(std::size(kNumbers))];
        if (shape == 3) {
          PutFormula(sheet, 0, row, "=1", cell.number, nullptr, 0, true);
          PutFormula(sheet, across, 40, "=1", cell.number, nullptr, 0, true);
        } else {
          PutNumber(sheet, 0, row, cell.number);
          PutNumber(sheet, across, 40, cell.number);
        }
      } else if (shape <= 6) {
        cell.kind = Kind::kText;
        cell.text = kTexts[pick(std::size(kTexts))];
        if (shape == 6) {
          PutFormula(sheet, 0, row, "=1", 0, cell.text.c_str(), 0, true);
          PutFormula(sheet, across, 40, "=1", 0, cell.text.c_str(), 0, true);
        } else {
          PutText(sheet, 0, row, cell.text);
          PutText(sheet, across, 40, cell.text);
        }
      } else if (shape == 7) {
        cell.kind = Kind::kError;
        cell.error = pick(2) ? kErrorNA : kErrorDivZero;
        PutNumber(sheet, 0, row, 20, cell.error);
        PutNumber(sheet, across, 40, 20, kErrorNA);
      }
      PutNumber(sheet, 1, row, row + 1.0);
      PutNumber(sheet, across, 41, row + 1.0);
    }
    // A criterion carrying an error counts the cells with that error, and
    // never a number.
    int divisions = 0;
    for (const Cell& cell : cells) divisions += cell.error == kErrorDivZero;
    EXPECT_EQ(Run("=COUNTIF(A1:A16,1/0)"), std::to_string(divisions));
    for (int trial = 0; trial < 12; ++trial) {
      const std::string op = ops[pick(std::size(ops))];
      const Operand& operand = kOperands[pick(std::size(kOperands))];
      const std::string criterion = "\"" + op + operand.text + "\"";
      int count = 0;
      double sum = 0;
      for (uint32_t row = 0; row < kRows; ++row) {
        if (!Meets(cells[row], op, operand)) continue;
        count += cells[row].kind != Kind::kAbsent;
        sum += row + 1.0;
      }
      SCOPED_TRACE(criterion);
      EXPECT_EQ(Run("=COUNTIF(A1:A16," + criterion + ")"), std::to_string(count));
      EXPECT_EQ(Run("=SUMIF(A1:A16," + criterion + ",B1:B16)"), std::to_string(int(sum)));

      const bool text = pick(2) != 0;
      const double number = text ? 0 : (pick(4) == 0 ? 0.7 : kNumbers[pick(std::size(kNumbers))]);
      char written[32];
      std::snprintf(written, sizeof written, "%.17g", number);
      const std::string key = text ? "\"" + std::string(operand.text) + "\"" : std::string(written);
      const int mode = int(pick(3)) - 1;
      const int row = Found(cells, text, number, operand.text, mode);
      const std::string position = row < 0 ? "#N/A!" : std::to_string(row + 1);
      const std::string m = std::to_string(mode);
      SCOPED_TRACE(key + " mode " + m);
      EXPECT_EQ(Run("=MATCH(" + key + ",A1:A16," + m + ")"), position);
      EXPECT_EQ(Run("=VLOOKUP(" + key + ",A1:B16,2," + m + ")"), position);
      EXPECT_EQ(Run("=HLOOKUP(" + key + ",A41:P42,2," + m + ")"), position);
      if (mode == 0) {
        EXPECT_EQ(Run("=LOOKUP(" + key + ",A1:A16,B1:B16)"), position);
      }
    }
  }
}

}  // namespace
