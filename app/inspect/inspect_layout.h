#ifndef TALVERO_APP_INSPECT_INSPECT_LAYOUT_H
#define TALVERO_APP_INSPECT_INSPECT_LAYOUT_H

// Where the inspect pane puts its children for a size: the column header
// along the top, the list below it, and along the bottom the name edit and
// the five buttons "<--- Add", "Rename", "Remove", "Remove All" and "Go To",
// each one row high. Plain code, so that every build tests it.

#include <cstdint>

#include "platform/ui/ui_rect.h"

constexpr int kInspectColumns = 4;
constexpr int kInspectButtons = 5;
// No column of the four becomes narrower when the pane shrinks.
constexpr int kInspectMinColumnWidth = 100;

struct InspectLayout {
  int columnWidth;
  UiRect header;
  UiRect list;
  UiRect edit;
  UiRect buttons[kInspectButtons];
  bool editShown;
  bool buttonsShown;
};

// For the pane's width and height, the row height and the width of one button.
InspectLayout LayoutInspectPane(int width, int height, int rowHeight, int buttonWidth);

#endif
