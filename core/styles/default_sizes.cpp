#include "core/styles/default_sizes.h"

#include "core/styles/sheet_format.h"

namespace {

constexpr int32_t kMaxSize = 4095;

uint16_t Bounded(int32_t size) {
  return static_cast<uint16_t>(size < 0 ? 0 : (size > kMaxSize ? kMaxSize : size));
}

}  // namespace

uint16_t GetDefaultColumnWidth(SheetFormat* format, const TextMeasurer& measurer) {
  if (format->defaultColumnWidth == 0) {
    int32_t width = 0;
    int32_t height = 0;
    if (measurer.MeasureScreenLine("X", 1, &width, &height))
      format->defaultColumnWidth = Bounded(9 * width);
  }
  return format->defaultColumnWidth;
}

uint16_t GetDefaultRowHeight(SheetFormat* format, const TextMeasurer& measurer) {
  if (format->defaultRowHeight == 0) {
    int32_t width = 0;
    int32_t height = 0;
    if (measurer.MeasureScreenLine("X", 1, &width, &height))
      format->defaultRowHeight = Bounded(height + 2);
  }
  return format->defaultRowHeight;
}
