#ifndef TALVERO_DIALOGS_ALIGNMENT_PAGE_RULES_H
#define TALVERO_DIALOGS_ALIGNMENT_PAGE_RULES_H

// What the Alignment page's buttons and rotation bar decide. The three
// overflow buttons are a radio group; an alignment button whose value is set
// already returns the field to the default when pressed again.

#include <cstddef>
#include <cstdint>

#include "core/styles/style_record.h"

// The page's toolbar buttons.
enum AlignmentButton : uint16_t {
  kOverflowIntoNeighbours = 408,
  kOverflowWrap = 409,
  kOverflowShrink = 410,
  kAlignLeft = 1028,
  kAlignCentre = 411,
  kAlignRight = 413,
  kAlignTop = 412,
  kAlignMiddle = 1029,
  kAlignBottom = 1030,
};

// The button's field changed in the block; the attribute kind to apply (16
// overflow, 14 horizontal, 15 vertical), 0 for another identifier.
int PressAlignmentButton(StyleAlignment* alignment, uint16_t button);
// Whether the button shows pressed for the block.
bool AlignmentButtonSet(const StyleAlignment& alignment, uint16_t button);

// The rotation bar's positions -9..9 stand for tens of degrees.
constexpr int kRotationStep = 10;
constexpr int kMaxRotationPosition = 9;
int RotationPosition(int8_t rotation);
int8_t RotationOfPosition(int position);
// "%d degrees".
void RotationLabel(int degrees, char* out, size_t size);

#endif
