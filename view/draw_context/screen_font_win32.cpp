#include "view/draw_context/screen_font_win32.h"

#include "core/styles/style_record.h"
#include "view/draw_context/font_description.h"
#include "view/draw_context/screen_measurer.h"

HFONT CreateScreenFont(const FontRecord& font, int16_t angle, uint16_t zoom) {
  const FontDescription d = DescribeFont(font, angle, zoom, ScreenPixelsPerInchY());
  LOGFONTA logical = {};
  logical.lfHeight = d.height;
  logical.lfEscapement = logical.lfOrientation = d.escapement;
  logical.lfWeight = d.weight;
  logical.lfItalic = d.italic;
  logical.lfUnderline = d.underline;
  logical.lfStrikeOut = d.strikeOut;
  logical.lfCharSet = d.charSet;
  logical.lfPitchAndFamily = d.family;
  lstrcpynA(logical.lfFaceName, d.face, LF_FACESIZE);
  return CreateFontIndirectA(&logical);
}
