#ifndef TALVERO_VIEW_HEADER_FOOTER_LAYOUT_H
#define TALVERO_VIEW_HEADER_FOOTER_LAYOUT_H

// Where the runs of header and footer codes stand: each section's runs one
// below the other from the top, left runs from the left edge, centred runs
// on the middle, right runs up to the right edge. Page headers and footers
// and chart titles are laid out alike; the runs go to a drawer (the device,
// or a recording in tests), or nowhere when only the height is wanted.

#include <cstddef>
#include <cstdint>

#include "core/styles/text_measurer.h"
#include "view/printing/header_footer_codes.h"

// Draws one run top-aligned at (x, y) with the horizontal alignment code
// (1 left, 2 centre, 3 right); false when it could not be drawn.
struct HeaderRunDrawer {
  bool (*draw)(void* target, int horizontal, int32_t x, int32_t y, const char* text, size_t length);
  void* target;
};

// Lays out the codes between left and right from top, measured in the
// measurer's selected font; draws every non-empty run unless drawer is null.
// *height is the tallest section's height. False when a run could not be
// measured or drawn (the others are still laid out).
bool PlaceHeaderFooter(const TextMeasurer& measurer, const HeaderRunDrawer* drawer, int32_t left, int32_t top,
                       int32_t right, const char* codes, const HeaderFooterSources& sources, int32_t* height);

#endif
