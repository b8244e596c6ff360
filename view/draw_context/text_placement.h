#ifndef TALVERO_VIEW_TEXT_PLACEMENT_H
#define TALVERO_VIEW_TEXT_PLACEMENT_H

// Where the drawing context puts each piece of a text: lines of a plain text
// under the vertical alignment, and the runs, blanks and fills of a cell's
// display tokens under the horizontal alignment, at any angle. The pieces go
// to a sink: the device in the Windows build, a recording in tests.

#include <cstddef>
#include <cstdint>

#include "core/numfmt/number_format.h"
#include "core/styles/text_measurer.h"

// Horizontal and vertical alignment codes of the drawing context.
constexpr int kAlignLeft = 1;
constexpr int kAlignCentre = 2;
constexpr int kAlignRight = 3;
constexpr int kAlignTop = 4;
constexpr int kAlignMiddle = 5;
constexpr int kAlignBaseline = 6;
constexpr int kAlignBottom = 7;

struct TextSink {
  // Draws one line of text (no breaks) with its anchor at (x, y).
  bool (*draw)(void* target, int32_t x, int32_t y, const char* text, size_t length);
  void* target;
};

// A text with line breaks (CR LF and LF CR count as one) at angle radians,
// counter-clockwise. The middle and bottom codes move the start against the
// line direction by half or all of the text's height; each line after a
// break starts one line height further on. False when a measurement or the
// sink failed.
bool PlaceTextLines(const TextMeasurer& measurer, const TextSink& sink, int32_t x, int32_t y, const char* text,
                    size_t length, double angle, int verticalCode);

// Display tokens in a field of the given width: the runs of shown
// characters, blanks as wide as their character and fill characters
// repeated over the spare width, all placed by the horizontal code from
// (x, y) (the right code ends the text there, the centre code centres it).
bool PlaceCellText(const TextMeasurer& measurer, const TextSink& sink, int32_t x, int32_t y,
                   const NumberFormat& tokens, int32_t width, double angle, int horizontalCode, int verticalCode);

#endif
