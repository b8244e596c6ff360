#ifndef TALVERO_DIALOGS_BORDER_PREVIEW_RULES_H
#define TALVERO_DIALOGS_BORDER_PREVIEW_RULES_H

// What the Border page's preview and keys decide: the cell drawn inside the
// preview, which side a click toggles, the digit keys 1 to 6, and the side
// masks of the page's buttons.

#include <cstdint>

// The preview's cell: its client rectangle inset by this many pixels, which
// is also the half width of the bands a click on a side must hit.
constexpr int kPreviewInset = 15;

// The border page's toolbar buttons.
enum BorderButton : uint16_t {
  kBorderAllSides = 408,
  kBorderOutline = 409,
  kBorderNone = 410,
};

struct PreviewCell {
  int left, top, right, bottom;
};
PreviewCell PreviewCellOf(int clientWidth, int clientHeight);

// The side mask bit a left click at (x, y) toggles: the bands about the left
// and right edges (between top and bottom), about the top and bottom edges
// (from the client's left to 15 pixels past the right edge), then the
// quarters well inside the cell for the two diagonals; 0 elsewhere.
uint8_t BorderPreviewHit(int clientWidth, int clientHeight, int x, int y);

// The side a digit key toggles: "1" top, "2" right, "3" bottom, "4" left,
// "5" the diagonal from bottom-left, "6" the diagonal from top-left; 0 for
// any other key.
uint8_t BorderDigitSide(uint32_t key);

// A border block about to be applied: no line style means no side.
uint8_t SidesToApply(uint8_t sides, uint8_t lineStyle);

#endif
