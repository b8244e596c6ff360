#ifndef TALVERO_CHARTS_SERIES_LOAD_SERIES_DATA_H
#define TALVERO_CHARTS_SERIES_LOAD_SERIES_DATA_H

// A chart's series from the arrays their formulas evaluated to: numbers
// become points, the cells of a category series labels; then the series are
// stacked, limited and normalised (compute_scales.h). Every load starts from
// empty series and an unprepared chart.

#include <cstdint>

#include "core/cells/block_store.h"
#include "core/model/chart_record.h"

// Loads array i (a chain of cell records at 0-based positions, null for
// none, with its column and row counts) into used series i; a series beyond
// arrayCount gets no cells. True with the chart loaded; otherwise every
// series has lost its points, the chart is neither loaded nor prepared and
// its error code says why (27 out of memory, 28 a category cell that is no
// value, 29 or 30 from scaling).
bool LoadSeriesData(ChartRecord& chart, CellBlock* const* arrays, const uint16_t* columnCounts,
                    const uint32_t* rowCounts, uint32_t arrayCount);

// Series `index` from the cells of a rows x columns array (a category series
// through LoadCategories): a number cell without an error, inside the array,
// gives point row * columns + column; values that cannot be shown, that a log
// scale cannot take or that lie outside the data range are kept out of the
// statistics. False with error 27 when the points find no room.
bool LoadSeriesPoints(ChartRecord& chart, int index, CellBlock* cells, uint32_t rows, uint32_t columns);

// The labels of category series `index`, each its cell's text through the
// series' number format, cut to 42 characters; the category step grows by
// factors of 1000 until at most 65534 labels remain, and `Periods` takes
// their count. False with error 27 out of memory, 28 for a cell that is
// neither text nor number.
bool LoadCategories(ChartRecord& chart, int index, CellBlock* cells, uint32_t rows, uint32_t columns);

#endif
