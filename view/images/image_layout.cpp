#include "view/images/image_layout.h"

#include <cstring>

#include "view/geometry/sheet_sizes.h"

namespace {

// Both the header's 32-bit image size and a 32-bit address space must hold
// the block.
constexpr int64_t kMaxImageBlock = 0x7fffffff;

bool Finish(int64_t width, int64_t height, int32_t headerHeight, uint32_t spare, ImageLayout* layout) {
  if (width <= 0 || height <= 0) return false;
  const uint64_t stride = (static_cast<uint64_t>(width) * 3 + 3) & ~uint64_t{3};
  const uint64_t image = stride * static_cast<uint64_t>(height);
  if (image + kImageHeaderSize + spare > kMaxImageBlock) return false;
  layout->width = static_cast<int32_t>(width);
  layout->height = static_cast<int32_t>(height);
  layout->stride = static_cast<uint32_t>(stride);
  layout->headerHeight = headerHeight;
  layout->imageBytes = static_cast<uint32_t>(image + spare);
  layout->blockBytes = static_cast<uint32_t>(image + spare + kImageHeaderSize);
  return true;
}

}  // namespace

bool LayOutRangeImage(const TextMeasurer& measurer, CWorkSheet* sheet, const CellRange& range, uint16_t zoomX,
                      uint16_t zoomY, ImageLayout* layout) {
  const int32_t headingHeight = GetColumnHeaderHeight(measurer, 100);
  const int32_t headingWidth = GetRowHeaderWidth(measurer, range.lastRow, 100);
  if (headingHeight < 0 || headingWidth < 0) return false;
  int64_t height = headingHeight + 1;
  for (uint32_t row = range.firstRow; row <= range.lastRow; ++row) {
    height += GetRowHeight(sheet, row, zoomY);
    if (height > kMaxImageBlock) return false;
  }
  int64_t width = headingWidth + 1;
  for (uint32_t column = range.firstColumn; column <= range.lastColumn; ++column)
    width += GetColumnWidth(sheet, column, zoomX);
  layout->paintWidth = static_cast<int32_t>(width < kMaxImageBlock ? width : kMaxImageBlock);
  layout->paintHeight = static_cast<int32_t>(height);
  return Finish(width + 2, height + 2, static_cast<int32_t>(-(height + 2)), 0, layout);
}

bool LayOutContainerImage(const ContainerRect& rect, uint8_t format, ImageLayout* layout) {
  const int64_t width = static_cast<int64_t>(rect.right) - rect.left + 1;
  const int64_t height = static_cast<int64_t>(rect.bottom) - rect.top + 1;
  if (height > kMaxImageBlock) return false;
  layout->paintWidth = static_cast<int32_t>(width > 0 ? width : 0);
  layout->paintHeight = static_cast<int32_t>(height > 0 ? height : 0);
  const int32_t h = static_cast<int32_t>(height);
  return Finish(width, height, format == kImageFormatPackedDib ? h : -h, 4, layout);
}

void WriteImageHeader(const ImageLayout& layout, uint8_t* header) {
  // The program runs little-endian only, as the header's fields are stored.
  const uint32_t size = kImageHeaderSize;
  const uint16_t planes = 1;
  const uint16_t bits = 24;
  std::memset(header, 0, kImageHeaderSize);
  std::memcpy(header, &size, 4);
  std::memcpy(header + 4, &layout.width, 4);
  std::memcpy(header + 8, &layout.headerHeight, 4);
  std::memcpy(header + 12, &planes, 2);
  std::memcpy(header + 14, &bits, 2);
  std::memcpy(header + 20, &layout.imageBytes, 4);
}
