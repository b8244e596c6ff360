#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/recalc/formula_references.h"
#include "tests/core/recalc_test_book.h"

namespace {

std::string RectanglesText(const std::vector<CellRectangle>& rectangles, const CellStore* first) {
  std::string text;
  for (const CellRectangle& r : rectangles)
    text += (r.store == first ? "1:" : "2:") + std::to_string(r.firstColumn) + "," + std::to_string(r.firstRow) +
            ".." + std::to_string(r.lastColumn) + "," + std::to_string(r.lastRow) + " ";
  return text;
}

bool Collect(void* context, const CellRectangle& rectangle) {
  static_cast<std::vector<CellRectangle>*>(context)->push_back(rectangle);
  return true;
}

class FormulaReferences : public RecalcTestBook {};

// The tokens kept for a formula name the same rectangles, in the same order,
// as its text: cells, ranges, whole rows and columns, other worksheets,
// names and qualifiers that name nothing, in cells far apart.
TEST_F(FormulaReferences, KeptTokensNameWhatTheTextNames) {
  const char* const formulas[] = {
      "=A1+B2*C3",
      "=SUM(A1:C3)+D4",
      "=A:B",
      "=3:5",
      "=Worksheet2!B2:C4+B2",
      "='Worksheet2'!A1",
      "=Nope!A1+A1",
      "=\"text\"&A1",
      "=IF(A1>0,SUM(B1:B9),C1)",
      "=A1:B2_B2:C3",
      "=ROOT(B1,A1,0,3,)",
      "=name+1",
  };
  const struct {
    uint16_t column;
    uint32_t row;
  } places[] = {{5, 10}, {kMaxColumn, kMaxRow}};
  EvalState scanning(&book, first);
  scanning.resolveSheet = book.evaluator.resolveSheet;
  for (const char* display : formulas)
    for (const auto& place : places) {
      SCOPED_TRACE(std::string(display) + " at " + std::to_string(place.column) + "," + std::to_string(place.row));
      char text[kFormulaTextCapacity + 1];
      std::strcpy(text, display);
      ASSERT_TRUE(scanning.TranslateFormula(text, sizeof text, place.column, place.row, true));
      ScannedFormulaCache cache;
      cache.Find(text, std::strlen(text));
      const ScannedFormula* kept = cache.Find(text, std::strlen(text));
      ASSERT_NE(kept, nullptr);
      std::vector<CellRectangle> fromText, fromTokens;
      EXPECT_TRUE(ForEachFormulaReference(scanning, first, text, place.column, place.row, Collect, &fromText));
      EXPECT_TRUE(ForEachFormulaReference(scanning, first, *kept, place.column, place.row, Collect, &fromTokens));
      EXPECT_EQ(RectanglesText(fromTokens, first), RectanglesText(fromText, first));
      char message[200] = "";
      EXPECT_TRUE(scanning.CheckStackOwnership(message, sizeof message)) << message;
    }
}

}  // namespace
