#ifndef TALVERO_VIEW_DEFAULT_FONT_H
#define TALVERO_VIEW_DEFAULT_FONT_H

// The font every painter and every file reader's default starts from. Its
// face is "Arial" until the user's options name another.

#include "core/styles/style_record.h"

constexpr char kDefaultFaceName[] = "Arial";
constexpr uint8_t kDefaultFontSize = 10;  // points

// The default face, every other field 0 but the size.
void CopyDefaultFont(FontRecord* font);

// The face of fonts that name none; an empty or too long face restores
// "Arial".
const char* DefaultFaceName();
void SetDefaultFaceName(const char* face);

#endif
