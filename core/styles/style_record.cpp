#include "core/styles/style_record.h"

#include <cstring>

namespace {

// Copies a text into a cleared field, always leaving a terminating NUL even
// when the source fills its field without one.
void CopyTextField(char* target, const char* source, size_t fieldSize) {
  std::memset(target, 0, fieldSize);
  for (size_t i = 0; i + 1 < fieldSize && source[i] != '\0'; ++i) target[i] = source[i];
}

}  // namespace

StyleRecord StyleRecord::Default() {
  StyleRecord style;
  std::memset(&style, 0, sizeof style);
  style.alignment.horizontalIndent = kDefaultHorizontalIndent;
  style.alignment.verticalIndent = kDefaultVerticalIndent;
  return style;
}

void StyleRecord::ApplyAttribute(StyleRecord* targetStyle, FontRecord* targetFont,
                                 const StyleRecord& templateStyle,
                                 const FontRecord& templateFont, bool* fontChanged,
                                 int kind) {
  StyleRecord& style = *targetStyle;
  FontRecord& font = *targetFont;
  const bool touchesFont = kind >= kApplyFontSize && kind <= kApplyWholeFont;
  if (touchesFont) *fontChanged = true;
  // Copying a record onto itself changes nothing; the clearing kinds would
  // otherwise wipe the text before reading it.
  if (touchesFont ? targetFont == &templateFont : targetStyle == &templateStyle) return;
  switch (kind) {
    case kApplyNumberFormat:
      std::memset(&style.numFormat, 0, sizeof style.numFormat);
      style.numFormat.category = templateStyle.numFormat.category;
      style.numFormat.options = templateStyle.numFormat.options;
      break;
    case kApplyUserNumberFormat:
      std::memset(&style.numFormat, 0, sizeof style.numFormat);
      style.numFormat.category = templateStyle.numFormat.category;
      CopyTextField(style.numFormat.code, templateStyle.numFormat.code, kNumFormatCodeSize);
      break;
    case kApplyFontSize: font.size = templateFont.size; break;
    case kApplyFaceName:
      CopyTextField(font.faceName, templateFont.faceName, kFaceNameSize);
      break;
    case kApplyCharSet: font.charSet = templateFont.charSet; break;
    case kApplyWeight: font.weight = templateFont.weight; break;
    case kApplySlant: font.italic = templateFont.italic; break;
    case kApplyUnderline: font.underline = templateFont.underline; break;
    case kApplyStrikeOut: font.strikeOut = templateFont.strikeOut; break;
    case kApplyWholeFont: font = templateFont; break;
    case kApplyFontColor:
      style.fontColorSet = templateStyle.fontColorSet;
      style.fontColor = templateStyle.fontColor;
      break;
    case kApplyDropDown: style.dropDown = templateStyle.dropDown; break;
    case kApplyAlignment: style.alignment = templateStyle.alignment; break;
    case kApplyHorizontalAlignment:
      style.alignment.horizontal = templateStyle.alignment.horizontal;
      style.alignment.horizontalIndent = templateStyle.alignment.horizontalIndent;
      break;
    case kApplyVerticalAlignment:
      style.alignment.vertical = templateStyle.alignment.vertical;
      style.alignment.verticalIndent = templateStyle.alignment.verticalIndent;
      break;
    case kApplyTextControl:
      style.alignment.wrapText = templateStyle.alignment.wrapText;
      style.alignment.fitToCell = templateStyle.alignment.fitToCell;
      break;
    case kApplyBorders: style.borders = templateStyle.borders; break;
    case kApplyInterior: style.interior = templateStyle.interior; break;
    case kApplyProtection:
      style.hidden = templateStyle.hidden;
      style.isProtected = templateStyle.isProtected;
      break;
    default: break;  // kApplyNothing and unknown kinds
  }
}
