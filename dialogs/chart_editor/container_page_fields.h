#ifndef TALVERO_DIALOGS_CHART_EDITOR_CONTAINER_PAGE_FIELDS_H
#define TALVERO_DIALOGS_CHART_EDITOR_CONTAINER_PAGE_FIELDS_H

// What the container pages of the chart editor and the fractal dialog
// decide: the grid, spacing and size fields with their ranges, the
// background choice, the fractal numbers as texts, and a chosen font's
// colour. Each store checks every field before it changes the record, and
// stores only values that the workbook files take back.

#include <cstddef>
#include <cstdint>

#include "core/model/container_record.h"

// The fields of the "Contents/Size" page, in the order they are checked.
enum ContainerGridField : int {
  kGridColumns = 0,
  kGridRows,
  kGridHorzSpacing,
  kGridVertSpacing,
  kGridWidth,
  kGridHeight,
  kContainerGridFields
};

struct ContainerFieldRange {
  int32_t minimum;
  int32_t maximum;
};

// The range of each field, for its edit and its up-down steps alike.
extern const ContainerFieldRange kContainerGridRanges[kContainerGridFields];

// The numbers the page shows for the container.
void LoadContainerGrid(const ContainerHeader& header, int32_t values[kContainerGridFields]);

// Checks the six texts in order; the first that is no integer of its range
// is returned and nothing is stored. Otherwise the grid and the spacings are
// stored and the width and height move the right and bottom edges (the
// left and top edges and the anchor stay), and kContainerGridFields is
// returned.
int StoreContainerGrid(const char* const texts[kContainerGridFields], ContainerHeader* header);

// The background radio buttons of the "Window" page.
enum BackgroundChoice : int { kChoosePattern = 0, kChooseImage = 1, kChooseFractal = 2 };

// The button a kind checks: an image or a fractal their own, anything else
// the pattern.
BackgroundChoice BackgroundChoiceOfKind(uint8_t kind);
// The kind the checked button stores; none checked (-1) keeps the kind.
uint8_t BackgroundKindOfChoice(int checked, uint8_t kind);
// The item of the image-view list for a view, and the view of an item (no
// item gives "Original size").
int ImageViewItem(uint8_t view);
uint8_t ImageViewOfItem(int item);

// The fractal numbers in the order of the dialog's edits (Zr, Zi, X-min,
// X-max, Y-min, Y-max).
constexpr int kFractalNumbers = 6;
// An edit takes at most this many characters.
constexpr size_t kFractalTextLimit = 329;

// What the fractal dialog holds: the settings it opened on, and the texts
// and colours its controls show. Only Accept stores into the settings.
struct FractalChoice {
  FractalParameters numbers;
  uint32_t colors[kPaletteSize];
  char shownTexts[kFractalNumbers][kFractalTextLimit + 1];
  uint32_t shownColors[kPaletteSize];

  // The controls show the settings, the numbers in their shortest text.
  void Show(char decimalSeparator);
  // The controls show the default settings; nothing is stored.
  void Reset(char decimalSeparator);
  // Parses every shown text first: the index of the first that is no finite
  // number, with nothing stored, or kFractalNumbers when the shown numbers
  // and colours became the settings.
  int Accept(char decimalSeparator);
};

// A font chosen in the font dialog sets its colour only when the colour
// differs from the window text's; the window text's colour is kept as
// "not set" with that colour.
void StoreChosenFontColor(uint32_t chosen, uint32_t windowText, ColorFontRecord* font);

#endif
