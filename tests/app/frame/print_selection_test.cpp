#include "app/frame/print_selection.h"

#include <gtest/gtest.h>

#include "core/cells/cell_record.h"

namespace {

PageSettings Defaults() {
  PageSettings settings;
  InitPageSettings(&settings);
  return settings;
}

TEST(PrintSelection, TheSelectionKindsTakeTheViewsContainerOrCells) {
  const ViewSelection cells = {0, 2, 3, 5, 9};
  const ViewSelection container = {7, 2, 3, 5, 9};
  const ViewSelection wholeRows = {0, 0, 4, kMaxColumn, 6};
  struct Case {
    uint8_t kind;
    ViewSelection selection;
    uint8_t expectedKind;
  } cases[] = {
      {kPrintAll, container, kPrintAll},
      {kPrintPageList, cells, kPrintPageList},
      {kPrintSelection, cells, kPrintSelectedCells},
      {kPrintSelectedCells, container, kPrintContainer},
      {kPrintContainer, cells, kPrintSelectedCells},
      {kPrintSelection, wholeRows, kPrintSelectedCells},
  };
  for (const Case& c : cases) {
    PageSettings settings = Defaults();
    settings.printRangeKind = c.kind;
    TakePrintSelection(c.selection, &settings);
    EXPECT_EQ(settings.printRangeKind, c.expectedKind) << int(c.kind);
    if (c.expectedKind == kPrintContainer) {
      EXPECT_EQ(settings.containerId, c.selection.containerId);
    }
    if (c.expectedKind == kPrintSelectedCells) {
      EXPECT_EQ(settings.selectionRange.firstColumn, c.selection.firstColumn);
      EXPECT_EQ(settings.selectionRange.lastRow, c.selection.lastRow);
    }
  }
  PageSettings settings = Defaults();
  settings.printRangeKind = kPrintSelection;
  TakePrintSelection(wholeRows, &settings);
  EXPECT_EQ(settings.selectionRange.firstKind, 1);
}

}  // namespace
