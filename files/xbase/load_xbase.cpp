#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/base/error_code.h"
#include "core/cells/cell_record_buffer.h"
#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/text/loaded_sheet.h"
#include "files/text/text_conversion.h"
#include "files/xbase/xbase_header.h"
#include "files/xbase/xbase_memo.h"
#include "files/xbase/xbase_values.h"

namespace {

// The most of a date field's text kept when it holds no date.
constexpr size_t kXBaseDateTextCapacity = 64;

// A character field keeps at most this many bytes.
constexpr size_t kCharacterCapacity = 1024;
// Marks the end of the records in dBase files.
constexpr uint8_t kEndOfFile = 0x1A;
constexpr uint8_t kDeletedMark = '*';
constexpr uint32_t kRed = 0x0000FF;  // COLORREF of (255, 0, 0)

struct FreeBytes {
  void operator()(uint8_t* bytes) const { std::free(bytes); }
};

class XBaseLoad {
 public:
  XBaseLoad(CWorkBook* book, CWorkSheet* sheet) : book_(book), sheet_(sheet), table_(book->xbaseTable) {}

  bool Run(uint32_t dataOffset) {
    std::FILE* file = book_->bufferedFile.file;
    const uint32_t fields = XBaseFieldCount(table_);
    const uint32_t recordLength = XBaseHeaderWord(table_, kXBaseHeaderRecordLength);
    std::unique_ptr<uint8_t, FreeBytes> record(static_cast<uint8_t*>(std::malloc(recordLength)));
    if (!record)
      return Fail(kFileOutOfMemory);
    if (std::fseek(file, long(dataOffset), SEEK_SET) != 0)
      return Fail(kFileReadError);
    for (uint32_t i = 0; i < fields; ++i) {
      const uint8_t* field = XBaseFieldAt(table_, i);
      if (!StoreText(0, i, reinterpret_cast<const char*>(field), strnlen(reinterpret_cast<const char*>(field), 10)))
        return Fail(kFileOutOfMemory);
    }
    for (uint32_t row = 1; row <= kMaxRow; ++row) {
      if (std::fread(record.get(), 1, recordLength, file) != recordLength || record.get()[0] == kEndOfFile)
        break;
      if (record.get()[0] == kDeletedMark && !MarkDeleted(row))
        return Fail(kFileOutOfMemory);
      const uint8_t* value = record.get() + 1;
      for (uint32_t i = 0; i < fields; ++i) {
        const uint8_t* field = XBaseFieldAt(table_, i);
        const uint32_t width = XBaseFieldWidth(field, table_.dialect);
        if (!StoreField(row, i, field[kXBaseFieldType], value, width))
          return Fail(kFileOutOfMemory);
        value += width;
      }
    }
    if (std::ferror(file))
      return Fail(kFileReadError);
    return true;
  }

 private:
  bool Fail(uint8_t code) {
    book_->error = code;
    return false;
  }

  // The record just built in record_, when its size is no 0.
  bool Insert(uint32_t size) { return size != 0 && sheet_->cells.InsertCell(record_.Record(), &cursor_); }

  bool StoreText(uint32_t row, uint32_t column, const char* text, size_t length, uint8_t error = 0) {
    return Insert(record_.BuildText(row, uint16_t(column), text, uint16_t(length), error));
  }

  bool StoreNumber(uint32_t row, uint32_t column, double value, uint8_t error = 0) {
    return Insert(record_.BuildNumber(row, uint16_t(column), value, error));
  }

  // A date field that holds no date, as its text (blanks and NULs at its
  // end dropped, a NUL inside read as a blank) carrying "#VALUE!".
  bool StoreBadDate(uint32_t row, uint32_t column, const uint8_t* value, uint32_t width) {
    char text[kXBaseDateTextCapacity];
    size_t length = width < sizeof text ? width : sizeof text;
    for (size_t i = 0; i < length; ++i) text[i] = value[i] == '\0' ? ' ' : char(value[i]);
    while (length > 0 && text[length - 1] == ' ') --length;
    return StoreText(row, column, text, length, kErrorValue);
  }

