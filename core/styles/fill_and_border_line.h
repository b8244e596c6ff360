#ifndef TALVERO_CORE_FILL_AND_BORDER_LINE_H
#define TALVERO_CORE_FILL_AND_BORDER_LINE_H

// How an area is filled and how a line is drawn. Styles, containers and
// charts embed these records, and files copy them whole.

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

// A colour whose flag is clear stands for the system window colour.
struct FillRecord {
  uint8_t pattern;  // 0 none, 1 solid, 2..22 hatches and gradients
  uint8_t patternColorSet;
  uint8_t reserved1[2];
  uint32_t patternColor;  // 0x00BBGGRR
  uint8_t backgroundColorSet;
  uint8_t reserved2[3];
  uint32_t backgroundColor;
};

// A colour whose flag is clear stands for the system window-text colour.
struct BorderLine {
  uint8_t style;  // 0 none, 1 continuous .. 9 double
  uint8_t colorSet;
  uint8_t reserved[2];
  uint32_t color;
};

#pragma pack(pop)

static_assert(sizeof(FillRecord) == 16, "fill record is 16 bytes");
static_assert(offsetof(FillRecord, pattern) == 0, "");
static_assert(offsetof(FillRecord, patternColorSet) == 1, "");
static_assert(offsetof(FillRecord, patternColor) == 4, "");
static_assert(offsetof(FillRecord, backgroundColorSet) == 8, "");
static_assert(offsetof(FillRecord, backgroundColor) == 12, "");

static_assert(sizeof(BorderLine) == 8, "border line is 8 bytes");
static_assert(offsetof(BorderLine, style) == 0, "");
static_assert(offsetof(BorderLine, colorSet) == 1, "");
static_assert(offsetof(BorderLine, color) == 4, "");

#endif
