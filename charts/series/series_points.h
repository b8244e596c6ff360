#ifndef TALVERO_CHARTS_SERIES_SERIES_POINTS_H
#define TALVERO_CHARTS_SERIES_SERIES_POINTS_H

// The records of a series' point and category lists, and the bits that
// describe them. Records lie byte-aligned in the lists' pages and are read
// through these packed types.

#include <cstddef>
#include <cstdint>

#include "core/model/series_record.h"

// Flags of a point.
constexpr uint8_t kPointPositive = 1;
constexpr uint8_t kPointNegative = 2;
constexpr uint8_t kPointZero = 4;
constexpr uint8_t kPointCut = 8;       // outside the data range or its stack's range
constexpr uint8_t kPointMissing = 16;  // no value, or none that can be shown
constexpr uint8_t kPointSigns = kPointPositive | kPointNegative | kPointZero;

// Bits of SeriesLimits::state.
constexpr uint8_t kStatePositive = 1;
constexpr uint8_t kStateNegative = 2;
constexpr uint8_t kStateZero = 4;
constexpr uint8_t kStateSomeCut = 8;
constexpr uint8_t kStateNoneBelowFirst = 32;
constexpr uint8_t kStateNoneAboveFirst = 64;  // only without kStateNoneBelowFirst
constexpr uint8_t kStateSigns = kStatePositive | kStateNegative | kStateZero;

// A category label holds at most this many characters.
constexpr size_t kCategoryTextSize = 43;  // with its NUL

#pragma pack(push, 1)

struct SeriesPoint {
  double value;
  float position;  // normalised along the axis: 0 at its minimum, 1 at its maximum
  uint8_t flags;
  uint8_t reserved[3];
};

struct CategoryLabel {
  char text[kCategoryTextSize];
  uint8_t flags;  // kPointMissing while no cell gave a label
};

#pragma pack(pop)

static_assert(sizeof(SeriesPoint) == 16, "points are 16 bytes");
static_assert(offsetof(SeriesPoint, position) == 8 && offsetof(SeriesPoint, flags) == 12, "");
static_assert(sizeof(CategoryLabel) == 44, "category labels are 44 bytes");

inline SeriesPoint* PointAt(SeriesLists& lists, uint32_t i) {
  return reinterpret_cast<SeriesPoint*>(lists.points.At(i));
}
inline const SeriesPoint* PointAt(const SeriesLists& lists, uint32_t i) {
  return reinterpret_cast<const SeriesPoint*>(lists.points.At(i));
}
inline CategoryLabel* CategoryAt(SeriesLists& lists, uint32_t i) {
  return reinterpret_cast<CategoryLabel*>(lists.categories.At(i));
}
inline const CategoryLabel* CategoryAt(const SeriesLists& lists, uint32_t i) {
  return reinterpret_cast<const CategoryLabel*>(lists.categories.At(i));
}

// A point that stands on its axis: neither cut nor missing.
inline bool IsUsablePoint(const SeriesPoint& point) { return (point.flags & (kPointCut | kPointMissing)) == 0; }

// Whether some value of the series was stored (its sign was seen).
inline bool HasValues(const SeriesRecord& series) { return (series.limits.state & kStateSigns) != 0; }

#endif
