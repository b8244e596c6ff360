#ifndef TALVERO_CORE_SERIES_RECORD_H
#define TALVERO_CORE_SERIES_RECORD_H

// One data series of a chart: its settings, which files copy whole (the first
// 3528 bytes), and what the chart derives from its points (the last 160
// bytes). The points themselves live in SeriesLists beside the record, so the
// record holds no pointer and is written as it stands.

#include <cstddef>
#include <cstdint>

#include "core/model/color_font_record.h"
#include "core/styles/fill_and_border_line.h"
#include "core/numfmt/num_format_params.h"
#include "core/cells/paged_array.h"

enum SeriesRole : uint8_t {
  kSeriesData = 1,
  kSeriesXValues = 2,
  kSeriesCategories = 3,
  kSeriesErrorBars = 4,
};

enum SeriesViewType : uint8_t {
  kViewColumn = 1,
  kViewBar = 2,
  kViewLine = 3,
  kViewArea = 4,
  kViewPie = 5,
  kViewScatter = 6,
  kViewColumn3D = 7,
  kViewBar3D = 8,
  kViewLine3D = 9,
  kViewArea3D = 10,
  kViewPie3D = 11,
};

// Bits of SeriesRecord::flags.
constexpr uint16_t kSeriesFromValueSet = 2;
constexpr uint16_t kSeriesToValueSet = 4;
constexpr uint16_t kSeriesFixedLimits = 8;  // derived from the points

constexpr size_t kSeriesTextSize = 128;     // NUL-terminated names and titles
constexpr size_t kSeriesFormulaSize = 1025; // at most 1024 characters and a NUL
constexpr int kSeriesSliceCount = 16;
constexpr int kSeriesUserGridLines = 16;
constexpr size_t kSeriesImageSize = 3528;   // the part files keep

struct SeriesLists;

#pragma pack(push, 1)

// Derived from the points when they are loaded; emptied with them.
struct SeriesLimits {
  uint8_t state;   // signs seen, cut points, order against the first value
  uint8_t scaled;  // minimum and maximum are the final axis limits
  uint8_t reserved1[6];
  double minimum;
  double maximum;
  double logMinimum;  // the limits in logarithmic units, log scales only
  double logMaximum;
  float low;     // normalised axis ends relative to the base line
  float high;
  float offset;  // applied to every point
  uint8_t reserved2[108];
};

struct SeriesRecord {
  uint8_t role;   // SeriesRole
  uint8_t scale;  // 0 linear, 1 base 2, 2 natural, 3 base 10 logarithm
  uint16_t flags;
  uint8_t reserved1[4];
  double fromValue;
  double fixedMinimum;
  double toValue;
  double fixedMaximum;
  uint16_t periods;     // axis divisions; labels of a category series
  uint16_t subperiods;  // subdivisions of each division
  uint32_t divisor;     // categories per label
  char name[kSeriesTextSize];
  char relatedX[kSeriesTextSize];      // series holding the categories or X values
  char relatedSigma[kSeriesTextSize];  // series holding the error bars
  char dataArray[kSeriesFormulaSize];  // array formula in stored form
  uint8_t reserved2[3];
  NumFormatParams numberFormat;
  uint8_t viewType;  // SeriesViewType
  uint8_t stacked;
  uint8_t relative;
  uint8_t visible;    // also decides the legend entry
  uint8_t labelKind;  // data-point labels: 0 none, 1 X, 2 Y, 3 X/Y, 4 Y/X
  uint8_t symbol;     // marker kind
  uint8_t axisType;   // 0 none, 1 first, 2 second, 3 both axes
  uint8_t sliceCount;
  ColorFontRecord labelFont;
  BorderLine line;
  FillRecord fill;
  BorderLine connectingLine;
  FillRecord sliceFills[kSeriesSliceCount];
  uint16_t axisFlags;
  uint8_t reserved3[2];
  BorderLine axisLine;
  ColorFontRecord axisTitleFont;
  char axisTitleText[kSeriesTextSize];
  BorderLine majorGrid;
  BorderLine minorGrid;
  uint8_t userGridCount;
  uint8_t reserved4[7];
  BorderLine userGridLines[kSeriesUserGridLines];
  double userGridValues[kSeriesUserGridLines];
  uint8_t reserved5[8];
  SeriesLimits limits;

  // Clears the record and sets the defaults of series `index` of a chart of
  // the given kind: the chart kind's own view type, the program palette's
  // colour index mod 16, solid slices in the palette's colours.
  void SetDefaults(uint8_t chartKind, uint32_t index);

  // Forgets the series' points: its lists are emptied (their pages kept for
  // the next load), its limits zeroed and its derived fixed-limits flag
  // cleared.
  void ClearPoints(SeriesLists& lists);
};

#pragma pack(pop)

static_assert(sizeof(SeriesLimits) == 160, "derived part of a series is 160 bytes");
static_assert(sizeof(SeriesRecord) == 3688, "series record is 3688 bytes");
static_assert(offsetof(SeriesRecord, limits) == kSeriesImageSize, "files keep what precedes the limits");
static_assert(offsetof(SeriesRecord, flags) == 2, "");
static_assert(offsetof(SeriesRecord, fromValue) == 8, "");
static_assert(offsetof(SeriesRecord, periods) == 40, "");
static_assert(offsetof(SeriesRecord, name) == 48, "");
static_assert(offsetof(SeriesRecord, dataArray) == 432, "");
static_assert(offsetof(SeriesRecord, numberFormat) == 1460, "");
static_assert(offsetof(SeriesRecord, viewType) == 2524, "");
static_assert(offsetof(SeriesRecord, labelFont) == 2532, "");
static_assert(offsetof(SeriesRecord, sliceFills) == 2704, "");
static_assert(offsetof(SeriesRecord, axisFlags) == 2960, "");
static_assert(offsetof(SeriesRecord, axisTitleText) == 3112, "");
static_assert(offsetof(SeriesRecord, userGridLines) == 3264, "");
static_assert(offsetof(SeriesRecord, userGridValues) == 3392, "");

// The points of one series; they belong to the chart that holds the series.
struct SeriesLists {
  PagedArray16 points;      // value, normalised coordinate, flags
  PagedArray44 categories;  // label text and flags; category series only
  PagedArray24 labels;      // placements of the data-point labels

  // Empties the three lists, keeping their pages for the next load.
  void Clear();
  // Releases every page of the three lists.
  void Free();
};

#endif
