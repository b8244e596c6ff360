#include "core/edit/data_series.h"

#include <cmath>
#include <cstring>

#include "core/edit/cell_display_text.h"
#include "core/edit/cell_input.h"
#include "core/edit/cell_text.h"
#include "core/numfmt/date_time.h"
#include "core/workbook/workbook.h"

namespace {

enum SeriesKind : uint8_t {
  kSeriesNothing = 0,
  kSeriesNumbers = 1,
  kSeriesDates = 2,
  kSeriesText = 3,
};

constexpr int64_t kSecondsPerDay = 86400;

struct Seed {
  bool present;
  bool isNumber;
  bool isDate;
  double number;
  DateTime date;
  uint16_t textLength;
  char text[kCellTextCapacity];
};

struct Series {
  uint8_t kind;
  double start;
  double step;
  double second;  // the second seed's number, when the step comes from it
  DateTime firstDate;
  Duration dateStep;
  uint16_t textLength;
  const char* text;
};

// A seed as its shown text typed into its cell again.
void ReadSeed(CWorkBook* book, CWorkSheet* sheet, uint32_t row, uint16_t column, Seed* seed) {
  std::memset(seed, 0, sizeof *seed);
  const CellRecord* cell = sheet->cells.GetCell(row, column);
  if (!cell)
    return;
  seed->present = true;
  const CellFormats formats{&sheet->format, &book->styles};
  NumFormatParams format = formats.At(row, column);
  char shown[kCellTextCapacity];
  FormatCellValueText(*cell, format, shown, sizeof shown);
  alignas(8) uint8_t record[kCellInputCapacity];
  const uint32_t size = CWorkSheet::ParseCellInput(book, shown, &format, row, column, record, sizeof record);
  const CellRecord* parsed = AsCellRecord(record);
  if (size != 0 && parsed->IsNumber() && parsed->ErrorCode() == 0) {
    seed->isNumber = true;
    seed->number = parsed->Number();
    return;
  }
  // Anything else, a formula typed as text among them, is the text shown.
  if (size != 0 && parsed->IsText()) {
    seed->textLength = parsed->TextLength();
    std::memcpy(seed->text, parsed->Text(), seed->textLength);
  } else {
    seed->textLength = static_cast<uint16_t>(std::strlen(shown));
    std::memcpy(seed->text, shown, seed->textLength);
  }
  seed->text[seed->textLength] = '\0';
  seed->isDate = ParseIsoDateTime(&seed->date, seed->text);
}

// The step from one date to another, in days, hours, minutes and seconds,
// or in milliseconds when the seconds agree.
Duration DateDifference(const DateTime& from, const DateTime& to) {
  Duration step{};
  int64_t seconds = to.ToSeconds() - from.ToSeconds();
  if (seconds == 0) {
    const int32_t milliseconds = to.millisecond - from.millisecond;
    step.negative = milliseconds < 0;
    step.milliseconds = milliseconds < 0 ? -milliseconds : milliseconds;
    return step;
  }
  step.negative = seconds < 0;
  if (seconds < 0)
    seconds = -seconds;
  step.days = static_cast<int32_t>(seconds / kSecondsPerDay);
  step.hours = static_cast<int32_t>(seconds % kSecondsPerDay / 3600);
  step.minutes = static_cast<int32_t>(seconds % 3600 / 60);
  step.seconds = static_cast<int32_t>(seconds % 60);
  return step;
}

void ChooseSeries(const Seed& first, const Seed& second, bool forwards, Series* series) {
  std::memset(series, 0, sizeof *series);
  const double direction = forwards ? 1.0 : -1.0;
  if (first.isNumber) {
    series->kind = kSeriesNumbers;
    series->start = first.number;
    series->step = second.isNumber ? second.number - first.number : direction;
    series->second = second.isNumber ? second.number : first.number + direction;
  } else if (first.isDate) {
    series->kind = kSeriesDates;
    series->firstDate = first.date;
    if (second.isDate) {
      series->dateStep = DateDifference(first.date, second.date);
    } else {
      series->dateStep.negative = forwards ? 0 : 1;
      (first.date.hasTime ? series->dateStep.hours : series->dateStep.days) = 1;
    }
  } else if (first.textLength > 0) {
    series->kind = kSeriesText;
    series->text = first.text;
    series->textLength = first.textLength;
  }
}

// One part of the step taken k times; false when it passes what a duration holds.
bool Multiply(int32_t part, uint64_t k, int32_t* out) {
  const uint64_t product = static_cast<uint64_t>(part) * k;
  if (part != 0 && product / static_cast<uint64_t>(part) != k)
    return false;
  if (product > INT32_MAX)
    return false;
  *out = static_cast<int32_t>(product);
  return true;
}

// The number at place k. Seeds of opposite signs near the largest number
// have a difference beyond it; the series still runs through both seeds
// and on to where it overflows.
double SeriesNumber(const Series& series, uint64_t k) {
  if (k == 0)
    return series.start;
  const double place = static_cast<double>(k);
  if (std::isfinite(series.step))
    return series.start + place * series.step;
  return (1.0 - place) * series.start + place * series.second;
}

// The record of place k, or 0 when the cell keeps what it holds.
uint32_t SeriesRecord(const Series& series, uint64_t k, uint32_t row, uint16_t column, uint8_t* record,
                      size_t capacity) {
  switch (series.kind) {
    case kSeriesNumbers: {
      // A place past the largest number holds the overflow error, as a
      // formula's result would; no cell holds an infinity.
      const double value = SeriesNumber(series, k);
      if (!std::isfinite(value))
        return BuildNumberCell(record, capacity, row, column, 0.0, kErrorNum);
      return BuildNumberCell(record, capacity, row, column, value);
    }
    case kSeriesText:
      return BuildTextCell(record, capacity, row, column, series.text, series.textLength);
    case kSeriesDates: {
      const Duration& step = series.dateStep;
      Duration times{};
      times.negative = step.negative;
      if (!Multiply(step.days, k, &times.days) || !Multiply(step.hours, k, &times.hours) ||
          !Multiply(step.minutes, k, &times.minutes) || !Multiply(step.seconds, k, &times.seconds) ||
          !Multiply(step.milliseconds, k, &times.milliseconds))
        return 0;
      DateTime value;
      char text[kIsoTextCapacity];
      if (!series.firstDate.AddDuration(times, &value) || !DateTimeToIsoText(value, text, sizeof text))
        return 0;
      return BuildTextCell(record, capacity, row, column, text, static_cast<uint16_t>(std::strlen(text)));
    }
  }
  return 0;
}

}  // namespace

