#include "core/base/scheme_colors.h"

#include "platform/os_services.h"

uint32_t GetSchemeColor(int index) {
  switch (index) {
    case kSchemeWindowText: return OsSysColor(kOsColorWindowText);
    case kSchemeWindow: return OsSysColor(kOsColorWindow);
    case kSchemeButtonFace: return OsSysColor(kOsColorButtonFace);
    case kSchemeButtonText: return OsSysColor(kOsColorButtonText);
    case kSchemeButtonHighlight: return OsSysColor(kOsColorButtonHighlight);
    case kSchemeButtonShadow: return OsSysColor(kOsColorButtonShadow);
    case kSchemeHighlight: return OsSysColor(kOsColorHighlight);
    default: return 0;
  }
}

void GetDefaultPalette(uint32_t colours[kPaletteSize]) {
  // The stock palette keeps dark grey (12) after the light colours; the
  // program shows it beside the other dark ones.
  static const int kStockIndex[kPaletteSize] = {0,  1,  2,  3,  4,  5,  6,  12,
                                                7,  13, 14, 15, 16, 17, 18, 19};
  for (int i = 0; i < kPaletteSize; ++i) {
    if (!OsStockPaletteEntry(kStockIndex[i], &colours[i]))
      colours[i] = GetSchemeColor(kSchemeWindowText);
  }
}
