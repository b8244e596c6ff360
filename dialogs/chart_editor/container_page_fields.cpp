#include "dialogs/chart_editor/container_page_fields.h"

#include <cstdio>
#include <cstring>

#include "core/base/scheme_colors.h"
#include "dialogs/chart_editor/page_numbers.h"
#include "dialogs/controls/parsed_text.h"
#include "services/convert/number_text.h"

// The grid takes what a file may hold: the editor grows it past 10 x 10 as
// charts are added, and a page refusing that would refuse every later Apply.
const ContainerFieldRange kContainerGridRanges[kContainerGridFields] = {
    {1, kContainerMaxGridLines},  // columns
    {1, kContainerMaxGridLines},  // rows
    {0, 255},    // horizontal spacing
    {0, 255},    // vertical spacing
    {10, 10000}, // width
    {10, 10000}, // height
};

namespace {

constexpr int64_t kLargestEdge = 2147483647;

// The record lays its numbers out in the order of the dialog's edits; it is
// packed, so they are copied whole rather than pointed at.
static_assert(sizeof(FractalParameters) == kFractalNumbers * sizeof(double), "six numbers in edit order");

void ShowNumbers(FractalChoice& choice, const FractalParameters& numbers, char separator) {
  double values[kFractalNumbers];
  std::memcpy(values, &numbers, sizeof values);
  for (int i = 0; i < kFractalNumbers; ++i) {
    char text[kFormatDoubleCapacity];
    if (FormatDouble(text, sizeof text, separator, values[i], -1) == 0) text[0] = 0;
    std::snprintf(choice.shownTexts[i], sizeof choice.shownTexts[i], "%.*s", int(kFractalTextLimit), text);
  }
}

}  // namespace

void LoadContainerGrid(const ContainerHeader& header, int32_t values[kContainerGridFields]) {
  values[kGridColumns] = header.columns;
  values[kGridRows] = header.rows;
  values[kGridHorzSpacing] = header.horizontalSpacing;
  values[kGridVertSpacing] = header.verticalSpacing;
  values[kGridWidth] = header.rect.right - header.rect.left + 1;
  values[kGridHeight] = header.rect.bottom - header.rect.top + 1;
}

int StoreContainerGrid(const char* const texts[kContainerGridFields], ContainerHeader* header) {
  int64_t values[kContainerGridFields];
  for (int i = 0; i < kContainerGridFields; ++i) {
    if (!ParseIntegerText(texts[i], &values[i]) || values[i] < kContainerGridRanges[i].minimum ||
        values[i] > kContainerGridRanges[i].maximum)
      return i;
  }
  // An edge the rectangle cannot hold (a box placed at the very end of the
  // offsets) refuses the size that would need it.
  if (int64_t(header->rect.left) + values[kGridWidth] - 1 > kLargestEdge) return kGridWidth;
  if (int64_t(header->rect.top) + values[kGridHeight] - 1 > kLargestEdge) return kGridHeight;
  header->columns = uint8_t(values[kGridColumns]);
  header->rows = uint8_t(values[kGridRows]);
  header->horizontalSpacing = uint8_t(values[kGridHorzSpacing]);
  header->verticalSpacing = uint8_t(values[kGridVertSpacing]);
  header->rect.right = int32_t(header->rect.left + values[kGridWidth] - 1);
  header->rect.bottom = int32_t(header->rect.top + values[kGridHeight] - 1);
  return kContainerGridFields;
}

BackgroundChoice BackgroundChoiceOfKind(uint8_t kind) {
  if (kind == kBackgroundImage) return kChooseImage;
  if (kind == kBackgroundFractal) return kChooseFractal;
  return kChoosePattern;
}

uint8_t BackgroundKindOfChoice(int checked, uint8_t kind) {
  switch (checked) {
    case kChoosePattern:
      return kBackgroundPattern;
    case kChooseImage:
      return kBackgroundImage;
    case kChooseFractal:
      return kBackgroundFractal;
  }
  return kind;
}

int ImageViewItem(uint8_t view) { return view == 1 || view == 2 ? view : 0; }

uint8_t ImageViewOfItem(int item) { return item >= 0 && item <= 2 ? uint8_t(item) : uint8_t(0); }

void FractalChoice::Show(char decimalSeparator) {
  ShowNumbers(*this, numbers, decimalSeparator);
  std::memcpy(shownColors, colors, sizeof shownColors);
}

void FractalChoice::Reset(char decimalSeparator) {
  ShowNumbers(*this, kDefaultFractal, decimalSeparator);
  std::memcpy(shownColors, kProgramPalette, sizeof shownColors);
}

int FractalChoice::Accept(char decimalSeparator) {
  double parsed[kFractalNumbers];
  for (int i = 0; i < kFractalNumbers; ++i)
    if (!ParsePageNumber(shownTexts[i], decimalSeparator, &parsed[i])) return i;
  std::memcpy(&numbers, parsed, sizeof parsed);
  std::memcpy(colors, shownColors, sizeof colors);
  return kFractalNumbers;
}

void StoreChosenFontColor(uint32_t chosen, uint32_t windowText, ColorFontRecord* font) {
  font->colorSet = chosen == windowText ? 0 : 1;
  font->color = chosen;
}
