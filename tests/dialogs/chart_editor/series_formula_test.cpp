// A series formula between the editor's formula edit (display form) and the
// series record (stored form): translated both ways relative to R1C1, kept
// as typed when both forms agree, never stored beyond 1024 characters, and
// made from the worksheet's selection.

#include "dialogs/chart_editor/series_formula.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/cells/cell_record.h"
#include "core/formula/eval_state.h"
#include "core/model/series_record.h"
#include "tests/core/generic_locale_test.h"

namespace {

class SeriesFormula : public GenericLocaleTest {
 protected:
  // What the series holds after the text was typed over `before`.
  std::string Store(const std::string& typed, const char* before = "=old") {
    std::strcpy(dataArray, before);
    stored = StoreSeriesFormula(state, typed.c_str(), dataArray);
    return dataArray;
  }
  std::string Show(const char* text) {
    char shown[kSeriesFormulaSize];
    ShowSeriesFormula(state, text, shown, sizeof shown);
    return shown;
  }
  std::string OfSelection(SelectionRange range, const char* path) {
    char text[kSeriesFormulaSize];
    if (!SeriesFormulaOfSelection(state, range, path, text, sizeof text))
      return "REFUSED";
    return text;
  }

  EvalState state;
  char dataArray[kSeriesFormulaSize] = {};
  bool stored = false;
};

TEST_F(SeriesFormula, TranslatedBothWaysRelativeToTheFirstCell) {
  const struct {
    bool a1;
    bool commaDecimals;
    const char* typed;
    const char* stored;
    const char* shown;
  } cases[] = {
      {true, false, "=A1:A3", "=RC:R[2]C", "=A1:A3"},
      {true, false, "=$B$2:$B$9", "=R2C2:R9C2", "=$B$2:$B$9"},
      {true, false, "=Sheet2!C:C", "=\"Sheet2\"!C[2]:C[2]", "=\"Sheet2\"!C:C"},
      {true, true, "={1,5;2}", "={1.5, 2}", "={1,5; 2}"},
      {false, true, "={1,5;2}", "={1.5, 2}", "={1,5; 2}"},
      // R1C1 addressing with the generic separators: stored as typed.
      {false, false, "=r1c1:r3c1  ", "=r1c1:r3c1  ", "=r1c1:r3c1  "},
      {false, false, "=A1", "=A1", "=A1"},
      // Not a formula: as typed, in any form.
      {true, false, "", "", ""},
      {true, true, "1,5", "1,5", "1,5"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    UseGenericLocale();
    AddressingA1 = c.a1 ? 1 : 0;
    if (c.commaDecimals)
      UseCommaDecimals();
    EXPECT_EQ(SeriesFormulaNeedsTranslation(), c.a1 || c.commaDecimals);
    EXPECT_EQ(Store(c.typed), c.stored);
    EXPECT_TRUE(stored);
    EXPECT_EQ(Show(dataArray), c.shown);
  }
}

TEST_F(SeriesFormula, NothingLongerThan1024CharactersIsStored) {
  AddressingA1 = 0;
  // Both forms agree: the typed text is measured.
  const std::string longest = "=" + std::string(1023, '1');
  EXPECT_EQ(Store(longest), longest);
  EXPECT_EQ(Store(longest + "1"), "=old");
  EXPECT_FALSE(stored);
  // A translation that grows past the limit keeps the old formula: "B2" is
  // "R[1]C[1]" when stored.
  AddressingA1 = 1;
  std::string sum = "=B2";
  while (sum.size() + 3 <= 1024) sum += "+B2";
  ASSERT_LE(sum.size(), 1024u);
  EXPECT_EQ(Store(sum), "=old");
  EXPECT_FALSE(stored);
  std::string fitting = "=B2";
  while (fitting.size() + 9 < 1024 / 3) fitting += "+B2";
  const std::string translated = Store(fitting);
  EXPECT_TRUE(stored);
  EXPECT_EQ(translated.substr(0, 10), "=R[1]C[1]+");
  EXPECT_EQ(Show(dataArray), fitting);
  // A text far beyond any edit's limit is refused before it is copied.
  EXPECT_EQ(Store("=" + std::string(5000, '1')), "=old");
}

TEST_F(SeriesFormula, TheSelectionAsColumnsRowsOrCellsOfItsWorksheet) {
  const SelectionRange columns = {0, 0, 1, kMaxRow};
  const SelectionRange sheet = {0, 0, kMaxColumn, kMaxRow};
  const SelectionRange rows = {0, 2, kMaxColumn, 9};
  const SelectionRange cells = {1, 2, 3, 9};
  AddressingA1 = 1;
  EXPECT_EQ(OfSelection(columns, "\\Sheet1"), "=\\Sheet1!$A:$B");
  EXPECT_EQ(OfSelection(sheet, "\\Sheet1"), "=\\Sheet1!$A:$BZS");
  EXPECT_EQ(OfSelection(rows, "\\Sheet1"), "=\\Sheet1!$3:$10");
  EXPECT_EQ(OfSelection(cells, "\\Data\\Sales"), "=\\Data\\Sales!$B$3:$D$10");
  EXPECT_EQ(OfSelection(cells, "\\My Sheet"), "=\"\\My Sheet\"!$B$3:$D$10");
  AddressingA1 = 0;
  EXPECT_EQ(OfSelection(columns, "\\Sheet1"), "=\\Sheet1!C1:C2");
  EXPECT_EQ(OfSelection(rows, "\\Sheet1"), "=\\Sheet1!R3:R10");
  EXPECT_EQ(OfSelection(cells, "\\Sheet1"), "=\\Sheet1!R3C2:R10C4");
  // The text goes through the editor's save into the stored form.
  AddressingA1 = 1;
  EXPECT_EQ(Store(OfSelection(cells, "\\Sheet1")), "=\"\\Sheet1\"!R3C2:R10C4");
  // A path that cannot qualify a reference gives none.
  EXPECT_EQ(OfSelection(cells, ("\\" + std::string(300, 'x')).c_str()), "REFUSED");
  char small[8];
  EXPECT_FALSE(SeriesFormulaOfSelection(state, cells, "\\Sheet1", small, sizeof small));
}

}  // namespace
