#include "dialogs/composer/composer_selection.h"

#include <gtest/gtest.h>

#include <string>

#include "core/base/global_options.h"
#include "tests/dialogs/composer/composer_workbook.h"

namespace {

class ComposerSelectionTest : public ComposerWorkbookTest {
 protected:
  std::string Text(ComposerSelectionUse use, SelectionRange range, bool control, bool shift, bool takesRange) {
    char out[256];
    const ComposerSelection selection{range, range.firstColumn, range.firstRow, control, shift};
    ComposerSelectionText(&book, use, selection, takesRange, out, sizeof out);
    return out;
  }
};

TEST_F(ComposerSelectionTest, SelectionGivesItsReferenceOrTheActiveCellsValue) {
  const SelectionRange b2c3{1, 1, 2, 2};
  const SelectionRange b2{1, 1, 1, 1};
  const SelectionRange columnsBC{1, 0, 2, kMaxRow};
  struct Case {
    ComposerSelectionUse use;
    SelectionRange range;
    bool control, shift, takesRange, a1;
    const char* text;
  };
  const ComposerSelectionUse address = ComposerSelectionUse::kAddress;
  const Case cases[] = {
      {address, b2c3, false, false, false, true, "B2:C3"},
      {address, b2c3, true, false, false, true, "$B$2:$C$3"},
      {address, b2c3, false, true, false, true, "2.5"},
      {address, b2c3, false, false, false, false, "R2C2:R3C3"},
      {address, b2c3, true, false, false, false, "R2C2:R3C3"},
      {address, b2, false, false, true, true, "B2:B2"},
      {address, b2, false, false, false, true, "B2"},
      {address, columnsBC, false, false, false, true, "B:C"},
      {ComposerSelectionUse::kWorksheetAddress, b2c3, false, true, false, true, "\\Worksheet1!B2:C3"},
      {ComposerSelectionUse::kValue, b2c3, true, false, false, true, "2.5"},
  };
  for (const Case& c : cases) {
    AddressingA1 = c.a1 ? 1 : 0;
    EXPECT_EQ(c.text, Text(c.use, c.range, c.control, c.shift, c.takesRange)) << c.text;
  }
}

}  // namespace
