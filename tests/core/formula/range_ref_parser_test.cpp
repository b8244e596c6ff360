#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/formula/eval_state.h"
#include "core/formula/range_ref_parser.h"

namespace {

struct Split {
  const char* text;
  bool ok;
  const char* book;
  const char* sheet;
  const char* reference;
};

TEST(SplitQualifiedRef, SplitsBookSheetAndReference) {
  const Split cases[] = {
      {"'My Sheet'!B2", true, "", "My Sheet", "B2"},
      {"\"a'b\"!R1C1", true, "", "a'b", "R1C1"},
      {"C3", true, "", "", "C3"},
      {"  Sheet1!A1:B2", true, "", "Sheet1", "A1:B2"},
      {"'[Book2.tlv  ]Sheet1'!A1", true, "Book2.tlv", "Sheet1", "A1"},
      {"[Book2.tlv]\\Sales\\Q1!A1", true, "Book2.tlv", "\\Sales\\Q1", "A1"},
      {"'Tom''s'!A1", false, "", "", ""},
      {"'open!A1", false, "", "", ""},
      {"'[unclosed'!A1", false, "", "", ""},
      {"'Sheet1'A1", false, "", "", ""},
      {"[Book]A1", true, "", "", "[Book]A1"},
  };
  for (const Split& c : cases) {
    char book[kQualifiedRefCapacity] = "unchanged";
    char sheet[kQualifiedRefCapacity] = "unchanged";
    const char* reference = nullptr;
    ASSERT_EQ(SplitQualifiedRef(c.text, book, sheet, &reference), c.ok) << c.text;
    if (!c.ok) continue;
    EXPECT_STREQ(book, c.book) << c.text;
    EXPECT_STREQ(sheet, c.sheet) << c.text;
    EXPECT_STREQ(reference, c.reference) << c.text;
  }
}

TEST(SplitQualifiedRef, WholeTextIsAQualifierWithoutReferenceOutput) {
  char book[kQualifiedRefCapacity];
  char sheet[kQualifiedRefCapacity];
  ASSERT_TRUE(SplitQualifiedRef("[Book2.tlv]Sheet1", book, sheet, nullptr));
  EXPECT_STREQ(book, "Book2.tlv");
  EXPECT_STREQ(sheet, "Sheet1");
  ASSERT_TRUE(SplitQualifiedRef("'[B.tlv]S!x'", nullptr, sheet, nullptr));
  EXPECT_STREQ(sheet, "S!x");
  const std::string tooLong = "[B]" + std::string(kQualifiedRefCapacity, 's');
  EXPECT_FALSE(SplitQualifiedRef(tooLong.c_str(), book, sheet, nullptr));
}

struct RangeCase {
  const char* text;
  bool ok;
  uint32_t firstColumn, firstRow, lastColumn, lastRow;
  const char* rest;
};

constexpr uint32_t kLastRow = 2097151;
constexpr uint32_t kLastColumn = 2046;

TEST(ParseRangeRef, ReadsA1CellsRangesColumnsAndRows) {
  const RangeCase cases[] = {
      {"A1", true, 0, 0, 0, 0, ""},
      {"$b$2:C3 ", true, 1, 1, 2, 2, " "},
      {"A:C", true, 0, 0, 2, kLastRow, ""},
      {"1:2", true, 0, 0, kLastColumn, 1, ""},
      {"C3:A1", true, 0, 0, 2, 2, ""},
      {"3:1", true, 0, 0, kLastColumn, 2, ""},
      {"BZS2097152", true, kLastColumn, kLastRow, kLastColumn, kLastRow, ""},
      {"A1:3", false, 0, 0, 0, 0, ""},
      {"A", false, 0, 0, 0, 0, ""},
      {"3", false, 0, 0, 0, 0, ""},
      {"A0", false, 0, 0, 0, 0, ""},
      {"A1:BZT1", false, 0, 0, 0, 0, ""},
      {"R1C1", false, 0, 0, 0, 0, ""},
      {"", false, 0, 0, 0, 0, ""},
  };
  for (const RangeCase& c : cases) {
    EvalValue range{};
    const char* end = nullptr;
    ASSERT_EQ(ParseRangeRef(c.text, &range, &end), c.ok) << c.text;
    if (!c.ok) continue;
    EXPECT_EQ(range.kind, kEvalRange);
    EXPECT_EQ(range.first.column, c.firstColumn) << c.text;
    EXPECT_EQ(range.first.row, c.firstRow) << c.text;
    EXPECT_EQ(range.second.column, c.lastColumn) << c.text;
    EXPECT_EQ(range.second.row, c.lastRow) << c.text;
    EXPECT_STREQ(end, c.rest) << c.text;
  }
}

CellStore storeOfSales;
CellStore storeOfOther;

CellStore* ResolveForTest(const EvalState&, CellStore* from, const char* sheetText) {
  if (std::strcmp(sheetText, "Sales") == 0 || std::strcmp(sheetText, "\\Sales") == 0)
    return &storeOfSales;
  return from == &storeOfOther ? nullptr : nullptr;
}

TEST(ParseQualifiedRangeRef, ReadsR1C1AfterAQualifierTheResolverFinds) {
  EvalState state(nullptr, &storeOfOther);
  state.ResetForFormula(2, 4);  // C5
  EvalValue range{};
  const char* end = nullptr;

  ASSERT_TRUE(ParseQualifiedRangeRef(state, "R[-1]C:R1C1", &range, &end));
  EXPECT_EQ(range.sheet, &storeOfOther);
  EXPECT_EQ(range.first.column, 0u);
  EXPECT_EQ(range.first.row, 0u);
  EXPECT_EQ(range.second.column, 2u);
  EXPECT_EQ(range.second.row, 3u);

  ASSERT_TRUE(ParseQualifiedRangeRef(state, "C2", &range, &end));
  EXPECT_EQ(range.first.column, 1u);
  EXPECT_EQ(range.second.row, kLastRow);

  // Without a resolver no qualifier names anything.
  EXPECT_FALSE(ParseQualifiedRangeRef(state, "Sales!R1C1", &range, &end));
  state.resolveSheet = ResolveForTest;
  ASSERT_TRUE(ParseQualifiedRangeRef(state, "'Sales'!R1C1", &range, &end));
  EXPECT_EQ(range.sheet, &storeOfSales);
  ASSERT_TRUE(ParseQualifiedRangeRef(state, "\\Sales!R2", &range, &end));
  EXPECT_EQ(range.sheet, &storeOfSales);
  EXPECT_FALSE(ParseQualifiedRangeRef(state, "Nope!R1C1", &range, &end));
  EXPECT_FALSE(ParseQualifiedRangeRef(state, "'[Book.tlv]Sales'!R1C1", &range, &end));
  EXPECT_FALSE(ParseQualifiedRangeRef(state, "R0C1", &range, &end));
  EXPECT_FALSE(ParseQualifiedRangeRef(state, "R1C1:C2", &range, &end));
  EXPECT_FALSE(ParseQualifiedRangeRef(state, "A1", &range, &end));
}

}  // namespace
