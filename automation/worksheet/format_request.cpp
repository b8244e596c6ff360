#include "automation/worksheet/format_request.h"

#include <cstring>

#include "services/choices/num_format_choice.h"

namespace {

// The core's kind of a FORMAT_TYPES value; 0 when it changes nothing.
int CoreKindOf(int formatType) {
  switch (formatType) {
    case kFormatTypeUserNumberFormat:
      return kApplyNumberFormat;
    // The value is the style table's attribute kind as it stands: 18
    // (STYLE_INTERIOR) is the outline kind, which a style record ignores,
    // and 19 (STYLE_PROTECTION) the fill kind; protection itself is not
    // reachable here. Scripts written against the server rely on this.
    case kFormatTypeInterior:
      return 0;
    case kFormatTypeProtection:
      return kApplyInterior;
    default:
      return formatType;
  }
}

}  // namespace

bool BuildFormatRequest(int formatType, const FormatInfoRecord& info, FormatRequest* request) {
  if (formatType < 1 || formatType > kLastFormatType) return false;
  std::memset(request, 0, sizeof *request);
  request->kind = CoreKindOf(formatType);

  FontRecord& font = request->font;
  std::memcpy(font.faceName, info.fontName, sizeof font.faceName);
  font.faceName[sizeof font.faceName - 1] = '\0';
  font.size = info.fontSize;
  font.weight = info.bold ? kFontWeightBold : kFontWeightNormal;
  font.italic = FormatInfoRecord::FlagOf(info.italic);
  font.underline = FormatInfoRecord::FlagOf(info.underline);
  font.strikeOut = FormatInfoRecord::FlagOf(info.strikeout);

  StyleRecord& style = request->style;
  style.fontColorSet = 1;
  style.fontColor = info.FontColor();
  style.interior.pattern = info.fillType;
  style.interior.patternColorSet = 1;
  style.interior.patternColor = info.FillPatternColor();
  style.interior.backgroundColorSet = 1;
  style.interior.backgroundColor = info.FillBackgroundColor();
  style.borders.sides = info.borderPosition;
  style.borders.line.style = info.borderType;
  style.borders.line.colorSet = 1;
  style.borders.line.color = info.BorderColor();

  if (request->kind == kApplyNumberFormat) {
    const uint8_t category = info.styleId == kNumFormatUserPattern ? uint8_t(kNumFormatDefault) : info.styleId;
    if (category > kNumFormatUserPattern) {
      request->kind = 0;
    } else if (category != kNumFormatDefault) {
      DefaultCategoryParams(category, &style.numFormat);
    }
  }
  return true;
}

bool FormatChangesRowHeights(int formatType) {
  return formatType == kApplyFontSize || formatType == kApplyFaceName || formatType == kApplyWholeFont;
}
