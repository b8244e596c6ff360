#include "app/inspect/inspect_layout.h"

InspectLayout LayoutInspectPane(int width, int height, int rowHeight, int buttonWidth) {
  InspectLayout layout{};
  const int w = width;
  const int h = height;
  const int r = rowHeight;
  const int b = buttonWidth;
  layout.columnWidth = w / kInspectColumns < kInspectMinColumnWidth ? kInspectMinColumnWidth : w / kInspectColumns;
  layout.header = UiRect{0, 0, w, r};
  layout.list = UiRect{0, r, w, r + (h - 2 * r - 1)};
  const int editWidth = w - kInspectButtons * b - 2;
  layout.edit = UiRect{0, h - r, editWidth, h - 1};
  // A pane no higher than two rows keeps only its header and list.
  layout.buttonsShown = h - r > r;
  layout.editShown = layout.buttonsShown && editWidth > 0;
  for (int i = 0; i < kInspectButtons; ++i) {
    const int left = w - (kInspectButtons - i) * b - 1;
    layout.buttons[i] = UiRect{left, h - r, left + b, h};
  }
  return layout;
}
