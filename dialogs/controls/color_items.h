#ifndef TALVERO_DIALOGS_COLOR_ITEMS_H
#define TALVERO_DIALOGS_COLOR_ITEMS_H

// The items of the colour combo: the sixteen colours of the system's stock
// palette, then "default" and "custom". Colours are 0x00BBGGRR.

#include <cstdint>

constexpr int kColorItemCount = 18;
constexpr int kColorItemDefault = 16;
constexpr int kColorItemCustom = 17;

// The item's name; "custom" for any index out of range.
const char* ColorItemName(int item);

// "default" when the flag is set; else the name of the first palette colour
// equal to the colour; else "custom".
const char* GetColorName(uint32_t colour, bool isDefault);

// The item a colour selects: the default item when asked, else the first
// item whose colour equals it among the palette, the default colour and
// (always matching) the custom colour.
int ColorItemFor(uint32_t colour, uint32_t defaultColour, bool selectDefault);

#endif
