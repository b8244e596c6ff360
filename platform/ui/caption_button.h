#ifndef TALVERO_PLATFORM_UI_CAPTION_BUTTON_H
#define TALVERO_PLATFORM_UI_CAPTION_BUTTON_H

// The small close, minimise and restore buttons of pane titles and of the
// command bar's maximised document, drawn with lines rather than with the
// system's symbol font, which a system may lack.

#include <cstdint>

#include <windows.h>

enum class CaptionGlyph : uint8_t { kClose, kMinimize, kRestore };

void DrawCaptionButton(HDC dc, const RECT& rect, CaptionGlyph glyph, bool pressed, bool flat);

#endif
