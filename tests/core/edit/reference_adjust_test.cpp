#include "core/edit/reference_adjust.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/formula/eval_state.h"

namespace {

CellRange Rows(uint32_t first, uint32_t last) { return CellRange{0, first, kMaxColumn, last}; }
CellRange Columns(uint16_t first, uint16_t last) { return CellRange{first, 0, last, kMaxRow}; }

struct AdjustCase {
  const char* what;
  const char* text;
  uint32_t column, row;  // where the formula lies after the edit
  uint32_t operation;
  CellRange area;
  const char* expected;  // "OFF GRID" or "TOO LONG" for a refusal
};

std::string Adjust(EvalState& state, const std::string& text, uint32_t column, uint32_t row, uint32_t operation,
                   const CellRange& area, bool* changed) {
  char buffer[kFormulaTextCapacity + 1];
  EXPECT_LT(text.size(), sizeof buffer);
  std::strcpy(buffer, text.c_str());
  uint8_t failure = 0xFF;
  *changed = false;
  if (!AdjustReferences(state, buffer, sizeof buffer, column, row, operation, area, changed, &failure)) {
    EXPECT_EQ(text, buffer) << "a refused rewrite must leave the text";
    EXPECT_FALSE(*changed);
    return failure == kAdjustOffGrid ? "OFF GRID" : failure == kAdjustTooLong ? "TOO LONG" : "FAILED";
  }
  EXPECT_EQ(failure, kAdjustNoFailure);
  EXPECT_EQ(*changed, text != buffer);
  return buffer;
}

TEST(AdjustReferences, KeepsEachReferenceOnItsCell) {
  const AdjustCase cases[] = {
      // Rows inserted.
      {"upward from below the insertion", "=R[-2]C", 0, 3, kEditRowsInserted, Rows(1, 1), "=R[-3]C"},
      {"downward across the insertion", "=R[2]C", 0, 0, kEditRowsInserted, Rows(1, 1), "=R[3]C"},
      {"target just above stays put", "=R[1]C", 0, 0, kEditRowsInserted, Rows(2, 3), "=R[1]C"},
      {"target on the first inserted row moves", "=R[2]C", 0, 0, kEditRowsInserted, Rows(2, 3), "=R[4]C"},
      {"both below move together", "=R[-1]C", 0, 7, kEditRowsInserted, Rows(2, 3), "=R[-1]C"},
      {"absolute never", "=R1C1+R5C1", 0, 9, kEditRowsInserted, Rows(2, 3), "=R1C1+R5C1"},
      {"mixed: relative row moves", "=R[-6]C3", 0, 8, kEditRowsInserted, Rows(2, 3), "=R[-8]C3"},
      {"other worksheet never", "='Other'!R[-1]C", 0, 5, kEditRowsInserted, Rows(2, 3), "='Other'!R[-1]C"},
      {"other worksheet range, both ends", "='Other'!R[-1]C:R[2]C", 0, 5, kEditRowsInserted, Rows(2, 3),
       "='Other'!R[-1]C:R[2]C"},
      {"other worksheet range, far corner alone", "=SUM(Other!R[-1]C[-1]:R[2]C[-1])", 1, 1, kEditRowsInserted,
       Rows(2, 3), "=SUM(Other!R[-1]C[-1]:R[2]C[-1])"},
      {"other worksheet range, columns", "=SUM(Other!R1C[1]:R2C[3])+RC[3]", 0, 0, kEditColumnsInserted,
       Columns(2, 2), "=SUM(Other!R1C[1]:R2C[3])+RC[4]"},
      {"bare qualifier", "=Other!R[-5]C+R[-5]C", 0, 7, kEditRowsInserted, Rows(2, 3), "=Other!R[-5]C+R[-7]C"},
      {"whole rows", "=SUM(R[1]:R[2])", 0, 0, kEditRowsInserted, Rows(1, 1), "=SUM(R[2]:R[3])"},
      {"whole columns untouched by rows", "=SUM(C[1])", 0, 7, kEditRowsInserted, Rows(1, 1), "=SUM(C[1])"},
      {"texts are not references", "=\"R[1]C\"&R[1]C", 0, 0, kEditRowsInserted, Rows(1, 1), "=\"R[1]C\"&R[2]C"},
      {"arguments and blanks kept", "=SUM( R[1]C , R[-1]C )", 0, 0, kEditRowsInserted, Rows(1, 1),
       "=SUM( R[2]C , R[-1]C )"},
      {"off-grid reference of a moved formula", "=R[-1]C", 0, 1, kEditRowsInserted, Rows(0, 0), "=#REF!"},
      {"pushed off the grid", "=R[2097151]C", 0, 0, kEditRowsInserted, Rows(5, 5), "OFF GRID"},
      // Rows deleted.
      {"into deleted rows", "=R[-3]C", 0, 3, kEditRowsDeleted, Rows(2, 4), "=#REF!"},
      {"above the deletion", "=R[-6]C", 0, 3, kEditRowsDeleted, Rows(2, 4), "=R[-3]C"},
      {"below the deletion", "=R[7]C", 0, 0, kEditRowsDeleted, Rows(2, 4), "=R[4]C"},
      {"range keeps the rows above", "=SUM(R[-5]C:R[-3]C)", 0, 3, kEditRowsDeleted, Rows(2, 4),
       "=SUM(R[-2]C:R[-2]C)"},
      {"range keeps the rows below", "=SUM(R[-4]C:R[-1]C)", 0, 3, kEditRowsDeleted, Rows(2, 4),
       "=SUM(R[-1]C:R[-1]C)"},
      {"reversed range", "=SUM(R[-1]C:R[-4]C)", 0, 3, kEditRowsDeleted, Rows(2, 4), "=SUM(R[-1]C:R[-1]C)"},
      {"range spanning the deletion", "=SUM(R[1]C:R[9]C)", 0, 0, kEditRowsDeleted, Rows(2, 4),
       "=SUM(R[1]C:R[6]C)"},
      {"range wholly deleted", "=SUM(R[-4]C:R[-2]C)+1", 0, 3, kEditRowsDeleted, Rows(2, 4), "=SUM(#REF!)+1"},
      {"other worksheet into deleted rows", "='Other'!R[-3]C", 0, 3, kEditRowsDeleted, Rows(2, 4),
       "='Other'!R[-3]C"},
      // Columns.
      {"columns inserted", "=RC[-2]+RC[1]", 3, 0, kEditColumnsInserted, Columns(1, 1), "=RC[-3]+RC[1]"},
      {"rows untouched by columns", "=R[-2]C+R[5]", 3, 4, kEditColumnsInserted, Columns(1, 1), "=R[-2]C+R[5]"},
      {"columns deleted", "=RC[-3]+RC[-1]", 1, 0, kEditColumnsDeleted, Columns(1, 2), "=RC[-1]+#REF!"},
      {"pushed off the grid by columns", "=RC[2040]", 0, 0, kEditColumnsInserted, Columns(3, 9), "OFF GRID"},
      // A block transposed: columns 0-2, rows 0-1 become columns 0-1, rows 0-2.
      {"outside formula follows its target", "=R[-4]C[-1]", 3, 4, kEditBlockTransposed, CellRange{0, 0, 2, 1},
       "=R[-2]C[-3]"},
      {"moved formula to a moved target", "=R[1]C[-1]", 0, 1, kEditBlockTransposed, CellRange{0, 0, 2, 1},
       "=R[-1]C[1]"},
      {"moved formula to a fixed target", "=R[4]C[3]", 0, 1, kEditBlockTransposed, CellRange{0, 0, 2, 1},
       "=R[3]C[4]"},
      {"absolute in a transposed block", "=R1C3", 0, 2, kEditBlockTransposed, CellRange{0, 0, 2, 1}, "=R1C3"},
  };
  EvalState state;
  for (const AdjustCase& c : cases) {
    bool changed = false;
    EXPECT_EQ(c.expected, Adjust(state, c.text, c.column, c.row, c.operation, c.area, &changed)) << c.what;
    EXPECT_TRUE(state.CheckStackOwnership()) << c.what;
  }
}

TEST(AdjustReferences, RefusesATextThatWouldPassTheLimit) {
  std::string text = "=R[9]C";
  while (text.size() + 7 <= kFormulaTextCapacity) text += "+R[9]C";
  EvalState state;
  bool changed = false;
  EXPECT_EQ("TOO LONG", Adjust(state, text, 0, 0, kEditRowsInserted, Rows(5, 5), &changed));
  // The same text fits when the rewrite keeps its length.
  EXPECT_EQ(text, Adjust(state, text, 0, 0, kEditRowsInserted, Rows(50, 50), &changed));
}

TEST(AdjustReferences, LeavesUnreadableTailsAsTheyAre) {
  EvalState state;
  bool changed = false;
  EXPECT_EQ("=R[2]C+}R[1]C", Adjust(state, "=R[1]C+}R[1]C", 0, 0, kEditRowsInserted, Rows(1, 1), &changed));
  EXPECT_EQ("plain", Adjust(state, "plain", 0, 0, kEditRowsInserted, Rows(1, 1), &changed));
  // Texts typed under R1C1 addressing are stored untranslated; a lone "$" or
  // "#" reads as nothing, and the scan must stop there.
  const char* const untranslated[] = {"=$", "=$A$1", "=#", "=R[1]C+$A1", "=SUM(#)"};
  const uint32_t operations[] = {kEditRowsInserted, kEditRowsDeleted, kEditColumnsInserted, kEditColumnsDeleted};
  for (const char* text : untranslated) {
    for (uint32_t operation : operations) {
      const CellRange area = operation <= kEditRowsDeleted ? Rows(5, 5) : Columns(5, 5);
      EXPECT_EQ(text, Adjust(state, text, 0, 0, operation, area, &changed)) << text << " " << operation;
    }
  }
  EXPECT_EQ("=R[10]C+$", Adjust(state, "=R[9]C+$", 0, 0, kEditRowsInserted, Rows(5, 5), &changed));
}

}  // namespace
