#ifndef TALVERO_CORE_DEFAULT_SIZES_H
#define TALVERO_CORE_DEFAULT_SIZES_H

// The width of a column and the height of a row that have no size of their
// own: 9 times the width of "X", and the height of "X" plus 2, in the
// screen's own font, measured once and kept in the sheet format.

#include <cstdint>

#include "core/styles/text_measurer.h"

class SheetFormat;

uint16_t GetDefaultColumnWidth(SheetFormat* format, const TextMeasurer& measurer);
uint16_t GetDefaultRowHeight(SheetFormat* format, const TextMeasurer& measurer);

#endif
