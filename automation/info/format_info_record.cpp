#include "automation/info/format_info_record.h"

#include <cstring>

#include "platform/os_services.h"

bool FormatInfoRecord::SetFontName(const char* name) {
  const size_t length = std::strlen(name);
  if (length >= kFormatInfoFontNameSize) {
    error = kInfoInvalidArgument;
    return false;
  }
  std::memcpy(fontName, name, length + 1);
  return true;
}

bool FormatInfoRecord::SetFontSize(int32_t size) {
  if (size < 1 || size > 254) {
    error = kInfoInvalidArgument;
    return false;
  }
  fontSize = static_cast<uint8_t>(size);
  return true;
}

uint32_t FormatInfoRecord::FontColor() const {
  return fontColorSet ? fontColor : OsSysColor(kOsColorWindowText);
}

// A solid or empty fill shows only its background, so its unset pattern
// colour is the window's; a hatched fill draws its pattern in the text colour.
uint32_t FormatInfoRecord::FillPatternColor() const {
  if (fillPatternColorSet) return fillPatternColor;
  return OsSysColor(fillType > 1 ? kOsColorWindowText : kOsColorWindow);
}

uint32_t FormatInfoRecord::FillBackgroundColor() const {
  return fillBackgroundColorSet ? fillBackgroundColor : OsSysColor(kOsColorWindow);
}

uint32_t FormatInfoRecord::BorderColor() const {
  return borderColorSet ? borderColor : OsSysColor(kOsColorWindowText);
}
