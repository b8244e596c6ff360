#include "files/native_binary/record_checks.h"

#include <cmath>
#include <cstring>

#include "core/model/drop_down_list.h"
#include "core/model/worksheet_view_state.h"
#include "files/native_binary/binary_format.h"
#include "core/model/inspect_cell.h"

namespace {

constexpr uint8_t kMaxFillPattern = 22;
constexpr uint8_t kMaxLineStyle = 9;
constexpr uint8_t kMaxFontFamily = 5;
constexpr uint8_t kMaxFontWeight = 3;
constexpr uint8_t kMaxCharSet = 16;
constexpr uint8_t kMaxDecimals = 14;
constexpr uint8_t kMaxDateTimeStyle = 10;
constexpr uint8_t kMaxSeriesViewType = 11;
constexpr uint8_t kMaxSymbol = 15;
constexpr uint8_t kMaxIndent = 254;

template <size_t N>
void Terminate(char (&text)[N]) {
  text[N - 1] = '\0';
}

// By value: the fields sit unaligned in packed records.
template <class T>
T Within(T value, T maximum, T fallback = 0) {
  return value > maximum ? fallback : value;
}

template <class T>
T Between(T value, T lowest, T highest) {
  return value < lowest ? lowest : value > highest ? highest : value;
}

void CheckMargin(double* margin, double fallback) {
  if (!std::isfinite(*margin))
    *margin = fallback;
}

void CheckCorner(ViewCorner* corner) {
  corner->column = Between<uint16_t>(corner->column, 0, kMaxColumn);
  corner->row = Between<uint32_t>(corner->row, 0, kMaxRow);
}

void CheckFill(FillRecord* fill) { fill->pattern = Within(fill->pattern, kMaxFillPattern); }
void CheckLine(BorderLine* line) { line->style = Within(line->style, kMaxLineStyle); }
void CheckColorFont(ColorFontRecord* font) { CheckFontRecord(&font->font); }

void CheckNumberFormat(NumFormatParams* format) {
  Terminate(format->code);
  NumFormatOptions& options = format->options;
  switch (format->category) {
    case kNumFormatGeneral:
    case kNumFormatPercent:
      options.number.decimals = Within(options.number.decimals, kMaxDecimals, kMaxDecimals);
      options.number.integerDigits = Within(options.number.integerDigits, kMaxDecimals, kMaxDecimals);
      options.number.negativeStyle = Within(options.number.negativeStyle, uint8_t(kNegativeRedParentheses));
      break;
    case kNumFormatCurrency:
    case kNumFormatAccounting:
      Terminate(options.currency.symbol);
      options.currency.decimals = Within(options.currency.decimals, kMaxDecimals, kMaxDecimals);
      options.currency.symbolPosition = Within(options.currency.symbolPosition, uint8_t(kSymbolAfterWithBlank));
      options.currency.negativeStyle = Within(options.currency.negativeStyle, uint8_t(kNegativeRedParentheses));
      break;
    case kNumFormatDate:
    case kNumFormatTime:
    case kNumFormatDateTime:
      options.dateTime.dateStyle = Within(options.dateTime.dateStyle, kMaxDateTimeStyle);
      options.dateTime.timeStyle = Within(options.dateTime.timeStyle, kMaxDateTimeStyle);
      break;
    case kNumFormatFraction:
      options.fraction.denominatorDigits = Within(options.fraction.denominatorDigits, kMaxDecimals, kMaxDecimals);
      break;
    case kNumFormatScientific:
      options.scientific.decimals = Within(options.scientific.decimals, kMaxDecimals, kMaxDecimals);
      options.scientific.exponentStyle = Within(options.scientific.exponentStyle, uint8_t(kExponentFixedNegative));
      options.scientific.exponentValue = Within(options.scientific.exponentValue, uint8_t(99), uint8_t(99));
      break;
    default:
      break;
  }
}

}  // namespace

void CheckFontRecord(FontRecord* font) {
  Terminate(font->faceName);
  font->family = Within(font->family, kMaxFontFamily);
  font->weight = Within(font->weight, kMaxFontWeight);
  font->charSet = Within(font->charSet, kMaxCharSet);
}

void CheckStyleRecord(StyleRecord* style, uint8_t fontCount) {
  CheckNumberFormat(&style->numFormat);
  if (style->fontIndex >= fontCount)
    style->fontIndex = 0;
  CheckFill(&style->interior);
  CheckLine(&style->borders.line);
  StyleAlignment& alignment = style->alignment;
  if (alignment.vertical != kVAlignNone && (alignment.vertical < kVAlignTop || alignment.vertical > kVAlignBottom))
    alignment.vertical = kVAlignNone;
  alignment.horizontal = Within(alignment.horizontal, uint8_t(kHAlignRight));
  if (alignment.rotation < -90 || alignment.rotation > 90)
    alignment.rotation = 0;
  alignment.horizontalIndent = Within(alignment.horizontalIndent, kMaxIndent, kMaxIndent);
  alignment.verticalIndent = Within(alignment.verticalIndent, kMaxIndent, kMaxIndent);
  style->dropDown.listId = Within(style->dropDown.listId, uint16_t(kDropDownListCount));
}

