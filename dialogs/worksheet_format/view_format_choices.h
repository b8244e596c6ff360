#ifndef TALVERO_DIALOGS_VIEW_FORMAT_CHOICES_H
#define TALVERO_DIALOGS_VIEW_FORMAT_CHOICES_H

// What the worksheet-format sheet's pages store into a worksheet's view
// format from their controls, and where a tool window reopens.

#include <cstdint>

#include "core/model/worksheet_view_format.h"
#include "platform/ui/ui_rect.h"

// The Background page: an image when its radio button is checked, else the
// fill, which with pattern 0 means no background at all.
void StoreBackgroundChoice(WorksheetViewFormat* format, bool image, const FillRecord& fill, const char* imagePath,
                           uint8_t imageSizeMode);
// The Gridlines page: a colour is kept only when one other than the
// default entry is chosen.
void StoreGridlinesChoice(WorksheetViewFormat* format, bool shown, bool defaultColour, uint32_t colour);

// Whether a tool window goes back to its stored rectangle: one that is not
// empty and whose top-left corner lies inside the work area, strictly
// inside its left and top edges. Otherwise the window opens centred.
bool ToolWindowPositionFits(const UiRect& stored, const UiRect& workArea);

#endif
