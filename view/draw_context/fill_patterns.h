#ifndef TALVERO_VIEW_FILL_PATTERNS_H
#define TALVERO_VIEW_FILL_PATTERNS_H

// The two-colour fill patterns 2 to 18: 8 x 8 cells, rows from the top, each
// row a byte whose most significant bit is the leftmost pixel (a set bit
// takes the second colour). Pattern 1 is solid, 19 to 22 are gradients.

#include <cstdint>

constexpr uint8_t kFirstCellPattern = 2;
constexpr uint8_t kLastCellPattern = 18;
constexpr uint8_t kFirstGradientPattern = 19;
constexpr uint8_t kLastGradientPattern = 22;
constexpr uint8_t kPatternCount = 23;  // codes 0 to 22

// The 8 rows of a cell pattern; null for any other code.
const uint8_t* PatternRows(uint8_t pattern);
inline bool PatternPixelSet(const uint8_t* rows, int x, int y) { return (rows[y] >> (7 - x)) & 1; }

// How many device pixels a pattern pixel covers: 1, except on a printer
// (not the print preview, not on Windows 9x), where the pattern keeps its
// size on paper: the larger of the device-to-screen ratios of the pixels per
// inch, each taken as 1 when it is not above 1.
int32_t PatternScale(bool printing, bool preview, bool windows9x, int32_t deviceX, int32_t deviceY,
                     int32_t screenX, int32_t screenY);

#endif
