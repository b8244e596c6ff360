#ifndef TALVERO_CHARTS_LABELS_LABEL_TEXT_H
#define TALVERO_CHARTS_LABELS_LABEL_TEXT_H

// What a data-point label says: the point's category (the text of a
// category series, the value of an X-values series, else the point's
// number), its value through the series' number format, or both on two
// lines.

#include <cstddef>
#include <cstdint>

#include "core/model/chart_record.h"
#include "core/numfmt/num_format_params.h"

enum PointLabelKind : uint8_t {
  kNoPointLabels = 0,
  kLabelCategory = 1,
  kLabelValue = 2,
  kLabelCategoryValue = 3,
  kLabelValueCategory = 4,
};

// Room for either part of a label (a value formatted by the longest code
// fits) and for a whole label of two parts.
constexpr size_t kLabelPartSize = kNumFormatCodeSize + 64;
constexpr size_t kPointLabelSize = 2 * kLabelPartSize + 2;

// Whether the label text is drawn or measured: a data or error-bar series
// named as related gives no category text to draw, but is measured as if it
// had no categories.
enum LabelPurpose : uint8_t {
  kLabelToDraw = 0,
  kLabelToMeasure = 1,
};

// The code the series' values are shown with: a predefined category's code
// built afresh with the generic separators, or the stored user pattern.
void PointLabelCode(const SeriesRecord& series, char* code, size_t size);

// The label of the series' point, its category taken from the related
// series (kNoSeries: an empty category); false when the label is dropped,
// which is when the code cannot format a value it shows.
bool PointLabelText(const ChartRecord& chart, int series, int related, uint32_t point, const char* code,
                    LabelPurpose purpose, char* text, size_t size);

#endif
