#ifndef TALVERO_CORE_FORMAT_SELECTION_H
#define TALVERO_CORE_FORMAT_SELECTION_H

// One format change of a selection, as the format-cells sheet, the font-style
// commands and the drop-down list editor make it: one attribute kind applied
// to every selected cell with one undo step. Whole columns are restyled
// through their column records and the runs of those columns only; the
// outline kind lays the border on the selection's outer edges.

#include <cstdint>

#include "core/styles/style_table.h"

class CWorkBook;
class SheetFormat;
struct TextMeasurer;

// The kind a style record ignores is, for a selection, its outline.
constexpr int kApplyOutline = kApplyNothing;

// The selection's rectangle and its current cell, in the view's terms.
struct FormatSelection {
  uint16_t firstColumn;
  uint16_t lastColumn;
  uint32_t firstRow;
  uint32_t lastRow;
  uint16_t currentColumn;
  uint32_t currentRow;
};

// Every row of some columns.
bool CoversWholeColumns(const FormatSelection& selection);

// Restyles one column: its column record takes the attribute, and so does
// every run of the column; runs that end up with the column's new style are
// dropped, the column record covering them. False when the style table is
// full or memory runs out (the workbook error code of which in *error, when
// given), the column then partly restyled.
bool ApplyFormatToColumn(StyleTable* table, uint16_t column, SheetFormat* format, int kind,
                         const StyleRecord& templateStyle, const FontRecord& templateFont,
                         uint8_t* error = nullptr);

// The kind applied to the rectangle of the active worksheet as a selection
// takes it (whole columns by their column records, the outline kind as an
// outline), without an undo step, and the styles compacted. False with the
// workbook's error set (kWorkbookOutOfMemory, kWorkbookTooManyStyles): the
// worksheet's formats are then as they were.
bool ApplyFormatToRectangle(CWorkBook* book, const FormatSelection& rect, int kind, const StyleRecord& templateStyle,
                            const FontRecord& templateFont);
// Refits the automatic heights of the active worksheet's rows first..last,
// up to the last row that holds a cell, a style run or a row record.
void RefitRowHeightsOfRows(CWorkBook* book, const TextMeasurer& measurer, uint32_t firstRow, uint32_t lastRow);
// Records one undo step of the selection's formats, applies the kind to the
// active worksheet's selection (kind 18: every border of the selection
// removed, then the template's border laid on its outer edges) and compacts
// the styles. With a measurer, font size and face changes (kinds 3, 4) and
// text-overflow changes (16) refit the automatic heights of the selected
// rows. False with the workbook's error set (kWorkbookOutOfMemory,
// kWorkbookTooManyStyles): the worksheet and the undo history are then as
// they were.
bool ApplyFormatToSelection(CWorkBook* book, const FormatSelection& selection, int kind,
                            const StyleRecord& templateStyle, const FontRecord& templateFont,
                            const TextMeasurer* measurer);

#endif
