#include "dialogs/format_cells/border_preview_rules.h"

#include "core/styles/style_record.h"

namespace {

bool Within(int value, int low, int high) { return value >= low && value <= high; }

}  // namespace

PreviewCell PreviewCellOf(int clientWidth, int clientHeight) {
  return {kPreviewInset, kPreviewInset, clientWidth - kPreviewInset, clientHeight - kPreviewInset};
}

uint8_t BorderPreviewHit(int clientWidth, int clientHeight, int x, int y) {
  const PreviewCell c = PreviewCellOf(clientWidth, clientHeight);
  const int band = kPreviewInset;
  if (Within(y, c.top, c.bottom)) {
    if (Within(x, c.left - band, c.left + band)) return kBorderLeft;
    if (Within(x, c.right - band, c.right + band)) return kBorderRight;
  }
  if (Within(x, 0, c.right + band)) {
    if (Within(y, c.top - band, c.top + band)) return kBorderTop;
    if (Within(y, c.bottom - band, c.bottom + band)) return kBorderBottom;
  }
  if (x <= c.left + band || x >= c.right - band || y <= c.top + band || y >= c.bottom - band) return 0;
  const bool leftHalf = x < (c.left + c.right) / 2;
  const bool upperHalf = y < (c.top + c.bottom) / 2;
  return leftHalf == upperHalf ? kBorderDiagonalLeft : kBorderDiagonalRight;
}

uint8_t BorderDigitSide(uint32_t key) {
  switch (key) {
    case '1': return kBorderTop;
    case '2': return kBorderRight;
    case '3': return kBorderBottom;
    case '4': return kBorderLeft;
    case '5': return kBorderDiagonalRight;
    case '6': return kBorderDiagonalLeft;
  }
  return 0;
}

uint8_t SidesToApply(uint8_t sides, uint8_t lineStyle) { return lineStyle == 0 ? 0 : sides; }
