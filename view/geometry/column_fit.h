#ifndef TALVERO_VIEW_COLUMN_FIT_H
#define TALVERO_VIEW_COLUMN_FIT_H

// Automatic column widths: as wide as the widest shown text of the column's
// cells that do not wrap, in each cell's own font at zoom 100.

#include <cstdint>

#include "core/styles/text_measurer.h"

class CWorkSheet;
class StyleTable;

// The widest text + 2 x the style's horizontal indent + 2, at most 4095; 0
// when no cell counts.
uint16_t ColumnFitWidth(const TextMeasurer& measurer, const StyleTable& styles, CWorkSheet* sheet, uint16_t column);

// Gives each column of first..last its fit width, fixed; a column whose fit
// width is 0 goes back to the default width.
void AutoFitColumnWidths(const TextMeasurer& measurer, const StyleTable& styles, CWorkSheet* sheet,
                         uint16_t firstColumn, uint16_t lastColumn);

#endif
