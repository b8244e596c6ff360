#ifndef TALVERO_CORE_STYLE_RECORD_H
#define TALVERO_CORE_STYLE_RECORD_H

// The font and style records of a workbook's style table. Files copy both
// records whole, so every field sits at a fixed offset and the gaps are zero.

#include <cstddef>
#include <cstdint>

#include "core/styles/fill_and_border_line.h"
#include "core/numfmt/num_format_params.h"

constexpr size_t kFaceNameSize = 128;  // NUL-terminated; empty is the default face

enum FontWeightCode : uint8_t {
  kFontWeightNormal = 0,
  kFontWeightThin = 1,
  kFontWeightBold = 2,
  kFontWeightHeavy = 3,
};

// The weight on the 100..900 scale; codes other than 1..3 are normal.
inline int FontWeightValue(uint8_t code) {
  switch (code) {
    case kFontWeightThin: return 100;
    case kFontWeightBold: return 700;
    case kFontWeightHeavy: return 900;
    default: return 400;
  }
}

enum BorderSide : uint8_t {
  kBorderTop = 1,
  kBorderBottom = 2,
  kBorderLeft = 4,
  kBorderRight = 8,
  kBorderDiagonalLeft = 16,
  kBorderDiagonalRight = 32,
};

enum VerticalAlignment : uint8_t {
  kVAlignNone = 0,
  kVAlignTop = 4,
  kVAlignCentre = 5,
  kVAlignBottom = 7,
};

enum HorizontalAlignment : uint8_t {
  kHAlignNone = 0,
  kHAlignLeft = 1,
  kHAlignCentre = 2,
  kHAlignRight = 3,
};

constexpr uint8_t kDefaultHorizontalIndent = 4;
constexpr uint8_t kDefaultVerticalIndent = 2;

// What StyleRecord::ApplyAttribute copies from a template.
enum StyleAttributeKind : uint8_t {
  kApplyNumberFormat = 1,      // category and options; the code text is cleared
  kApplyUserNumberFormat = 2,  // category and code text; the options are cleared
  kApplyFontSize = 3,
  kApplyFaceName = 4,
  kApplyCharSet = 5,
  kApplyWeight = 6,
  kApplySlant = 7,
  kApplyUnderline = 8,
  kApplyStrikeOut = 9,
  kApplyWholeFont = 10,
  kApplyFontColor = 11,
  kApplyDropDown = 12,
  kApplyAlignment = 13,
  kApplyHorizontalAlignment = 14,
  kApplyVerticalAlignment = 15,
  kApplyTextControl = 16,  // wrap text and fit to cell
  kApplyBorders = 17,
  kApplyNothing = 18,
  kApplyInterior = 19,
  kApplyProtection = 20,
};

#pragma pack(push, 1)

struct FontRecord {
  char faceName[kFaceNameSize];
  uint8_t family;     // 0 any, 1 swiss, 2 modern, 3 roman, 4 script, 5 decorative
  uint8_t size;       // points; 0 is the default size
  uint8_t weight;     // FontWeightCode
  uint8_t italic;     // the slant
  uint8_t underline;
  uint8_t strikeOut;
  uint8_t charSet;    // character-set code
};

struct StyleBorders {
  uint8_t sides;  // BorderSide bits
  uint8_t reserved[3];
  BorderLine line;
};

struct StyleAlignment {
  uint8_t vertical;          // VerticalAlignment
  uint8_t horizontal;        // HorizontalAlignment
  uint8_t horizontalIndent;  // pixels
  uint8_t verticalIndent;    // pixels
  uint8_t wrapText;
  uint8_t fitToCell;
  int8_t rotation;  // degrees, -90..90
  uint8_t reserved;
};

struct DropDownRef {
  uint16_t listId;  // 1..100, 0 none
  uint8_t sort;
  uint8_t autoAppend;
  uint8_t autoComplete;
  uint8_t reserved;
};

struct StyleRecord {
  uint8_t leading[32];
  NumFormatParams numFormat;
  uint8_t fontIndex;
  uint8_t fontColorSet;  // clear: the window-text colour
  uint8_t reserved1[2];
  uint32_t fontColor;
  FillRecord interior;
  StyleBorders borders;
  StyleAlignment alignment;
  DropDownRef dropDown;
  uint8_t hidden;       // the formula is hidden when the sheet is protected
  uint8_t isProtected;  // the cell is locked when the sheet is protected
  uint8_t reserved2[4];

