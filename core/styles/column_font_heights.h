#ifndef TALVERO_CORE_COLUMN_FONT_HEIGHTS_H
#define TALVERO_CORE_COLUMN_FONT_HEIGHTS_H

// The font height each column's style asks of the rows, kept in the column
// records so that a row's height needs no font work when it is painted.

#include <cstdint>

#include "core/styles/text_measurer.h"

class SheetFormat;
class StyleTable;

// For each column of first..last (none when first > last): the height of "X"
// in the column style's font at zoom 100, plus 2, at most 4095; 0 when the
// style fits its text to the cell or uses the default (all-zero) font. The
// upper four bits of the word are kept. Indexes beyond the tables mean entry
// 0. False when a font could not be selected or measured (that column gets 0).
bool ComputeColumnFontHeights(const TextMeasurer& measurer, const StyleTable& styles, SheetFormat* format,
                              uint32_t firstColumn, uint32_t lastColumn);

#endif
