#include "view/draw_context/default_font.h"

#include <cstring>

namespace {

char g_defaultFace[kFaceNameSize] = "Arial";

}  // namespace

void CopyDefaultFont(FontRecord* font) {
  std::memset(font, 0, sizeof *font);
  std::memcpy(font->faceName, g_defaultFace, sizeof g_defaultFace);
  font->size = kDefaultFontSize;
}

const char* DefaultFaceName() { return g_defaultFace; }

void SetDefaultFaceName(const char* face) {
  const size_t length = face != nullptr ? strnlen(face, kFaceNameSize) : 0;
  if (length == 0 || length >= kFaceNameSize) {
    std::memcpy(g_defaultFace, kDefaultFaceName, sizeof kDefaultFaceName);
    return;
  }
  std::memset(g_defaultFace, 0, sizeof g_defaultFace);
  std::memcpy(g_defaultFace, face, length);
}
