#ifndef TALVERO_VIEW_DRAW_CONTEXT_SCREEN_FONT_WIN32_H
#define TALVERO_VIEW_DRAW_CONTEXT_SCREEN_FONT_WIN32_H

// The GDI font of a font record at an angle and a zoom. Sizes are taken in
// screen pixels whatever the device: a printer's scale travels in the zoom.

#include <windows.h>

#include <cstdint>

struct FontRecord;

// Null when GDI cannot create the font. The caller deletes it.
HFONT CreateScreenFont(const FontRecord& font, int16_t angle, uint16_t zoom);

#endif
