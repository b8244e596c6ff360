#ifndef TALVERO_CORE_SCHEME_COLORS_H
#define TALVERO_CORE_SCHEME_COLORS_H

// The colours that new worksheets, containers, charts and page settings start
// with. Colours are 0x00BBGGRR, as the window system stores them.

#include <cstdint>

// Indices of GetSchemeColor: the running system's colours for these roles.
enum SchemeColor : int {
  kSchemeWindowText = 1,
  kSchemeWindow = 2,
  kSchemeButtonFace = 3,
  kSchemeButtonText = 4,
  kSchemeButtonHighlight = 5,
  kSchemeButtonShadow = 6,
  kSchemeHighlight = 7,
};

// The system colour of a SchemeColor index; any other index gives 0 (black).
uint32_t GetSchemeColor(int index);

constexpr int kPaletteSize = 16;

// The 16 classic colours of the system's stock palette (black, the eight dark
// colours with dark grey, light grey, then the bright ones); an entry the
// system will not give is the window-text colour.
void GetDefaultPalette(uint32_t colours[kPaletteSize]);

// The program's own colour table: the starting colours of a container's
// fractal background and of chart series (series i takes entry i mod 16).
inline constexpr uint32_t kProgramPalette[kPaletteSize] = {
    0x0000FF00, 0x0000FFFF, 0x000000FF, 0x00FF0000, 0x00FFFF00, 0x00808080,
    0x00808000, 0x00FF00FF, 0x00008080, 0x00800080, 0x00FFFFFF, 0x00000080,
    0x00008000, 0x00800000, 0x00C0C0C0, 0x00000000};

#endif
