#ifndef TALVERO_APP_FRAME_GO_TO_TARGET_H
#define TALVERO_APP_FRAME_GO_TO_TARGET_H

// Where the name box's go-to leads inside a workbook: the worksheet its
// worksheet part names and the cells its reference part names.

#include "core/workbook/workbook.h"
#include "view/painting/selection_painter.h"

class EvalState;

// The worksheet the path names, a path beginning with "\" from the top of
// the tree and any other from the folder of the active worksheet. Null when
// nothing is found or the path names a folder.
CWorkSheet* FindGoToWorksheet(CWorkBook* book, const char* sheetPath);

// The reference as cells to select: A1 ("B2", "A1:C3", "A:C", "1:3") or
// R1C1 as the addressing style says, text after it ignored (a bookmark's
// name). False when the text does not begin with a reference inside the grid.
bool ParseGoToReference(const EvalState& state, const char* text, SelectionRange* selection);

#endif
