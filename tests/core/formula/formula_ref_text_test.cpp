#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "core/formula/eval_state.h"
#include "core/formula/formula_ref_text.h"
#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "test_seed.h"

namespace {

class FormulaRefText : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    state.ResetForFormula(2, 4);  // C5
  }
  void TearDown() override { ResetGlobalOptions(); }

  std::string A1(const RefCorner& corner) {
    BoundedText out(buffer, sizeof buffer);
    EXPECT_TRUE(FormatA1Reference(out, corner));
    return out.Text();
  }
  std::string R1C1(const RefCorner& corner) {
    BoundedText out(buffer, sizeof buffer);
    EXPECT_TRUE(FormatR1C1Reference(state, out, corner));
    return out.Text();
  }

  EvalState state;
  char buffer[kFormulaTextCapacity + 1];
};

constexpr uint32_t kRelCell = kRefCell | kRefRowRelative | kRefColumnRelative;

struct CornerText {
  RefCorner corner;
  const char* a1;
  const char* r1c1;  // written in C5
};

const CornerText kCorners[] = {
    {{0, 0, kRelCell}, "A1", "R[-4]C[-2]"},
    {{0, 0, kRefCell}, "$A$1", "R1C1"},
    {{2, 4, kRelCell}, "C5", "RC"},
    {{3, 5, kRefCell | kRefRowRelative}, "$D6", "R[1]C4"},
    {{25, 9, kRefCell | kRefColumnRelative}, "Z$10", "R10C[23]"},
    {{26, 0, kRefHasColumn | kRefColumnRelative}, "AA", "C[24]"},
    {{701, 0, kRefHasColumn}, "$ZZ", "C702"},
    {{702, 0, kRefHasColumn}, "$AAA", "C703"},
    {{2046, 2097151, kRefCell}, "$BZS$2097152", "R2097152C2047"},
    {{0, 2, kRefHasRow}, "$3", "R3"},
    {{0, 4, kRefHasRow | kRefRowRelative}, "5", "R"},
    // Outside the grid: A1 has no way to say it.
    {{2047, 0, kRefCell | kRefOutsideGrid}, "$?$1", "R1C2048"},
    {{0, 0xFFFFFFFFu, kRefCell | kRefOutsideGrid}, "$A$?", "R0C1"},
    {{0, 0xFFFFFFFFu, kRelCell | kRefOutsideGrid}, "A?", "R[-5]C[-2]"},
};

TEST_F(FormulaRefText, PrintsCornersInBothStyles) {
  for (const CornerText& c : kCorners) {
    EXPECT_EQ(A1(c.corner), c.a1);
    EXPECT_EQ(R1C1(c.corner), c.r1c1);
  }
}

// Every corner the grid can hold reads back from both styles as it was
// written, whatever the formula's own cell.
TEST_F(FormulaRefText, CornersReadBackAsWritten) {
  for (uint32_t column = 0; column < kColumnCount; ++column) {
    const RefCorner corner{column, column * 1021u, kRefCell};
    RefCorner read{};
    const char* end = nullptr;
    const std::string text = A1(corner);
    ASSERT_EQ(ParseA1Reference(text.c_str(), &read, &end), kRefCell) << text;
    EXPECT_EQ(read.column, column) << text;
    EXPECT_EQ(read.row, corner.row) << text;
    EXPECT_EQ(*end, '\0');
  }

  const uint32_t seed = TestSeed(1013);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  for (int i = 0; i < 20000; ++i) {
    state.ResetForFormula(uint32_t(random() % kColumnCount), uint32_t(random() % kRowCount));
    const uint32_t flags = (random() % 2 ? kRefRowRelative : 0) |
                           (random() % 2 ? kRefColumnRelative : 0) |
                           (random() % 4 == 0 ? kRefHasRow : random() % 3 == 0 ? kRefHasColumn
                                                                                : kRefCell);
    RefCorner corner{flags & kRefHasColumn ? uint32_t(random() % kColumnCount) : 0,
                     flags & kRefHasRow ? uint32_t(random() % kRowCount) : 0, flags};
    if (!(flags & kRefHasColumn)) corner.flags &= ~kRefColumnRelative;
    if (!(flags & kRefHasRow)) corner.flags &= ~kRefRowRelative;
    if ((corner.flags & kRefColumnRelative) && corner.column < state.column)
      corner.flags |= kRefColumnNegative;
    if ((corner.flags & kRefRowRelative) && corner.row < state.row) corner.flags |= kRefRowNegative;
    const std::string text = R1C1(corner);
    RefCorner read{};
    const char* end = nullptr;
    ASSERT_EQ(ParseR1C1Reference(state, text.c_str(), &read, &end), corner.flags)
        << text << " seed " << seed;
    EXPECT_EQ(read.column, corner.column) << text << " seed " << seed;
    EXPECT_EQ(read.row, corner.row) << text << " seed " << seed;
  }
}

struct NotReference {
  const char* text;
  bool r1c1;
};

TEST_F(FormulaRefText, NamesAndCallsAreNoReferences) {
  const NotReference cases[] = {
      {"A1B", false}, {"ABS(", false}, {"SHEET1", false}, {"A1(", false}, {"$", false},
      {"$$A1", false}, {"1", true},    {"ROUND", true},   {"RATE(", true}, {"R1R2", true},
      {"RC1C", true},  {"R[]", true},  {"R[-]", true},    {"R[1", true},   {"CR(", true},
  };
  for (const NotReference& c : cases) {
    RefCorner corner{};
    const char* end = nullptr;
    const uint32_t flags = c.r1c1 ? ParseR1C1Reference(state, c.text, &corner, &end)
                                  : ParseA1Reference(c.text, &corner, &end);
    EXPECT_EQ(flags, 0u) << c.text;
  }
}

