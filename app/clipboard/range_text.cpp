#include "app/clipboard/range_text.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/edit/cell_display_text.h"
#include "core/edit/cell_text.h"
#include "core/workbook/workbook.h"

namespace {

// A text that grows by doubling; every write checks the room first.
class TextWriter {
 public:
  explicit TextWriter(RangeText* out) : out_(out) {}

  bool Reserve(size_t more) {
    const size_t needed = out_->length + more + 1;
    if (needed <= capacity_) return true;
    if (more >= kMaxRangeTextSize || needed > kMaxRangeTextSize) return false;
    size_t capacity = capacity_ < 4096 ? 4096 : capacity_;
    while (capacity < needed) capacity *= 2;
    if (capacity > kMaxRangeTextSize) capacity = kMaxRangeTextSize;
    char* grown = static_cast<char*>(std::realloc(out_->text, capacity));
    if (grown == nullptr) return false;
    out_->text = grown;
    capacity_ = capacity;
    return true;
  }
  bool Repeat(char c, size_t count) {
    if (!Reserve(count)) return false;
    std::memset(out_->text + out_->length, c, count);
    out_->length += count;
    return true;
  }
  bool Write(const char* text, size_t count) {
    if (!Reserve(count)) return false;
    std::memcpy(out_->text + out_->length, text, count);
    out_->length += count;
    return true;
  }
  bool EndRow() { return Write("\r\n", 2); }
  void Terminate() { out_->text[out_->length] = '\0'; }

 private:
  RangeText* out_;
  size_t capacity_ = 0;
};

// A cell's shown text, quoted when it holds a TAB or a quote, or a line end,
// which would otherwise end the row early for the program reading it.
bool WriteCellText(TextWriter& writer, const char* text) {
  const size_t length = std::strlen(text);
  if (std::strpbrk(text, "\t\"\r\n") == nullptr) return writer.Write(text, length);
  if (!writer.Write("\"", 1)) return false;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c == '"' && !writer.Write("\"", 1)) return false;
    if (!writer.Write(c, 1)) return false;
  }
  return writer.Write("\"", 1);
}

// The TABs and line ends from the cell at (*row, *column) to the cell at
// (toRow, toColumn), which becomes the position.
bool WriteSeparatorsTo(TextWriter& writer, const UndoRange& range, uint32_t* row, uint32_t* column, uint32_t toRow,
                       uint32_t toColumn) {
  for (; *row < toRow; ++*row, *column = range.firstColumn)
    if (!writer.Repeat('\t', range.lastColumn - *column) || !writer.EndRow()) return false;
  const bool written = writer.Repeat('\t', toColumn - *column);
  *column = toColumn;
  return written;
}

bool WriteRangeText(CWorkBook* book, CWorkSheet* sheet, const UndoRange& range, TextWriter& writer) {
  const CellFormats formats{&sheet->format, &book->styles};
  CellCursor styleCursor;
  CellCursor walk = sheet->cells.StartRangeWalk(range.firstRow);
  uint32_t row = range.firstRow;
  uint32_t column = range.firstColumn;
  char shown[kCellTextCapacity];
  while (const CellRecord* cell =
             walk.NextInRange(range.firstColumn, range.lastColumn, range.firstRow, range.lastRow)) {
    if (!WriteSeparatorsTo(writer, range, &row, &column, cell->Row(), cell->Column())) return false;
    FormatCellDisplayText(*cell, formats.At(cell->Row(), cell->Column(), &styleCursor), shown, sizeof shown);
    if (!WriteCellText(writer, shown)) return false;
  }
  return WriteSeparatorsTo(writer, range, &row, &column, range.lastRow, range.lastColumn);
}

}  // namespace

RangeText::~RangeText() { std::free(text); }

bool FormatRangeText(CWorkBook* book, CWorkSheet* sheet, const UndoRange& range, RangeText* out) {
  std::free(out->text);
  out->text = nullptr;
  out->length = 0;
  if (range.firstColumn > range.lastColumn || range.firstRow > range.lastRow) return false;
  // The separators alone decide whether the text can be had at all: a
  // selection of whole columns would otherwise be written TAB by TAB first.
  const uint64_t columns = uint64_t(range.lastColumn) - range.firstColumn + 1;
  const uint64_t rows = uint64_t(range.lastRow) - range.firstRow + 1;
  const uint64_t separators = rows * (columns - 1) + 2 * (rows - 1);
  TextWriter writer(out);
  if (separators >= kMaxRangeTextSize || !writer.Reserve(size_t(separators)) ||
      !WriteRangeText(book, sheet, range, writer)) {
    std::free(out->text);
    out->text = nullptr;
    out->length = 0;
    return false;
  }
  writer.Terminate();
  return true;
}
