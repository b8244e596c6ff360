#ifndef TALVERO_CHARTS_FRAME_CHART_LAYOUT_H
#define TALVERO_CHARTS_FRAME_CHART_LAYOUT_H

// The prepared state of a chart besides its vertex and face lists: the
// margins and plot size of the slot it was prepared for, the planes, the
// grid records and the axis records. It lives in the chart's two style
// blocks, which every reset clears; a preparation writes it and each drawing
// reads it back.

#include <cstddef>
#include <cstdint>

#include "core/model/chart_record.h"

// Positions of the plane records.
enum PlaneSlot : int {
  kPlaneXY = 0,  // the wall behind the plot
  kPlaneXZ = 1,  // the floor
  kPlaneYZ = 2,  // the side wall
  kPlaneCount = 3,
};

// The wall a grid record lies on.
enum WallIndex : uint8_t {
  kWallXY = 0,
  kWallYZ = 1,
  kWallXZ = 2,
};

// Position codes of an axis.
enum AxisPositionCode : uint8_t {
  kAxisNone = 0,
  kAxisLeft = 1,
  kAxisRight = 2,
  kAxisTop = 4,
  kAxisBottom = 8,
  kAxisLeft3D = 16,      // the 3D value axis
  kAxisBottom3D = 32,    // the 3D category axis
  kAxisRight3D = 128,    // the 3D second value axis beside bars
};

// Every series but error bars has a grid on the XY wall, and a data or
// X-values series one more on a 3D wall or floor.
constexpr int kMaxGridRecords = 2 * kChartMaxSeries;
constexpr int kMaxAxisRecords = 33;

#pragma pack(push, 1)

// One vertex of the scene: model values as built, view values as projected
// (for a flat chart a copy of the model values; while drawing, device pixels).
struct VertexRecord {
  float viewX;
  float modelX;
  float viewY;
  float modelY;
  float viewZ;
  float modelZ;
};

struct PlaneRecord {
  uint8_t present;
  uint8_t visible;
  uint32_t firstVertex;  // four corners, then the pairs of the extra lines
  uint32_t extraLines;
  float normal[3];
};

struct GridRecord {
  uint8_t wall;    // WallIndex
  uint8_t series;  // whose grid settings apply
  uint32_t firstVertex;
  uint32_t majorLines;  // vertex pairs, then the minor pairs, then the user pairs
  uint32_t minorLines;
  uint16_t userLines;  // bit k: user grid line k took the next pair
};

struct AxisRecord {
  uint8_t position;  // AxisPositionCode
  uint8_t series;
  uint32_t firstVertex;  // four line vertices, the major tick pairs, the minor tick pairs
  uint32_t majorTicks;
  uint32_t minorTicks;
  int32_t labelWidth;  // of the widest label
  int32_t labelHeight;
  int32_t titleWidth;
  int32_t titleHeight;
  uint32_t extent;  // labels and title across the axis, in pixels
  float normal[3];
};

struct ChartMargins {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

struct ChartLayout {
  ChartMargins margins;  // inside the slot
  int32_t plotWidth;
  int32_t plotHeight;
  // What the preparation was made for besides the zoom pair.
  int32_t slotWidth;
  int32_t slotHeight;
  uint8_t printing;
  float light[3];
  PlaneRecord planes[kPlaneCount];
  uint8_t gridCount;
  GridRecord grids[kMaxGridRecords];
};

struct AxisTable {
  uint8_t count;
  AxisRecord records[kMaxAxisRecords];
};

#pragma pack(pop)

static_assert(sizeof(VertexRecord) == 24, "vertices are 24 bytes");
static_assert(sizeof(ChartLayout) <= kChartStyleBlock1Size, "the layout fits the first style block");
static_assert(sizeof(AxisTable) <= kChartStyleBlock2Size, "the axis records fit the second style block");

// The prepared state as the chart keeps it; a cleared chart gives zeros.
void LoadLayout(const ChartRecord& chart, ChartLayout* layout, AxisTable* axes);
void StoreLayout(ChartRecord& chart, const ChartLayout& layout, const AxisTable& axes);

#endif
