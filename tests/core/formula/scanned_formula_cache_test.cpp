#include "core/formula/scanned_formula_cache.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "tests/core/allocation_limit.h"
#include "tests/core/eval_test_cells.h"

namespace {

const ScannedFormula* FindText(ScannedFormulaCache& cache, const char* text) {
  return cache.Find(text, std::strlen(text));
}

TEST(ScannedFormulaCache, KeepsATextMetTwiceUnlessItCannotBeTakenAgain) {
  const struct {
    const char* text;
    bool kept;
    uint32_t tokens;  // the end included
  } cases[] = {
      {"=R[-1]C+2*SUM(R1C1:R2C2)", true, 10},
      {"+1", true, 2},
      {"='a'&\"b\"&name", true, 6},
      {"={1,2}+1", false, 0},  // an array constant goes to the evaluator's store
      {"=1?2", false, 0},      // a character that starts no token
      {"=$", false, 0},        // an empty name that does not advance
      {"1+2", false, 0},
      {"", false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    ScannedFormulaCache cache;
    EXPECT_EQ(FindText(cache, c.text), nullptr);
    const ScannedFormula* second = FindText(cache, c.text);
    ASSERT_EQ(second != nullptr, c.kept);
    // A text that cannot be taken again is noted as such, and scanned only
    // by the evaluator from then on.
    EXPECT_EQ(cache.EntryCount(), 1u);
    if (!second) {
      EXPECT_EQ(FindText(cache, c.text), nullptr);
      EXPECT_EQ(cache.FindKept(c.text, std::strlen(c.text), 0), nullptr);
      continue;
    }
    EXPECT_EQ(second->tokenCount, c.tokens);
    EXPECT_EQ(second->tokens[second->tokenCount - 1].kind, kEvalEnd);
    EXPECT_STREQ(second->text, c.text);
    EXPECT_EQ(FindText(cache, c.text), second);
  }
}

// Formulas of a row met row after row: each is kept when met again,
// however their texts fall in the table.
TEST(ScannedFormulaCache, KeepsEveryTextOfARowMetAgain) {
  ScannedFormulaCache cache;
  std::vector<std::string> texts;
  for (int i = 0; i < 30; ++i) texts.push_back("=RC[-" + std::to_string(i + 1) + "]*" + std::to_string(i % 7));
  for (int round = 0; round < 3; ++round)
    for (const std::string& text : texts) {
      const bool kept = FindText(cache, text.c_str()) != nullptr;
      EXPECT_EQ(kept, round > 0) << text << " in round " << round;
    }
  EXPECT_EQ(cache.EntryCount(), texts.size());
}

// Texts of every short length that differ in one character only, at each
// place: each finds its own tokens, from a text without a NUL after it too,
// whichever was last found for the column.
TEST(ScannedFormulaCache, FindsOnlyTheTextItKeptWhereverTheyDiffer) {
  ScannedFormulaCache cache;
  std::vector<std::string> texts;
  for (size_t length = 2; length <= 19; ++length)
    for (size_t place = 1; place < length; ++place) {
      std::string text = "=" + std::string(length - 1, '1');
      text[place] = '2';
      texts.push_back(text);
    }
  for (const std::string& text : texts) {
    FindText(cache, text.c_str());
    ASSERT_NE(FindText(cache, text.c_str()), nullptr) << text;
  }
  for (int round = 0; round < 2; ++round)
    for (const std::string& text : texts) {
      const std::vector<char> unterminated(text.begin(), text.end());
      const ScannedFormula* kept = cache.FindKept(unterminated.data(), unterminated.size(), 3);
      ASSERT_NE(kept, nullptr) << text;
      EXPECT_EQ(std::string(kept->text), text);
    }
  const char other[] = "=1111112";
  EXPECT_EQ(cache.FindKept(other, 5, 3), nullptr);  // "=1111" was never kept
}

TEST(ScannedFormulaCache, StaysWithinItsBudgetAndStartsAgainWhenFull) {
  ScannedFormulaCache cache;
  uint32_t most = 0;
  bool startedAgain = false;
  for (uint32_t i = 0; i < ScannedFormulaCache::kSlotCount; ++i) {
    const std::string text = "=R[" + std::to_string(i) + "]C+" + std::to_string(i);
    FindText(cache, text.c_str());
    ASSERT_NE(FindText(cache, text.c_str()), nullptr) << text;
    EXPECT_LE(cache.EntryCount(), ScannedFormulaCache::kSlotCount / 2);
    EXPECT_LE(cache.BytesUsed(), ScannedFormulaCache::kByteBudget);
    if (cache.EntryCount() < most) startedAgain = true;
    most = cache.EntryCount();
  }
  EXPECT_TRUE(startedAgain);
  cache.SetEnabled(false);
  EXPECT_EQ(cache.EntryCount(), 0u);
  FindText(cache, "=1");
  EXPECT_EQ(FindText(cache, "=1"), nullptr);
}

TEST(ScannedFormulaCache, OutOfMemoryDropsEverythingAndScanningGoesOn) {
  ScannedFormulaCache cache;
  FindText(cache, "=1+1");
  ASSERT_NE(FindText(cache, "=1+1"), nullptr);
  {
    // The table is there: the next entry's allocation fails.
    AllocationLimit limit(0);
    FindText(cache, "=2+2");
    EXPECT_EQ(FindText(cache, "=2+2"), nullptr);
    EXPECT_EQ(cache.EntryCount(), 0u);
    EXPECT_EQ(FindText(cache, "=1+1"), nullptr);
  }
  EXPECT_EQ(FindText(cache, "=1+1"), nullptr);  // met once again after the drop
  EXPECT_NE(FindText(cache, "=1+1"), nullptr);

  // Without memory for the table nothing is kept, and formulas still evaluate.
  CellStore cells;
  EvalState state(nullptr, &cells);
  AllocationLimit limit(0);
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(state.Evaluate("=6*7", 0, 0), kEvalNumber);
    EXPECT_EQ(state.operands[1].number, 42);
  }
  EXPECT_EQ(state.scannedFormulas.EntryCount(), 0u);
}

struct Outcome {
  uint32_t kind;
  uint8_t status;
  uint32_t error;
  uint64_t numberBits;
  std::string text;
};

Outcome EvaluateIn(EvalState& state, const char* formula, uint16_t column, uint32_t row) {
  Outcome out{};
  out.kind = state.Evaluate(formula, column, row);
  out.status = state.status;
  const EvalValue& result = state.operands[1];
  out.error = result.error;
  std::memcpy(&out.numberBits, &result.number, sizeof out.numberBits);
  if (out.kind == kEvalText) out.text = state.SlotText(1);
  if (out.kind == kEvalArray) out.text = TopArrayText(state, result);
  return out;
}

// Each formula evaluated in cells far apart, first scanned, then from the
// tokens kept: references resolve against each cell, off the grid from
// some, and texts, names, errors and refused formulas come out the same.
TEST(ScannedFormulaCache, TokensTakenAgainGiveWhatScanningGivesInEveryCell) {
  CellStore cells;
  PutNumber(cells, 0, 0, 1.5);
  PutNumber(cells, 1, 0, -2);
  PutText(cells, 2, 0, "7");
  PutNumber(cells, 0, kMaxRow, 9);
  PutNumber(cells, kMaxColumn, 1, 4, kErrorNA);
  const char* const formulas[] = {
      "=R1C1+R1C2*R1C3",
      "=R[-1]C+RC[1]&'x'",
      "=R[1]C[-1]",
      "=R2097152C1+C2047R1",
      "=R[-2097152]C",
      "=R0C1",
      "=1/0+#REF!",
      "=TRUE+FALSE*3",
      "=name",
      "=R1C1:R2C2",
      "=R1C1:R2C2_R2C2:R3C3",
      "=-2^2%",
      "=1E999",
      "=\"unclosed",
      "=1 2",
      "=(1,2)",
      "=SUM(1,,2)",
      "=R1C1:R[1]C",
      "=R:R[1]+C",
  };
  const struct {
    uint16_t column;
    uint32_t row;
  } places[] = {{0, 0}, {3, 5}, {kMaxColumn, kMaxRow}, {1, kMaxRow}, {kMaxColumn, 0}};
  EvalState scanning(nullptr, &cells);
  scanning.scannedFormulas.SetEnabled(false);
  EvalState keeping(nullptr, &cells);
  for (const char* formula : formulas) {
    for (int round = 0; round < 2; ++round)
      for (const auto& place : places) {
        SCOPED_TRACE(std::string(formula) + " in column " + std::to_string(place.column) + ", row " +
                     std::to_string(place.row));
        const Outcome expected = EvaluateIn(scanning, formula, place.column, place.row);
        const Outcome got = EvaluateIn(keeping, formula, place.column, place.row);
        EXPECT_EQ(got.kind, expected.kind);
        EXPECT_EQ(got.status, expected.status);
        EXPECT_EQ(got.error, expected.error);
        EXPECT_EQ(got.numberBits, expected.numberBits);
        EXPECT_EQ(got.text, expected.text);
      }
  }
  EXPECT_GT(keeping.scannedFormulas.EntryCount(), 10u);
}

// Fifty texts fill the pool: the fifty-first becomes "#VALUE!" either way.
TEST(ScannedFormulaCache, AFullTextPoolGivesTheSameErrorFromKeptTokens) {
  std::string formula = "=CONCATENATE('a'";
  for (int i = 0; i < 52; ++i) formula += ",'b'";
  formula += ")";
  CellStore cells;
  EvalState scanning(nullptr, &cells);
  scanning.scannedFormulas.SetEnabled(false);
  EvalState keeping(nullptr, &cells);
  const Outcome expected = EvaluateIn(scanning, formula.c_str(), 0, 0);
  for (int i = 0; i < 3; ++i) {
    const Outcome got = EvaluateIn(keeping, formula.c_str(), 0, 0);
    EXPECT_EQ(got.kind, expected.kind);
    EXPECT_EQ(got.status, expected.status);
    EXPECT_EQ(got.error, expected.error);
  }
  EXPECT_EQ(keeping.scannedFormulas.EntryCount(), 1u);
}

}  // namespace