struct RefCase {
  bool a1;
  const char* sheet;
  const char* file;
  RefCorner first, second;
  bool isRange;
  const char* expected;  // null: refused
};

const std::string kLongSheet(250, 's');
const std::string kLongerSheet(251, 's');
const std::string kLongSheetRef = kLongSheet + "!A1";

TEST_F(FormulaRefText, QualifiedReferences) {
  const RefCase cases[] = {
      {true, nullptr, nullptr, {1, 2, kRelCell}, {1, 2, kRelCell}, false, "B3"},
      {true, nullptr, nullptr, {1, 2, kRelCell}, {1, 2, kRelCell}, true, "B3:B3"},
      {true, nullptr, nullptr, {1, 2, kRefCell}, {3, 4, kRefCell}, false, "$B$3:$D$5"},
      {true, nullptr, nullptr, {1, 0, kRefHasColumn}, {1, 0, kRefHasColumn}, false, "$B:$B"},
      {true, nullptr, nullptr, {0, 0, 0}, {0, 0, 0}, false, ""},
      {false, nullptr, nullptr, {1, 2, kRelCell}, {1, 2, kRelCell}, false, "R[-2]C[-1]"},
      {false, nullptr, nullptr, {1, 2, kRelCell}, {1, 2, kRelCell}, true, "R[-2]C[-1]:R[-2]C[-1]"},
      {false, nullptr, nullptr, {1, 0, kRefHasColumn}, {1, 9, kRefHasColumn}, true, "C2"},
      {false, nullptr, nullptr, {0, 4, kRefHasRow}, {0, 6, kRefHasRow}, false, "R5:R7"},
      {true, "Sheet2", nullptr, {0, 0, kRelCell}, {0, 0, kRelCell}, false, "Sheet2!A1"},
      {true, "Sheet2", "", {0, 0, kRelCell}, {0, 0, kRelCell}, false, "Sheet2!A1"},
      {true, "", "Book.tlv", {0, 0, kRelCell}, {0, 0, kRelCell}, false, "A1"},
      {true, "My Sheet", nullptr, {0, 0, kRelCell}, {0, 0, kRelCell}, false, "\"My Sheet\"!A1"},
      {true, "Q1", "Book2.tlv", {0, 0, kRefCell}, {0, 0, kRefCell}, false,
       "\"[Book2.tlv]Q1\"!$A$1"},
      {true, "a\"b", nullptr, {0, 0, kRelCell}, {0, 0, kRelCell}, false, "'a\"b'!A1"},
      {true, "a\"b'c", nullptr, {0, 0, kRelCell}, {0, 0, kRelCell}, false, nullptr},
      {true, "B3", nullptr, {0, 0, kRelCell}, {0, 0, kRelCell}, false, "\"B3\"!A1"},
      {true, "True", nullptr, {0, 0, kRelCell}, {0, 0, kRelCell}, false, "\"True\"!A1"},
      // 250 + 2 + 3 stays below 256; one more character would reach it.
      {true, kLongSheet.c_str(), nullptr, {0, 0, kRelCell}, {0, 0, kRelCell}, false,
       kLongSheetRef.c_str()},
      {true, kLongerSheet.c_str(), nullptr, {0, 0, kRelCell}, {0, 0, kRelCell}, false, nullptr},
      {true, kLongSheet.c_str(), nullptr, {0, 0, kRelCell}, {1, 1, kRelCell}, false, nullptr},
  };
  for (const RefCase& c : cases) {
    AddressingA1 = c.a1 ? 1 : 0;
    EvalValue range{};
    range.first = c.first;
    range.second = c.second;
    BoundedText out(buffer, sizeof buffer);
    const bool written = FormatFormulaRef(state, c.file, c.sheet, range, out, false, c.isRange);
    const std::string sheet = c.sheet ? std::string(c.sheet).substr(0, 20) : "-";
    if (!c.expected) {
      EXPECT_FALSE(written) << sheet;
    } else {
      EXPECT_TRUE(written) << sheet;
      EXPECT_STREQ(out.Text(), c.expected) << sheet;
    }
  }
}

TEST_F(FormulaRefText, StoredFormIsAlwaysR1C1) {
  AddressingA1 = 1;
  EvalValue range{};
  range.first = range.second = RefCorner{1, 2, kRelCell};
  BoundedText out(buffer, sizeof buffer);
  ASSERT_TRUE(FormatFormulaRef(state, nullptr, "Sales", range, out, true, false));
  EXPECT_STREQ(out.Text(), "Sales!R[-2]C[-1]");
}

TEST(NeedsQuotes, QuotesWhatWouldNotReadBackAsOneName) {
  struct Case {
    const char* text;
    bool quoted;
  } const cases[] = {
      {"", false},          {"Sheet1", false},   {"\\Sales\\2009\\Q1", false},
      {"TrueSales", false}, {"Sales_2", false},  {"x", true},
      {"1abc", true},       {"a b", true},       {"a-b", true},
      {"_Sheet", true},     {"[Book]S", true},   {"Ums\xe4tze", true},
      {"A1", true},         {"b$3", true},       {"AB12", true},
      {"Tax", true},        {"RC", true},        {"R1C1", true},
      {"C3", true},         {"r", true},         {"True", true},
      {"false", true},      {"A1_x", true},      {"#REF", true},
  };
  for (const Case& c : cases) EXPECT_EQ(NeedsQuotes(c.text), c.quoted) << c.text;
}

}  // namespace
