#ifndef TALVERO_APP_FRAME_FRAME_LAYOUT_H
#define TALVERO_APP_FRAME_FRAME_LAYOUT_H

// The arithmetic of the frame's bars: how the secondary toolbar shares its
// width between the name box and the formula bar, and where the status
// bar's panes end. Plain code, so that every build tests it.

struct SecondaryBarWidths {
  int nameBox;
  int formulaBar;
};

// The band's width and borders, and the widths of every button of the bar
// except the two placeholders. The formula bar gets twice the name box's
// share, and together they never get less than 40 pixels.
SecondaryBarWidths ComputeSecondaryBarWidths(int bandWidth, int borderLeft, int borderRight,
                                             const int* buttonWidths, int buttonCount);

constexpr int kStatusPaneCount = 4;

// The right edges of the four status panes for a client width, the status
// bar's horizontal border and spacing, and the width of the zoom pane's
// widest text. Pane 2 holds only the protection icon.
void ComputeStatusPaneEdges(int clientWidth, int horizontalBorder, int spacing, int zoomTextWidth,
                            int edges[kStatusPaneCount]);

// The tooltip of a command from its string resource "prompt\ntooltip": the
// text after the first line break, cut to capacity - 1 characters. False
// (with an empty text) when the resource has no line break.
bool TooltipOfPrompt(const char* resourceText, char* tooltip, int capacity);

#endif
