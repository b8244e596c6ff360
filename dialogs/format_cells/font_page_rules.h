#ifndef TALVERO_DIALOGS_FONT_PAGE_RULES_H
#define TALVERO_DIALOGS_FONT_PAGE_RULES_H

// What the Font page and the frame's font-style buttons decide: the sizes
// offered, and which field of a font record a style button flips.

#include <cstdint>

#include "core/styles/style_record.h"

constexpr int kFontSizeCount = 26;
extern const uint8_t kFontSizes[kFontSizeCount];

// The entry of the size list for a size (0 is the default size); -1 when
// the list has none.
int FontSizeIndex(uint8_t size);

// Bold (weight code 2 or normal), italic, underline or strike-out flipped by
// its command; the attribute kind to apply, or 0 for another command.
int ToggleFontStyle(FontRecord* font, uint32_t command);
// Whether the command's button shows pressed for the font.
bool FontStyleSet(const FontRecord& font, uint32_t command);

#endif
