#ifndef TALVERO_TESTS_FILES_CHART_COMPARE_H
#define TALVERO_TESTS_FILES_CHART_COMPARE_H

// Comparing a loaded chart with the one expected, byte for byte over what the
// files keep: the options, the view matrix and every used series' image.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/model/chart_record.h"

namespace filetest {

// The offset of the first differing byte, or -1.
inline long FirstDifference(const void* a, const void* b, size_t size) {
  const auto* x = static_cast<const uint8_t*>(a);
  const auto* y = static_cast<const uint8_t*>(b);
  for (size_t i = 0; i < size; ++i)
    if (x[i] != y[i])
      return long(i);
  return -1;
}

inline void ExpectChartsEqual(const ChartRecord& expected, const ChartRecord& loaded, const std::string& where) {
  EXPECT_EQ(FirstDifference(&expected.options, &loaded.options, sizeof expected.options), -1) << where << " options";
  EXPECT_EQ(FirstDifference(expected.viewMatrix, loaded.viewMatrix, sizeof expected.viewMatrix), -1)
      << where << " matrix";
  for (int i = 0; i < expected.options.seriesCount; ++i)
    EXPECT_EQ(FirstDifference(&expected.series[i], &loaded.series[i], kSeriesImageSize), -1)
        << where << " series " << i << " role " << int(expected.series[i].role);
}

}  // namespace filetest

#endif