uint8_t FillDataSeries(CWorkBook* book, const CellRange& range) {
  CWorkSheet* sheet = book->activeWorksheet;
  if (!sheet) {
    book->error = kWorkbookInvalidCacheIndex;
    return kSeriesFailed;
  }
  if (range.firstColumn == range.lastColumn && range.firstRow == range.lastRow)
    return kSeriesOneCell;
  const bool across = range.lastColumn > range.firstColumn;
  bool forwards = true;
  uint16_t column = range.firstColumn;
  uint32_t row = range.firstRow;
  if (!sheet->cells.GetCell(row, column)) {
    forwards = false;
    column = range.lastColumn;
    row = range.lastRow;
    if (!sheet->cells.GetCell(row, column))
      return kSeriesNoSeed;
  }
  const int32_t toward = forwards ? 1 : -1;
  Seed first, second;
  ReadSeed(book, sheet, row, column, &first);
  ReadSeed(book, sheet, across ? row : row + toward, across ? static_cast<uint16_t>(column + toward) : column,
           &second);
  Series series;
  ChooseSeries(first, second, forwards, &series);
  if (series.kind == kSeriesNothing)
    return kSeriesEmptySeed;

  const UndoRange recorded = {range.firstColumn, range.firstRow, range.lastColumn, range.lastRow};
  if (!book->undoHistory.RecordCellsAndStyles(book, recorded, true, false))
    return kSeriesFailed;
  const uint64_t width = range.lastColumn - range.firstColumn + 1u;
  CellCursor at;
  for (uint32_t r = range.firstRow; r <= range.lastRow; ++r) {
    for (uint32_t c = range.firstColumn; c <= range.lastColumn; ++c) {
      const uint64_t k = forwards ? (r - range.firstRow) * width + (c - range.firstColumn)
                                  : (range.lastRow - r) * width + (range.lastColumn - c);
      alignas(8) uint8_t record[kTextCellHeadSize + kCellTextCapacity];
      const uint32_t size = SeriesRecord(series, k, r, static_cast<uint16_t>(c), record, sizeof record);
      if (size != 0 && !sheet->cells.InsertCell(AsCellRecord(record), &at)) {
        book->error = kWorkbookOutOfMemory;
        return kSeriesFailed;
      }
    }
  }
  return kSeriesFilled;
}
