#ifndef TALVERO_APP_FONT_CONVERSION_H
#define TALVERO_APP_FONT_CONVERSION_H

// A workbook's font record and the system's logical font, which the font
// dialogs and the window fonts take, in both directions. Sizes are points in
// the record and pixels of the screen in the logical font.

#include <cstdint>

#include "core/styles/style_record.h"

#ifdef _WIN32
#include <windows.h>
using LogFont = LOGFONTA;
#else
// The fields of the system's LOGFONTA, for the builds that have no system
// headers.
struct LogFont {
  int32_t lfHeight;
  int32_t lfWidth;
  int32_t lfEscapement;
  int32_t lfOrientation;
  int32_t lfWeight;
  uint8_t lfItalic;
  uint8_t lfUnderline;
  uint8_t lfStrikeOut;
  uint8_t lfCharSet;
  uint8_t lfOutPrecision;
  uint8_t lfClipPrecision;
  uint8_t lfQuality;
  uint8_t lfPitchAndFamily;
  char lfFaceName[32];
};
#endif

// The record's font at the screen's resolution: the height is minus the
// point size in pixels (the default size and face for a record without
// them); width, escapement, orientation, precision and quality 0.
void FontRecordToLogFont(const FontRecord& record, LogFont* font);
void FontRecordToLogFont(const FontRecord& record, LogFont* font, int32_t pixelsPerInchY);

// The inverse: the size in points (modulo 256) of a negative height; the
// weights, character sets and families the record has no code for give 0.
void LogFontToFontRecord(FontRecord* record, const LogFont& font);
void LogFontToFontRecord(FontRecord* record, const LogFont& font, int32_t pixelsPerInchY);

#endif
