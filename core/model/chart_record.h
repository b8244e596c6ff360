#ifndef TALVERO_CORE_CHART_RECORD_H
#define TALVERO_CORE_CHART_RECORD_H

// A chart inside a container: its options and up to 16 series, which files
// copy whole, and the state the chart painter derives from them (points,
// 3D scene, prepared layout), which is rebuilt after every load.

#include <cstddef>
#include <cstdint>

#include "core/model/color_font_record.h"
#include "core/styles/fill_and_border_line.h"
#include "core/cells/paged_array.h"
#include "core/model/series_record.h"

class DrawContext;
struct CellBlock;

enum ChartKind : uint8_t {
  kChart2D = 1,
  kChart3D = 2,
  kChartXY = 3,
};

// Bits of ChartRecord::flags.
constexpr uint8_t kChartDataLoaded = 1;
constexpr uint8_t kChartPrepared = 2;

constexpr int kChartMaxSeries = 16;
constexpr size_t kChartTitleSize = 128;  // NUL-terminated, at most 127 characters
constexpr size_t kChartStyleBlock1Size = 1188;
constexpr size_t kChartStyleBlock2Size = 1716;

// ChartRecord::Transform kinds.
enum MatrixTransform : int {
  kRotateAboutX = 1,
  kRotateAboutY = 2,
  kRotateAboutZ = 3,
  kScaleAll = 4,
  kScaleX = 5,
  kScaleY = 6,
  kResetToIdentity = 7,
};

#pragma pack(push, 1)

// The chart's own settings, kept in files as one 732-byte image.
struct ChartOptions {
  uint8_t kind;  // ChartKind
  uint8_t viewWidth;   // percent of the slot used by the plot
  uint8_t viewHeight;
  uint8_t barSize;     // percent
  uint8_t stackBarSize;
  uint8_t lineWidth3D;
  uint8_t pieTickness3D;
  uint8_t pieSplit;
  ColorFontRecord titleFont;
  char titleText[kChartTitleSize];
  ColorFontRecord subtitleFont;
  char subtitleText[kChartTitleSize];
  uint8_t legend;  // 0 none; 1..8 position and layout
  ColorFontRecord legendFont;
  uint8_t reserved1[3];
  int16_t rotationX;  // degrees; older files build the view matrix from them
  int16_t rotationY;
  int16_t rotationZ;
  uint16_t lightDirectionX;  // degrees
  uint16_t lightDirectionY;
  uint16_t perspective;
  uint8_t planeXY;  // shown flags of the walls and the floor
  uint8_t planeXZ;
  uint8_t planeYZ;
  uint8_t reserved2;
  FillRecord wallFill;
  BorderLine wallBorder;
  uint8_t seriesCount;  // used series; files may hold any byte
  uint8_t reserved3[3];
};

#pragma pack(pop)

static_assert(sizeof(ChartOptions) == 732, "chart options are 732 bytes");
static_assert(offsetof(ChartOptions, viewWidth) == 1, "the percent bytes follow the kind");
static_assert(offsetof(ChartOptions, pieSplit) == 7, "");
static_assert(offsetof(ChartOptions, titleFont) == 8, "");
static_assert(offsetof(ChartOptions, legendFont) == 545, "");
static_assert(offsetof(ChartOptions, rotationX) == 688, "");
static_assert(offsetof(ChartOptions, rotationY) == 690, "");
static_assert(offsetof(ChartOptions, rotationZ) == 692, "");
static_assert(offsetof(ChartOptions, lightDirectionX) == 694, "");
static_assert(offsetof(ChartOptions, planeXY) == 700, "");
static_assert(offsetof(ChartOptions, wallFill) == 704, "");
static_assert(offsetof(ChartOptions, wallBorder) == 720, "");
static_assert(offsetof(ChartOptions, seriesCount) == 728, "");

using ChartMatrix = float[4][4];
static_assert(sizeof(ChartMatrix) == 64, "view matrix is 64 bytes");

struct Matrix4 {
  // out = a x b for row-major matrices, each entry summed in floats from the
  // first term on; out must be distinct from a and b.
  static void Multiply(const ChartMatrix a, const ChartMatrix b, ChartMatrix out);
};

class ChartRecord {
 public:
  // A chart of the kind with its defaults, no points and nothing prepared.
  explicit ChartRecord(uint8_t kind);
  ~ChartRecord();
  ChartRecord(const ChartRecord&) = delete;
  ChartRecord& operator=(const ChartRecord&) = delete;

  // Clears the options (keeping the kind), resets the view matrix and sets the
  // defaults of the options and of all 16 series.
  void SetDefaults();

  // Makes this chart a copy of the source's settings: options, view matrix,
  // the settings of every used series and the zoom words. Points and
  // prepared state are not copied; this chart's own are dropped.
  void CopyFrom(const ChartRecord& source);

  // Forgets the points of every used series; the chart is then neither loaded
  // nor prepared.
  void ClearSeries();

  // Drops the prepared state: style blocks, drawing fields, 3D scene (pages
  // kept), the prepared flag and the error code.
  void ResetStyles();

  // Loads the evaluated series arrays (block chains with their column and row
  // counts, one per series) into the series' points through the loader the
  // charts layer installs at start-up; false with the chart's error code set.
  // Without a loader (a program built without charts) it loads nothing,
  // changes nothing and succeeds.
  bool LoadSeriesData(CellBlock* const* arrays, const uint16_t* columnCounts,
                      const uint32_t* rowCounts, uint32_t arrayCount);

  using SeriesDataLoader = bool (*)(ChartRecord& chart, CellBlock* const* arrays, const uint16_t* columnCounts,
                                    const uint32_t* rowCounts, uint32_t arrayCount);
  // The loader every later LoadSeriesData calls; null removes it.
  static void SetSeriesDataLoader(SeriesDataLoader loader);

  // matrix = L x matrix, L a rotation by `value` radians about the first,
  // second or third axis, a scaling of all axes, of x or of y by `value`;
  // kResetToIdentity sets the identity; other kinds change nothing.
  static void Transform(ChartMatrix matrix, int kind, double value);

  uint8_t Kind() const { return options.kind; }
  // The series count as far as the 16 series reach.
  int UsedSeriesCount() const;

  // True when the chart's kind is known and every point list is consistent;
  // for tests and debugging.
  bool CheckInvariants() const;

  uint8_t flags = 0;  // kChartDataLoaded, kChartPrepared
  uint8_t error = 0;  // code of the chart's last failure
  ChartOptions options;
  SeriesRecord series[kChartMaxSeries];
  SeriesLists seriesLists[kChartMaxSeries];

  // The 3D scene, built by the chart painter.
  PagedArray24 vertices;
  PagedArray52 faces;
  // Prepared layout of the chart painter; meaningless outside a preparation.
  uint8_t styleBlock1[kChartStyleBlock1Size];
  uint8_t styleBlock2[kChartStyleBlock2Size];

  ChartMatrix viewMatrix;
  DrawContext* drawContext = nullptr;  // of the current preparation, not owned
  uint32_t lineUnit = 4;
  uint16_t zoomX = 100;
  uint16_t zoomY = 100;
  double scale = 1.0;
};

#endif