  // Character and memo texts: nothing for an empty one, OEM text as ANSI.
  bool StoreFileText(uint32_t row, uint32_t column, char* text, size_t length) {
    if (length == 0)
      return true;
    if (table_.codePage == kXBaseCodePageOem)
      OemToAnsiInPlace(text, length);
    return StoreText(row, column, text, length);
  }

  bool StoreField(uint32_t row, uint32_t column, uint8_t type, const uint8_t* value, uint32_t width) {
    switch (type) {
      case 'C': {
        char text[kCharacterCapacity];
        size_t length = width < sizeof text ? width : sizeof text;
        std::memcpy(text, value, length);
        // Writers pad with blanks, some with NULs.
        while (length > 0 && (text[length - 1] == ' ' || text[length - 1] == '\0')) --length;
        return StoreFileText(row, column, text, length);
      }
      case 'D': {
        char iso[11];
        switch (ParseXBaseDate(value, iso)) {
          case kXBaseDate: return StoreText(row, column, iso, std::strlen(iso));
          // No date: "#VALUE!", holding the field's text, which a save
          // writes back as it was.
          case kXBaseBadDate: return StoreBadDate(row, column, value, width);
          default: return true;
        }
      }
      case 'N':
      case 'F':
      case 'I':
      case 'Y':
        // A field of no width holds no number.
        return width == 0 || StoreNumber(row, column, ParseXBaseNumber(value, width));
      case 'L': {
        const char logical = ParseXBaseLogical(value[0]);
        return logical == 0 || StoreText(row, column, &logical, 1);
      }
      case 'M':
        return StoreMemo(row, column, ParseXBaseBlock(value, width));
      case 'B':
      case 'G':
      case 'P':
        return StoreText(row, column, "Binary data", 11);
      case 'T':
        return StoreText(row, column, "Time", 4);
      default:
        return true;
    }
  }

  bool StoreMemo(uint32_t row, uint32_t column, uint32_t block) {
    if (block == 0)
      return true;
    char text[kXBaseMemoCapacity + 1];
    if (!ReadXBaseMemo(book_->bufferedFile.path, table_.dialect, block, text))
      return StoreNumber(row, column, 0, kErrorNull);
    return StoreFileText(row, column, text, std::strlen(text));
  }

  // A deleted record is loaded all the same, in red; without room for the
  // style the row keeps the default one.
  bool MarkDeleted(uint32_t row) {
    if (!deletedStyleKnown_) {
      StyleRecord style = book_->styles.StyleAt(0);
      style.fontColorSet = 1;
      style.fontColor = kRed;
      hasDeletedStyle_ = book_->styles.FindOrAddStyle(style, &deletedStyle_);
      deletedStyleKnown_ = true;
    }
    return !hasDeletedStyle_ || sheet_->format.runs.InsertRun(StyleRun{0, kMaxColumn, row, deletedStyle_}, &runCursor_);
  }

  CWorkBook* book_;
  CWorkSheet* sheet_;
  const XBaseTable& table_;
  CellRecordBuffer record_;
  CellCursor cursor_;
  CellCursor runCursor_;
  bool deletedStyleKnown_ = false;
  bool hasDeletedStyle_ = false;
  uint16_t deletedStyle_ = 0;
};

}  // namespace

bool CWorkBook::LoadXBase() {
  if (!bufferedFile.file) {
    error = kFileReadError;
    return false;
  }
  CWorkSheet* sheet = StartLoadedSheet(this, bufferedFile.path);
  uint32_t dataOffset = 0;
  if (!sheet || !ReadXBaseTableHeader(this, &xbaseTable, &dataOffset))
    return false;
  return XBaseLoad(this, sheet).Run(dataOffset);
}
