#include "dialogs/format_cells/alignment_page_rules.h"

#include <cstdio>

namespace {

struct ButtonValue {
  uint16_t button;
  uint8_t horizontal;  // 0: not a horizontal button
  uint8_t vertical;    // 0: not a vertical button
};

const ButtonValue kValues[] = {
    {kAlignLeft, kHAlignLeft, 0},  {kAlignCentre, kHAlignCentre, 0}, {kAlignRight, kHAlignRight, 0},
    {kAlignTop, 0, kVAlignTop},    {kAlignMiddle, 0, kVAlignCentre}, {kAlignBottom, 0, kVAlignBottom},
};

const ButtonValue* ValueOf(uint16_t button) {
  for (const ButtonValue& value : kValues)
    if (value.button == button) return &value;
  return nullptr;
}

}  // namespace

int PressAlignmentButton(StyleAlignment* a, uint16_t button) {
  switch (button) {
    case kOverflowIntoNeighbours:
    case kOverflowWrap:
    case kOverflowShrink:
      a->wrapText = button == kOverflowWrap ? 1 : 0;
      a->fitToCell = button == kOverflowShrink ? 1 : 0;
      return kApplyTextControl;
  }
  const ButtonValue* value = ValueOf(button);
  if (!value) return 0;
  if (value->horizontal) {
    a->horizontal = a->horizontal == value->horizontal ? uint8_t(kHAlignNone) : value->horizontal;
    return kApplyHorizontalAlignment;
  }
  a->vertical = a->vertical == value->vertical ? uint8_t(kVAlignNone) : value->vertical;
  return kApplyVerticalAlignment;
}

bool AlignmentButtonSet(const StyleAlignment& a, uint16_t button) {
  switch (button) {
    case kOverflowIntoNeighbours: return !a.wrapText && !a.fitToCell;
    case kOverflowWrap: return a.wrapText == 1;
    case kOverflowShrink: return a.fitToCell == 1;
  }
  const ButtonValue* value = ValueOf(button);
  if (!value) return false;
  return value->horizontal ? a.horizontal == value->horizontal : a.vertical == value->vertical;
}

int RotationPosition(int8_t rotation) {
  const int position = rotation / kRotationStep;  // towards zero
  return position < -kMaxRotationPosition ? -kMaxRotationPosition
         : position > kMaxRotationPosition ? kMaxRotationPosition
                                           : position;
}

int8_t RotationOfPosition(int position) {
  if (position < -kMaxRotationPosition) position = -kMaxRotationPosition;
  if (position > kMaxRotationPosition) position = kMaxRotationPosition;
  return static_cast<int8_t>(position * kRotationStep);
}

void RotationLabel(int degrees, char* out, size_t size) { std::snprintf(out, size, "%d degrees", degrees); }
