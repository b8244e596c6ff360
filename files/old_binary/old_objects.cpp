// The objects of an older worksheet: text boxes and charts, serialised with
// their class names, each becoming a container anchored at its cell.
//
// The layouts read here, after each object's class tag:
//   rectangle   4 x i32: left, top, right, bottom in pixels
//   anchor      2 x u64: column, row (from 0)
//   "TextObj"   a 216-byte block: LOGFONT at 0, text colour u32 at 60,
//               option bits u32 at 64, fill colour u32 at 68, 16 fractal
//               colours u32 at 72, six fractal doubles at 136; then the text
//               (u32 length and bytes) and, with option bit 0 or 1, the
//               picture (u32 name length, name, flag byte; without flag
//               bit 0 a u32 count of embedded picture bytes follows them)
//   "GraphObj"  a 2640-byte chart: type u32 at 0, flags u32 at 4 (bit 0 XY,
//               bit 1 horizontal), label range and data range as four u32
//               each (first column, first row, last column, last row) at 8
//               and 24, title flag u32 at 40, title LOGFONT at 44, title
//               colour u32 at 104, title text (128 bytes) at 108

#include <cstdio>
#include <cstring>
#include <memory>

#include "core/model/chart_record.h"
#include "core/workbook/container_id_set.h"
#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/old_binary/old_binary.h"
#include "files/old_binary/old_binary_source.h"

