#ifndef TALVERO_CORE_COLOR_FONT_RECORD_H
#define TALVERO_CORE_COLOR_FONT_RECORD_H

// A font with its text colour, as container titles and chart texts keep it.
// Files copy it whole inside the container and chart records.

#include <cstddef>
#include <cstdint>

#include "core/styles/style_record.h"

#pragma pack(push, 1)

struct ColorFontRecord {
  FontRecord font;
  uint8_t colorSet;  // clear: the system window-text colour applies
  uint32_t color;    // 0x00BBGGRR
};

#pragma pack(pop)

static_assert(sizeof(FontRecord) == 135, "font record is 135 bytes");
static_assert(sizeof(ColorFontRecord) == 140, "coloured font record is 140 bytes");
static_assert(offsetof(ColorFontRecord, colorSet) == 135, "");
static_assert(offsetof(ColorFontRecord, color) == 136, "");

#endif
