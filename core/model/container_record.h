#ifndef TALVERO_CORE_CONTAINER_RECORD_H
#define TALVERO_CORE_CONTAINER_RECORD_H

// A box anchored to a cell that lays out up to 255 charts or images in a small
// grid. Files copy its 984-byte header whole, so the header holds no pointer;
// the items, the cached fractal picture and the list links follow it.

#include <cstddef>
#include <cstdint>

#include "core/model/color_font_record.h"
#include "core/styles/fill_and_border_line.h"
#include "core/base/scheme_colors.h"

class ChartRecord;

enum ContainerItemKind : uint8_t {
  kItemEmpty = 0,
  kItemChart = 1,
  kItemImage = 2,
};

enum ContainerBackground : uint8_t {
  kBackgroundNone = 0,
  kBackgroundPattern = 1,
  kBackgroundImage = 2,
  kBackgroundFractal = 3,
};

constexpr int kContainerMaxItems = 255;
// Columns and rows of the item grid: any byte but 0, as files hold them.
constexpr int kContainerMaxGridLines = 255;
constexpr size_t kContainerTextSize = 128;       // titles, NUL-terminated
constexpr size_t kContainerImageNameSize = 256;  // NUL-terminated
constexpr uint16_t kContainerMaxId = 65533;      // ids run from 1

// Codes of ContainerRecord::error.
constexpr uint8_t kContainerErrorOutOfMemory = 4;  // "Out of memory while allocating container data"
constexpr uint8_t kContainerErrorTooManyItems = 7; // "There can be max. 255 objects in one container"

#pragma pack(push, 1)

// The anchor cell: column and row from 0, reference flags (1 row given,
// 8 column given).
struct ContainerAnchor {
  uint16_t column;
  uint32_t row;
  uint8_t flags;
};

// Pixel offsets of the box from the anchor cell's top-left corner, at zoom 100.
struct ContainerRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

// The region of the Julia set a fractal background shows.
struct FractalParameters {
  double zr;  // real part of the constant
  double zi;  // imaginary part
  double minX;
  double maxX;
  double minY;
  double maxY;
};

// The region a new container's fractal background shows.
inline constexpr FractalParameters kDefaultFractal = {0.11, 0.66, -1.1, 1.1, -1.1, 1.1};

struct ContainerHeader {
  uint16_t id;  // unique in the workbook, 1..kContainerMaxId; 0 until assigned
  uint8_t columns;  // of the item grid
  uint8_t rows;
  uint8_t verticalSpacing;    // pixels at zoom 100
  uint8_t horizontalSpacing;
  uint8_t opacity;  // percent
  uint8_t reserved1;
  ContainerAnchor anchor;
  uint8_t reserved2[5];
  ContainerRect rect;
  ColorFontRecord titleFont;
  char titleText[kContainerTextSize];
  ColorFontRecord subtitleFont;
  char subtitleText[kContainerTextSize];
  uint8_t backgroundKind;  // ContainerBackground
  uint8_t reserved3[3];
  FillRecord fill;
  char imageName[kContainerImageNameSize];
  uint8_t imageView;  // 0 own size, 1 fit to the box, 2 tiled
  uint8_t reserved4[7];
  FractalParameters fractal;
  uint32_t palette[kPaletteSize];  // colours of the fractal
  BorderLine border;
  uint8_t itemCount;  // at most kContainerMaxItems
  uint8_t reserved5[7];
};

#pragma pack(pop)

static_assert(sizeof(ContainerAnchor) == 7, "anchor is a 7-byte reference corner");
static_assert(sizeof(FractalParameters) == 48, "");
static_assert(sizeof(ContainerHeader) == 984, "container header is 984 bytes");
static_assert(offsetof(ContainerHeader, id) == 0, "files find the id first");
static_assert(offsetof(ContainerHeader, anchor) == 8, "");
static_assert(offsetof(ContainerHeader, rect) == 20, "");
static_assert(offsetof(ContainerHeader, titleFont) == 36, "");
static_assert(offsetof(ContainerHeader, subtitleFont) == 304, "");
static_assert(offsetof(ContainerHeader, backgroundKind) == 572, "");
static_assert(offsetof(ContainerHeader, fill) == 576, "");
static_assert(offsetof(ContainerHeader, imageName) == 592, "");
static_assert(offsetof(ContainerHeader, fractal) == 856, "");
static_assert(offsetof(ContainerHeader, palette) == 904, "");
static_assert(offsetof(ContainerHeader, border) == 968, "");
static_assert(offsetof(ContainerHeader, itemCount) == 976, "files find the item count here");

struct ContainerItem {
  uint8_t kind = kItemEmpty;   // ContainerItemKind
  uint16_t imageId = 0;        // image items: the document's image
  ChartRecord* chart = nullptr;  // chart items: owned
};

// Every container and chart allocation comes through this gate first; tests
// replace it to make an allocation fail. Null restores the default, which
// allows every allocation.
using ContainerAllocationGate = bool (*)(size_t bytes);
void SetContainerAllocationGateForTesting(ContainerAllocationGate gate);

// A new chart of the kind with its defaults, through the gate; null when the
// allocation fails.
ChartRecord* NewContainerChart(uint8_t kind);

class ContainerRecord {
 public:
  // Initialised, with no items, no links and no error.
  ContainerRecord();
  ~ContainerRecord();
  ContainerRecord(const ContainerRecord&) = delete;
  ContainerRecord& operator=(const ContainerRecord&) = delete;

  // Releases what the container holds, then gives the header its defaults:
  // the anchor and rectangle when given, else flags 9 and 10, 10, 360, 260.
  // The list links stay as they are.
  void Init(const ContainerAnchor* anchor = nullptr, const ContainerRect* rect = nullptr);

  // Deletes every chart, empties every item slot, drops the fractal picture;
  // item count 0, nothing selected. The header otherwise stays.
  void Clear();

  // Makes this container a deep copy of the source: its header, copies of its
  // charts and its selection. When an allocation fails, this container is
  // left as it was and both containers' error bytes are set to
  // kContainerErrorOutOfMemory.
  bool CopyFrom(ContainerRecord& source);

  // A new unlinked copy of this container, or null with this container's
  // error set to kContainerErrorOutOfMemory.
  ContainerRecord* Clone();

  // True when every chart item owns a chart of its own that is consistent and
  // no other item owns one; for tests and debugging.
  bool CheckInvariants() const;

  ContainerHeader header;
  // The rendered fractal background as one std::malloc block (a packed
  // device-independent bitmap), owned; rebuilt by the painter when null.
  uint8_t* fractalPicture = nullptr;
  int32_t selectedItem = -1;
  ContainerItem items[kContainerMaxItems];
  ContainerRecord* previous = nullptr;  // the worksheet's container list
  ContainerRecord* next = nullptr;
  uint8_t error = 0;
};

#endif
