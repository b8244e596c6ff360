#ifndef TALVERO_AUTOMATION_FORMAT_INFO_RECORD_H
#define TALVERO_AUTOMATION_FORMAT_INFO_RECORD_H

// The font, fill and border attributes a FormatInfo object carries into a
// format call. Everything is zero at creation; a colour never set reads as
// the system colour a cell would show in its place.

#include <cstddef>
#include <cstdint>

#include "automation/info/info_error.h"

constexpr size_t kFormatInfoFontNameSize = 128;  // ANSI, NUL-terminated

struct FormatInfoRecord {
  char fontName[kFormatInfoFontNameSize];
  uint8_t fontSize;
  uint8_t bold;
  uint8_t italic;
  uint8_t underline;
  uint8_t strikeout;
  uint8_t fontColorSet;
  uint32_t fontColor;
  uint8_t styleId;
  uint8_t fillType;
  uint8_t fillPatternColorSet;
  uint8_t fillBackgroundColorSet;
  uint32_t fillPatternColor;
  uint32_t fillBackgroundColor;
  uint8_t borderPosition;
  uint8_t borderType;
  uint8_t borderColorSet;
  uint32_t borderColor;
  uint8_t error;

  // False (kInfoInvalidArgument) for a name of 128 characters or more.
  bool SetFontName(const char* name);
  // False (kInfoInvalidArgument) outside 1 to 254.
  bool SetFontSize(int32_t size);
  // The flags of the four font styles: 1 for any value but 0.
  static uint8_t FlagOf(int32_t value) { return value != 0 ? 1 : 0; }

  uint32_t FontColor() const;
  uint32_t FillPatternColor() const;
  uint32_t FillBackgroundColor() const;
  uint32_t BorderColor() const;
};

#endif
