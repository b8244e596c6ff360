#ifndef TALVERO_DIALOGS_SELECTION_APPLIERS_H
#define TALVERO_DIALOGS_SELECTION_APPLIERS_H

// The format changes of the active selection that the format-cells pages,
// the frame's font-style buttons and the drop-down list editor make: each
// applies one attribute kind with one undo step, repaints and marks the
// document modified. Each answers true also when no document is active
// (then nothing is done); false after showing the message of a change that
// could not be made (no memory for the undo step or the new formats, or a
// full style table), the formats then unchanged. Windows only.

#include <cstdint>

#include "core/numfmt/num_format_params.h"
#include "core/styles/style_record.h"

class FormatSheetHost;

#pragma pack(push, 1)
// The Font page's record: a font with the colour of its text (a clear flag
// stands for the window-text colour).
struct FontWithColor {
  FontRecord font;
  uint8_t colorSet;
  uint32_t color;
};
#pragma pack(pop)
static_assert(sizeof(FontWithColor) == 140, "a font record with its colour is 140 bytes");

// Kind 1 for categories 0 to 9, else 2.
bool ApplyNumFormatToSelection(FormatSheetHost* host, const NumFormatParams& params);
// Kinds 3 to 11: the font from the record, the colour into the style.
bool ApplyFontToSelection(FormatSheetHost* host, const FontWithColor& font, int kind);
// Kinds 13 to 16 from a whole style record.
bool ApplyAlignmentToSelection(FormatSheetHost* host, const StyleRecord& style, int kind);
// Kinds 17 (borders), 18 (outline) and 19 (fill) from a whole style record.
bool ApplyBorderToSelection(FormatSheetHost* host, const StyleRecord& style, int kind);
// Kind 12.
bool ApplyDropDownListToSelection(FormatSheetHost* host, const StyleRecord& style);

#endif