namespace {

constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kClassIndexMask = 0x7FFF;
constexpr uint16_t kMaxObjects = 65534;
constexpr size_t kTextBlockSize = 216;
constexpr size_t kChartBlockSize = 2640;
constexpr uint32_t kLongestText = 65535;
constexpr uint32_t kLongestPicture = 0x7FFFFFFF;
constexpr int32_t kLargestExtent = 32767;

enum OldClass : uint8_t { kClassNone = 0, kClassGraph = 1, kClassText = 2 };

// The class an object's tag names, introducing a new one on 0xFFFF.
uint8_t ReadClass(OldBinarySource& in, uint8_t* classes, uint32_t* classCount) {
  const uint16_t tag = in.U16();
  if (tag != kNewClassTag) {
    const uint32_t index = tag & kClassIndexMask;
    if (index < 1 || index > *classCount)
      ThrowOldBinaryError(kFileBadFormat);
    return classes[index - 1];
  }
  in.U16();  // the schema
  const uint16_t length = in.U16();
  char name[9] = {};
  if (length > 8 || *classCount >= 2)
    ThrowOldBinaryError(kFileBadFormat);
  in.Read(name, length);
  uint8_t kind = kClassNone;
  if (!std::strcmp(name, "GraphObj"))
    kind = kClassGraph;
  else if (!std::strcmp(name, "TextObj"))
    kind = kClassText;
  else
    ThrowOldBinaryError(kFileBadFormat);
  classes[(*classCount)++] = kind;
  return kind;
}

int32_t Extent(int32_t from, int32_t to) {
  const int64_t extent = int64_t(to) - int64_t(from);
  return int32_t(extent < 1 ? 1 : extent > kLargestExtent ? kLargestExtent : extent);
}

void ReadPlacement(OldBinarySource& in, ContainerRecord* container) {
  int32_t r[4];
  for (int32_t& value : r) value = int32_t(in.U32());
  const uint64_t column = uint64_t(in.U32()) | uint64_t(in.U32()) << 32;
  const uint64_t row = uint64_t(in.U32()) | uint64_t(in.U32()) << 32;
  if (column >= kColumnCount || row >= kRowCount)
    ThrowOldBinaryError(kFileBadFormat);
  const ContainerAnchor anchor{uint16_t(column), uint32_t(row), uint8_t(9)};
  const ContainerRect rect{0, 0, Extent(r[0], r[2]), Extent(r[1], r[3])};
  container->Init(&anchor, &rect);
}

void ReadTextObject(OldBinarySource& in, ContainerRecord* container) {
  uint8_t block[kTextBlockSize];
  in.Read(block, sizeof block);
  ContainerHeader& header = container->header;
  ConvertOldFont(block, &header.titleFont.font);
  header.titleFont.color = OldU32At(block + 60);
  header.titleFont.colorSet = 1;
  const uint32_t options = OldU32At(block + 64);
  ReadOldText(in, header.titleText, sizeof header.titleText, kLongestText);
  if (options & 3) {
    char name[kContainerImageNameSize];
    ReadOldText(in, name, sizeof name, kLongestText);
    const uint8_t flag = in.U8();
    if (flag & 1) {
      header.backgroundKind = kBackgroundImage;
      std::memcpy(header.imageName, name, sizeof name);
    } else {
      const uint32_t bytes = in.U32();
      if (bytes > kLongestPicture)
        ThrowOldBinaryError(kFileBadFormat);
      in.Skip(bytes);
    }
  } else if (options & 4) {
    header.backgroundKind = kBackgroundFractal;
    for (int i = 0; i < kPaletteSize; ++i) header.palette[i] = OldU32At(block + 72 + 4 * i);
    double values[6];
    std::memcpy(values, block + 136, sizeof values);
    header.fractal = FractalParameters{values[0], values[1], values[2], values[3], values[4], values[5]};
  } else {
    header.backgroundKind = kBackgroundPattern;
    header.fill.pattern = 1;
    header.fill.patternColor = OldU32At(block + 68);
    header.fill.patternColorSet = 1;
  }
}

struct ChartKind {
  uint8_t kind;
  uint8_t view;
};

ChartKind KindOfOldChart(uint32_t type, uint32_t flags) {
  const bool horizontal = (flags & 2) != 0;
  if (flags & 1)
    return {kChartXY, kViewScatter};
  if (type <= 2)
    return {kChart2D, uint8_t(horizontal ? kViewBar : kViewColumn)};
  switch (type) {
    case 3: return {kChart2D, kViewScatter};
    case 4: return {kChart2D, kViewLine};
    case 5: return {kChart2D, kViewArea};
    case 6: return {kChart2D, kViewPie};
    case 7: case 8: case 9: return {kChart3D, uint8_t(horizontal ? kViewBar3D : kViewColumn3D)};
    case 10: case 11: return {kChart3D, kViewLine3D};
    case 12: return {kChart3D, kViewArea3D};
    case 13: return {kChart3D, kViewPie3D};
    default: ThrowOldBinaryError(kFileBadFormat);
  }
}

struct OldRange {
  uint32_t firstColumn, firstRow, lastColumn, lastRow;
};

OldRange RangeAt(const uint8_t* p) {
  const OldRange range{OldU32At(p), OldU32At(p + 4), OldU32At(p + 8), OldU32At(p + 12)};
  if (range.firstColumn > range.lastColumn || range.firstRow > range.lastRow || range.lastColumn >= kColumnCount ||
      range.lastRow >= kRowCount)
    ThrowOldBinaryError(kFileBadFormat);
  return range;
}

void SetSeries(SeriesRecord* series, int number, uint8_t role, uint8_t view, uint32_t firstRow, uint32_t firstColumn,
               uint32_t lastRow, uint32_t lastColumn) {
  series->role = role;
  series->viewType = view;
  std::snprintf(series->name, sizeof series->name, "series %d", number);
  std::snprintf(series->dataArray, sizeof series->dataArray, "=r%uc%u:r%uc%u", unsigned(firstRow + 1),
                unsigned(firstColumn + 1), unsigned(lastRow + 1), unsigned(lastColumn + 1));
  if (number > 1)
    std::snprintf(series->relatedX, sizeof series->relatedX, "series 1");
}

void ReadChartObject(OldBinarySource& in, ContainerRecord* container) {
  static thread_local uint8_t block[kChartBlockSize];
  in.Read(block, sizeof block);
  const ChartKind kind = KindOfOldChart(OldU32At(block), OldU32At(block + 4));
  const OldRange labels = RangeAt(block + 8);
  const OldRange data = RangeAt(block + 24);
  std::unique_ptr<ChartRecord> chart(new ChartRecord(kind.kind));
  ChartOptions& options = chart->options;
  SetSeries(&chart->series[0], 1, kind.kind == kChartXY ? kSeriesXValues : kSeriesCategories, kind.view,
            labels.firstRow, labels.firstColumn, labels.lastRow, labels.lastColumn);
  int count = 1;
  for (uint32_t row = data.firstRow; row <= data.lastRow && count < kChartMaxSeries; ++row, ++count)
    SetSeries(&chart->series[count], count + 1, kSeriesData, kind.view, row, data.firstColumn, row,
              data.lastColumn);
  options.seriesCount = uint8_t(count);
  if (OldU32At(block + 40)) {
    ConvertOldFont(block + 44, &options.titleFont.font);
    options.titleFont.color = OldU32At(block + 104);
    options.titleFont.colorSet = 1;
    const char* title = reinterpret_cast<const char*>(block + 108);
    const size_t length = strnlen(title, kChartTitleSize - 1);
    std::memcpy(options.titleText, title, length);
    options.titleText[length] = 0;
  }
  container->items[0].kind = kItemChart;
  container->items[0].chart = chart.release();
  container->header.itemCount = 1;
}

}  // namespace

void ReadOldObjects(OldBinarySource& in, CWorkSheet* sheet, ContainerIdSet* ids) {
  const uint16_t count = in.U16();
  if (count > kMaxObjects)
    ThrowOldBinaryError(kFileBadFormat);
  uint8_t classes[2] = {};
  uint32_t classCount = 0;
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t kind = ReadClass(in, classes, &classCount);
    std::unique_ptr<ContainerRecord> container(new ContainerRecord);
    ReadPlacement(in, container.get());
    if (kind == kClassText)
      ReadTextObject(in, container.get());
    else
      ReadChartObject(in, container.get());
    container->header.id = ids->TakeSmallestFree();
    if (!container->header.id)
      ThrowOldBinaryError(kWorkbookTooManyContainers);
    sheet->AddContainer(container.release());
  }
}