  // The record every cleared table slot holds: all zero but the indents.
  static StyleRecord Default();

  // Copies one attribute group of the template records into the target
  // records (working copies that the caller then registers in the table).
  // Kinds that touch the font set *fontChanged; other kinds leave it alone.
  // Kinds outside 1..20 change nothing.
  static void ApplyAttribute(StyleRecord* targetStyle, FontRecord* targetFont,
                             const StyleRecord& templateStyle,
                             const FontRecord& templateFont, bool* fontChanged,
                             int kind);
};

#pragma pack(pop)

static_assert(sizeof(FontRecord) == 135, "font record is 135 bytes");
static_assert(offsetof(FontRecord, faceName) == 0, "");
static_assert(offsetof(FontRecord, family) == 128, "");
static_assert(offsetof(FontRecord, size) == 129, "");
static_assert(offsetof(FontRecord, weight) == 130, "");
static_assert(offsetof(FontRecord, italic) == 131, "");
static_assert(offsetof(FontRecord, underline) == 132, "");
static_assert(offsetof(FontRecord, strikeOut) == 133, "");
static_assert(offsetof(FontRecord, charSet) == 134, "");

static_assert(sizeof(StyleBorders) == 12, "border block is 12 bytes");
static_assert(sizeof(StyleAlignment) == 8, "alignment block is 8 bytes");
static_assert(sizeof(DropDownRef) == 6, "drop-down reference is 6 bytes");

static_assert(sizeof(StyleRecord) == 1152, "style record is 1152 bytes");
static_assert(offsetof(StyleRecord, numFormat) == 32, "");
static_assert(offsetof(StyleRecord, numFormat) + offsetof(NumFormatParams, category) == 32, "");
static_assert(offsetof(StyleRecord, numFormat) + offsetof(NumFormatParams, options) == 40, "");
static_assert(offsetof(StyleRecord, numFormat) + offsetof(NumFormatParams, code) == 64, "");
static_assert(offsetof(StyleRecord, fontIndex) == 1096, "");
static_assert(offsetof(StyleRecord, fontColorSet) == 1097, "");
static_assert(offsetof(StyleRecord, fontColor) == 1100, "");
static_assert(offsetof(StyleRecord, interior) == 1104, "");
static_assert(offsetof(StyleRecord, interior) + offsetof(FillRecord, patternColor) == 1108, "");
static_assert(offsetof(StyleRecord, interior) + offsetof(FillRecord, backgroundColor) == 1116, "");
static_assert(offsetof(StyleRecord, borders) == 1120, "");
static_assert(offsetof(StyleRecord, borders) + offsetof(StyleBorders, line) == 1124, "");
static_assert(offsetof(StyleRecord, alignment) == 1132, "");
static_assert(offsetof(StyleRecord, alignment) + offsetof(StyleAlignment, horizontal) == 1133, "");
static_assert(offsetof(StyleRecord, alignment) + offsetof(StyleAlignment, horizontalIndent) == 1134, "");
static_assert(offsetof(StyleRecord, alignment) + offsetof(StyleAlignment, verticalIndent) == 1135, "");
static_assert(offsetof(StyleRecord, alignment) + offsetof(StyleAlignment, wrapText) == 1136, "");
static_assert(offsetof(StyleRecord, alignment) + offsetof(StyleAlignment, fitToCell) == 1137, "");
static_assert(offsetof(StyleRecord, alignment) + offsetof(StyleAlignment, rotation) == 1138, "");
static_assert(offsetof(StyleRecord, dropDown) == 1140, "");
static_assert(offsetof(StyleRecord, dropDown) + offsetof(DropDownRef, sort) == 1142, "");
static_assert(offsetof(StyleRecord, dropDown) + offsetof(DropDownRef, autoAppend) == 1143, "");
static_assert(offsetof(StyleRecord, dropDown) + offsetof(DropDownRef, autoComplete) == 1144, "");
static_assert(offsetof(StyleRecord, hidden) == 1146, "");
static_assert(offsetof(StyleRecord, isProtected) == 1147, "");

#endif
