#include <cstdio>
#include <cstring>

#include "core/edit/cell_display_text.h"
#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/text/text_conversion.h"

namespace {

// Writes a worksheet's cells line by line: one line per row, each cell's
// displayed text in its column's field.
class TextWriter {
 public:
  TextWriter(CWorkBook* book, CWorkSheet* sheet)
      : book_(book), sheet_(sheet), options_(book->textFileOptions), file_(book->bufferedFile.file) {}

  void Write() {
    // A failed write ends the walk; the caller reports it.
    ForEachRecord(sheet_->cells, [&](const CellRecord& cell) {
      if (std::ferror(file_))
        return false;
      WriteCell(cell);
      return true;
    });
  }

 private:
  void Put(const char* bytes, size_t count) { std::fwrite(bytes, 1, count, file_); }

  void PutRepeated(char c, size_t count) {
    char run[64];
    std::memset(run, c, sizeof run);
    for (; count > sizeof run; count -= sizeof run) Put(run, sizeof run);
    Put(run, count);
  }

  void WriteCell(const CellRecord& cell) {
    const uint32_t row = cell.Row();
    const uint16_t column = cell.Column();
    if (row > row_) {
      for (uint32_t r = row_; r < row; ++r) Put("\r\n", 2);
      position_ = 0;
    }
    char text[kCellTextCapacity];
    const StyleRecord& style = book_->styles.StyleAt(sheet_->format.CellStyle(row, column, &styleCursor_));
    FormatCellDisplayText(cell, style.numFormat, text, sizeof text);
    if (options_.fixedWidth)
      WriteFixedField(column, text);
    else
      WriteDelimitedField(column, text);
    row_ = row;
    position_ = column + 1u;
  }

  void WriteFixedField(uint16_t column, char* text) {
    for (uint32_t c = position_; c < column; ++c) PutRepeated(' ', options_.widths[c]);
    const size_t width = options_.widths[column];
    size_t length = std::strlen(text);
    // Cut by characters before any conversion, so that a multi-byte UTF-8
    // character is never split.
    if (width != 0 && length > width)
      length = width;
    size_t converted = length;
    char utf8[kUtf8TextCapacity];
    const char* bytes = Convert(text, &converted, utf8);
    Put(bytes, converted);
    if (width > length)
      PutRepeated(' ', width - length);
  }

  void WriteDelimitedField(uint16_t column, char* text) {
    const uint32_t separators = position_ == 0 ? column : column + 1u - position_;
    PutRepeated(options_.separator, separators);
    size_t length = std::strlen(text);
    char utf8[kUtf8TextCapacity];
    const char* bytes = Convert(text, &length, utf8);
    const char quote = options_.quote;
    // Without a quote character no text can be protected; a NUL written as
    // one would end the file for every reader.
    if (quote == '\0') {
      Put(bytes, length);
      return;
    }
    if (std::memchr(bytes, quote, length)) {
      Put(&quote, 1);
      for (const char* p = bytes; p < bytes + length;) {
        const char* next = static_cast<const char*>(std::memchr(p, quote, size_t(bytes + length - p)));
        const size_t run = next ? size_t(next - p) + 1 : size_t(bytes + length - p);
        Put(p, run);
        if (next)
          Put(&quote, 1);
        p += run;
      }
      Put(&quote, 1);
    } else if (NeedsQuotes(bytes, length)) {
      Put(&quote, 1);
      Put(bytes, length);
      Put(&quote, 1);
    } else {
      Put(bytes, length);
    }
  }

  // A separator, CR or LF inside a field would split it for every reader.
  bool NeedsQuotes(const char* bytes, size_t length) const {
    for (size_t i = 0; i < length; ++i)
      if (bytes[i] == options_.separator || bytes[i] == '\r' || bytes[i] == '\n')
        return true;
    return false;
  }

  // The text in the file's character set: converted in place for OEM, into
  // utf8 for UTF-8.
  const char* Convert(char* text, size_t* length, char* utf8) const {
    switch (options_.charset) {
      case kTextCharsetUtf8:
        *length = AnsiToUtf8(text, *length, utf8);
        return utf8;
      case kTextCharsetOem:
        AnsiToOemInPlace(text, *length);
        return text;
      default:
        return text;
    }
  }

  CWorkBook* book_;
  CWorkSheet* sheet_;
  const TextFileOptions& options_;
  std::FILE* file_;
  uint32_t row_ = 0;
  uint32_t position_ = 0;  // the column after the last field of the line
  CellCursor styleCursor_;
};

}  // namespace

bool CWorkBook::SaveText(CWorkSheet* sheet) {
  if (!bufferedFile.file || !sheet) {
    error = kFileWriteError;
    return false;
  }
  TextWriter(this, sheet).Write();
  if (std::ferror(bufferedFile.file)) {
    error = kFileWriteError;
    return false;
  }
  return true;
}
