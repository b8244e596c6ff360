#ifndef TALVERO_VIEW_DEFAULT_FONT_H
#define TALVERO_VIEW_DEFAULT_FONT_H

// The font every painter and every file reader's default starts from.

#include "core/styles/style_record.h"

constexpr char kDefaultFaceName[] = "Arial";
constexpr uint8_t kDefaultFontSize = 10;  // points

// Face "Arial", 10 points, every other field 0.
void CopyDefaultFont(FontRecord* font);

#endif
