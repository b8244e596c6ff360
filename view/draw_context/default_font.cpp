#include "view/draw_context/default_font.h"

#include <cstring>

void CopyDefaultFont(FontRecord* font) {
  std::memset(font, 0, sizeof *font);
  std::memcpy(font->faceName, kDefaultFaceName, sizeof kDefaultFaceName);
  font->size = kDefaultFontSize;
}
