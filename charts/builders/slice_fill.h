#ifndef TALVERO_CHARTS_BUILDERS_SLICE_FILL_H
#define TALVERO_CHARTS_BUILDERS_SLICE_FILL_H

// Which of a pie series' slice fills a slice takes: the fills repeat in
// point order.

#include <cstdint>

#include "core/model/series_record.h"

// The point's fill, the point index modulo the slice-fill count. A count of
// 0 or above the 16 fills a series holds (as a file may store it) counts as
// 16.
inline int SliceFillIndex(const SeriesRecord& series, uint32_t point) {
  const uint32_t count =
      series.sliceCount >= 1 && series.sliceCount <= kSeriesSliceCount ? series.sliceCount : kSeriesSliceCount;
  return static_cast<int>(point % count);
}

#endif
