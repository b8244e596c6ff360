#ifndef TALVERO_CHARTS_SERIES_CHART_ERRORS_H
#define TALVERO_CHARTS_SERIES_CHART_ERRORS_H

// The codes a chart keeps in its error byte; the error-message table holds
// their texts.

#include <cstdint>

enum ChartErrorCode : uint8_t {
  kChartNoError = 0,
  kChartOutOfMemory = 27,    // "Out of memory while creating chart data"
  kChartNeedsArray = 28,     // "An array formula is required to generate a chart data series"
  kChartStackMismatch = 29,  // stacked series with different scales or data ranges
  kChartInvalidLimits = 30,  // "Invalid numbers while calculating axis limits"
};

#endif
