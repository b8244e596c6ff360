#ifndef TALVERO_CORE_DATA_SERIES_H
#define TALVERO_CORE_DATA_SERIES_H

// A data series: the cells of a rectangle filled from one or two seed cells
// at its start (or, when its first cell is empty, at its end), counting on
// from them row by row and left to right.

#include <cstdint>

#include "core/edit/reference_adjust.h"

class CWorkBook;

enum DataSeriesOutcome : uint8_t {
  kSeriesFilled = 0,
  // A single cell is no series: nothing happens.
  kSeriesOneCell = 1,
  // Neither the first nor the last cell holds a seed: nothing happens.
  kSeriesNoSeed = 2,
  // The workbook's error says why; see FillDataSeries.
  kSeriesFailed = 3,
  // The seed shows an empty text: nothing to fill.
  kSeriesEmptySeed = 4,
};

// Fills the rectangle of the active worksheet. The first cell (top-left)
// and the next one (to its right when the rectangle is wider than one
// column, else below it) are the seeds of a forward series; without a first
// cell, the last cell (bottom-right) and the one before it those of a
// backward one. Each seed is read as its shown text typed again: a number
// starts a numeric series whose step is the second seed minus the first
// (1, or -1 backwards, without a numeric second seed); an ISO date, time or
// date-time starts a series of such texts whose step is the difference of
// the two seeds in days, hours, minutes and seconds (one day, or one hour
// for a seed with a time, without a second one); any other text is
// repeated; an empty text fills nothing (kSeriesEmptySeed). The cell k
// places into the series (counted from the seed's end) gets start + k x
// step as a number or ISO text cell, replacing what it held; a number
// beyond the largest there is becomes the error #NUM!, and a date beyond
// the calendar leaves its cell as it was. One undo step records the
// rectangle's cells first.
// kSeriesFailed with the workbook's error: kWorkbookOutOfMemory (the cells
// filled before stay, and the step with them), or
// kWorkbookInvalidCacheIndex without an active worksheet.
uint8_t FillDataSeries(CWorkBook* book, const CellRange& range);

#endif
