#include "dialogs/controls/color_items.h"

#include "core/base/scheme_colors.h"

namespace {

const char* const kNames[kColorItemCount] = {
    "black", "dark red", "dark green", "light brown", "dark blue", "purple",
    "dark cyan", "gray", "light gray", "red", "green", "yellow",
    "blue", "magenta", "cyan", "white", "default", "custom"};

}  // namespace

const char* ColorItemName(int item) {
  return item >= 0 && item < kColorItemCount ? kNames[item] : kNames[kColorItemCustom];
}

const char* GetColorName(uint32_t colour, bool isDefault) {
  if (isDefault) return kNames[kColorItemDefault];
  uint32_t palette[kPaletteSize];
  GetDefaultPalette(palette);
  for (int i = 0; i < kPaletteSize; ++i) {
    if (palette[i] == colour) return kNames[i];
  }
  return kNames[kColorItemCustom];
}

int ColorItemFor(uint32_t colour, uint32_t defaultColour, bool selectDefault) {
  if (selectDefault) return kColorItemDefault;
  uint32_t palette[kPaletteSize];
  GetDefaultPalette(palette);
  for (int i = 0; i < kPaletteSize; ++i) {
    if (palette[i] == colour) return i;
  }
  return colour == defaultColour ? kColorItemDefault : kColorItemCustom;
}