void CheckContainerHeader(ContainerHeader* header) {
  CheckColorFont(&header->titleFont);
  CheckColorFont(&header->subtitleFont);
  Terminate(header->titleText);
  Terminate(header->subtitleText);
  Terminate(header->imageName);
  header->backgroundKind = Within(header->backgroundKind, uint8_t(kBackgroundFractal));
  CheckFill(&header->fill);
  CheckLine(&header->border);
}

bool CheckChartOptions(ChartOptions* options) {
  if (options->kind < kChart2D || options->kind > kChartXY || options->seriesCount > kChartMaxSeries)
    return false;
  CheckColorFont(&options->titleFont);
  CheckColorFont(&options->subtitleFont);
  CheckColorFont(&options->legendFont);
  Terminate(options->titleText);
  Terminate(options->subtitleText);
  options->legend = Within(options->legend, uint8_t(8));
  CheckFill(&options->wallFill);
  CheckLine(&options->wallBorder);
  return true;
}

void CheckSeriesImage(SeriesRecord* series) {
  Terminate(series->name);
  Terminate(series->relatedX);
  Terminate(series->relatedSigma);
  Terminate(series->dataArray);
  Terminate(series->axisTitleText);
  CheckNumberFormat(&series->numberFormat);
  // Derived from the points, which a load rebuilds.
  series->flags = uint16_t(series->flags & ~kSeriesFixedLimits);
  series->scale = Within(series->scale, uint8_t(3));
  if (series->viewType < 1 || series->viewType > kMaxSeriesViewType)
    series->viewType = 1;
  series->labelKind = Within(series->labelKind, uint8_t(4));
  if (series->symbol < 1 || series->symbol > kMaxSymbol)
    series->symbol = 4;
  series->axisType = Within(series->axisType, uint8_t(3));
  series->sliceCount = Within(series->sliceCount, uint8_t(kSeriesSliceCount), uint8_t(kSeriesSliceCount));
  series->userGridCount = Within(series->userGridCount, uint8_t(kSeriesUserGridLines), uint8_t(kSeriesUserGridLines));
  CheckColorFont(&series->labelFont);
  CheckColorFont(&series->axisTitleFont);
  CheckLine(&series->line);
  CheckLine(&series->connectingLine);
  CheckLine(&series->axisLine);
  CheckLine(&series->majorGrid);
  CheckLine(&series->minorGrid);
  CheckFill(&series->fill);
  for (FillRecord& fill : series->sliceFills) CheckFill(&fill);
  for (BorderLine& line : series->userGridLines) CheckLine(&line);
}

void CheckPageSettings(PageSettings* settings) {
  Terminate(settings->printerName);
  Terminate(settings->sheetSizeName);
  Terminate(settings->pages);
  Terminate(settings->excludedRows);
  Terminate(settings->excludedColumns);
  Terminate(settings->headerText);
  Terminate(settings->footerText);
  CheckFontRecord(&settings->headerFont);
  settings->scale = Between<uint16_t>(settings->scale, kMinPrintScale, kMaxPrintScale);
  settings->firstPageNumber = Between<uint16_t>(settings->firstPageNumber, 1, kMaxFirstPageNumber);
  settings->copies = Between<uint16_t>(settings->copies, 1, kMaxCopies);
  settings->pagesPerSheetRows = Between<uint8_t>(settings->pagesPerSheetRows, 1, kMaxPagesPerSheet);
  settings->pagesPerSheetColumns = Between<uint8_t>(settings->pagesPerSheetColumns, 1, kMaxPagesPerSheet);
  PageSettings defaults;
  InitPageSettings(&defaults);
  CheckMargin(&settings->headerMargin, defaults.headerMargin);
  CheckMargin(&settings->footerMargin, defaults.footerMargin);
  CheckMargin(&settings->marginLeft, defaults.marginLeft);
  CheckMargin(&settings->marginRight, defaults.marginRight);
  CheckMargin(&settings->marginTop, defaults.marginTop);
  CheckMargin(&settings->marginBottom, defaults.marginBottom);
}

void CheckSheetSettings(WorksheetViewFormat* settings) {
  Terminate(settings->imagePath);
  CheckFill(&settings->fill);
  // Files of earlier versions leave the zoom 0 for the default.
  settings->zoom = settings->zoom == 0 ? 100 : Between(settings->zoom, kMinZoom, kMaxZoom);
  WorksheetViewState* state = ViewStateOf(settings);
  CheckCorner(&state->topLeft);
  CheckCorner(&state->selection[0]);
  CheckCorner(&state->selection[1]);
  CheckCorner(&state->frozen);
}

void CheckInspectRecord(uint8_t* record) {
  record[kInspectPathOffset + kInspectPathSize - 1] = 0;
  record[kInspectNameOffset + kInspectNameSize - 1] = 0;
  uint16_t column;
  uint32_t row;
  std::memcpy(&column, record + kInspectColumnOffset, sizeof column);
  std::memcpy(&row, record + kInspectRowOffset, sizeof row);
  column = Between<uint16_t>(column, 0, kMaxColumn);
  row = Between<uint32_t>(row, 0, kMaxRow);
  std::memcpy(record + kInspectColumnOffset, &column, sizeof column);
  std::memcpy(record + kInspectRowOffset, &row, sizeof row);
}

void CheckColumnRecord(ColumnRecord* column, uint16_t styleCount) {
  if (column->Style() >= styleCount)
    column->SetStyle(0);
}
