#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/edit/cell_display_text.h"
#include "core/numfmt/double_to_text.h"
#include "core/numfmt/number_format.h"
#include "core/numfmt/number_input.h"
#include "core/numfmt/regional_settings.h"
#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/text/text_conversion.h"
#include "files/xbase/xbase_header.h"
#include "files/xbase/xbase_memo.h"
#include "files/xbase/xbase_cell_value.h"
#include "files/xbase/xbase_values.h"

namespace {

constexpr uint32_t kLargestRecord = 65534;
constexpr uint8_t kDescriptorsEnd = 0x0D;
constexpr uint8_t kEndOfFile = 0x1A;
constexpr uint32_t kRed = 0x0000FF;  // COLORREF of (255, 0, 0)

struct FreeBytes {
  void operator()(uint8_t* bytes) const { std::free(bytes); }
};

class XBaseWriter {
 public:
  XBaseWriter(CWorkBook* book, CWorkSheet* sheet)
      : book_(book), sheet_(sheet), table_(book->xbaseTable), file_(book->bufferedFile.file) {}

  // The table to the end, whatever fails on the way; false with the first
  // failure's code.
  bool Write() {
    const uint32_t fields = XBaseFieldCount(table_);
    uint32_t recordLength = 1;
    bool memo = false;
    for (uint32_t i = 0; i < fields; ++i) {
      const uint8_t* field = XBaseFieldAt(table_, i);
      recordLength += XBaseFieldWidth(field, table_.dialect);
      memo = memo || field[kXBaseFieldType] == 'M';
    }
    // The editors change field lengths without the record length, which the
    // file must state as the fields add up.
    const bool tooLong =
        XBaseWideCharacterFields(table_.dialect) ? recordLength >= kLargestRecord : recordLength > kLargestRecord;
    if (tooLong)
      return Fail(kFileTooManyFields);
    std::unique_ptr<uint8_t, FreeBytes> record(static_cast<uint8_t*>(std::malloc(recordLength)));
    if (!record)
      return Fail(kFileOutOfMemory);
    uint32_t lastRow = 0;
    sheet_->cells.GetUsedRange(nullptr, nullptr, nullptr, &lastRow);
    SetXBaseRecordCount(&table_, lastRow);
    SetXBaseHeaderWord(&table_, kXBaseHeaderRecordLength, uint16_t(recordLength));
    // The header holds the descriptors and their end mark, whatever length
    // the description gives it.
    const uint32_t leastHeader = kXBaseHeaderSize + fields * kXBaseFieldSize + 1;
    if (XBaseHeaderWord(table_, kXBaseHeaderLength) < leastHeader)
      SetXBaseHeaderWord(&table_, kXBaseHeaderLength, uint16_t(leastHeader));
    WriteHeader(fields);
    // The memo file is made afresh, so that a table with memo fields always
    // has one, even when all its memos are empty.
    if (memo && !CreateXBaseMemoFile(book_->bufferedFile.path, table_.dialect))
      NoteMemoFailure(kFileCannotOpenForWriting);
    for (uint32_t row = 1; row <= lastRow && !std::ferror(file_); ++row) {
      WriteRecord(row, fields, record.get());
      std::fwrite(record.get(), 1, recordLength, file_);
    }
    if (table_.dialect == kXBaseDBaseIII || table_.dialect == kXBaseDBaseIV)
      std::fputc(kEndOfFile, file_);
    if (std::ferror(file_))
      return Fail(kFileWriteError);
    if (memoError_ != 0)
      return Fail(memoError_);
    if (numberTooWide_)
      return Fail(kFileNumberTooWide);
    return true;
  }

 private:
  bool Fail(uint8_t code) {
    book_->error = code;
    return false;
  }

  void NoteMemoFailure(uint8_t code) {
    if (memoError_ == 0)
      memoError_ = code;
  }

  void WriteHeader(uint32_t fields) {
    std::fwrite(table_.header, 1, kXBaseHeaderSize, file_);
    std::fwrite(table_.fieldDescriptors, kXBaseFieldSize, fields, file_);
    std::fputc(kDescriptorsEnd, file_);
    const uint32_t headerLength = XBaseHeaderWord(table_, kXBaseHeaderLength);
    for (uint32_t at = kXBaseHeaderSize + fields * kXBaseFieldSize + 1; at < headerLength; ++at) std::fputc(0, file_);
  }

  bool Deleted(uint32_t row) {
    const StyleRun* run = sheet_->format.runs.FindRun(row, 0, &runCursor_);
    if (!run)
      return false;
    const StyleRecord& style = book_->styles.StyleAt(run->style);
    return style.fontColorSet != 0 && style.fontColor == kRed;
  }

  void WriteRecord(uint32_t row, uint32_t fields, uint8_t* record) {
    record[0] = Deleted(row) ? '*' : ' ';
    uint8_t* at = record + 1;
    for (uint32_t i = 0; i < fields; ++i) {
      const uint8_t* field = XBaseFieldAt(table_, i);
      const uint32_t width = XBaseFieldWidth(field, table_.dialect);
      const CellRecord* cell = sheet_->cells.FindCell(row, uint16_t(i), &cellCursor_);
      const XBaseFieldValue value = XBaseValueOfCell(cell);
      if (value.present)
        PutField(field, *cell, value, at, width);
      else
        std::memset(at, ' ', width);
      at += width;
    }
  }

  void PutField(const uint8_t* field, const CellRecord& cell, const XBaseFieldValue& value, uint8_t* at, size_t width) {
    const RegionalSettings& current = CurrentRegionalSettings();
    char text[kCellTextCapacity];
    switch (field[kXBaseFieldType]) {
      case 'C': {
        const size_t length =
            value.isText ? CopyText(value, text) : XBaseNumberText(*book_, *sheet_, cell, &runCursor_, text);
        if (table_.codePage == kXBaseCodePageOem)
          AnsiToOemInPlace(text, length);
        PutXBaseText(at, width, text, length);
        return;
      }
      case 'N':
      case 'F':
        return PutNumber(at, width, NumberOf(value), field[kXBaseFieldDecimals]);
      case 'Y':
        return PutNumber(at, width, NumberOf(value), kXBaseCurrencyDecimals);
      case 'I':
        return PutNumber(at, width, NumberOf(value), 0);
      case 'D': {
        // A field read as no date keeps the text it held (see the reader);
        // a date as the reader gives it ("yyyy-mm-dd", any year and day it
        // takes) goes back digit for digit; another text that is no date
        // leaves the field blank.
        if (cell.IsText() && cell.ErrorCode() != 0) {
          PutXBaseText(at, width, cell.Text(), cell.TextLength());
          return;
        }
        CopyText(value, text);
        char date[kCellTextCapacity];
        const bool isDate = value.isText && (XBaseDateDigits(text, date) ||
                                             (FormatTextToString(text, "yyyymmdd", date, sizeof date, &current) &&
                                              std::strlen(date) == 8));
        PutXBaseText(at, width, date, isDate ? 8 : 0);
        return;
      }
      case 'L': {
        const char logical = value.isText ? XBaseLogicalOfText(value.text) : XBaseLogicalOfNumber(value.number);
        PutXBaseText(at, width, &logical, 1);
        return;
      }
      case 'M':
        return PutMemo(cell, value, at, width);
      default:
        std::memset(at, ' ', width);
        return;
    }
  }

  // The text NUL-terminated in out, cut to what out holds.
  static size_t CopyText(const XBaseFieldValue& value, char* out) {
    const size_t length = value.length < kCellTextCapacity ? value.length : kCellTextCapacity - 1;
    std::memcpy(out, value.text, length);
    out[length] = '\0';
    return length;
  }

  static double NumberOf(const XBaseFieldValue& value) {
    if (!value.isText)
      return value.number;
    char text[kCellTextCapacity];
    CopyText(value, text);
    double number = 0;
    uint8_t category = 0;
    NumFormatOptions options{};
    if (!ParseWithFormat(text, &number, &category, &options, CurrentRegionalSettings()))
      number = 0;
    return number;
  }

  void PutNumber(uint8_t* at, size_t width, double value, int decimals) {
    if (!PutXBaseNumber(at, width, value, decimals))
      numberTooWide_ = true;
  }

  void PutMemo(const CellRecord& cell, const XBaseFieldValue& value, uint8_t* at, size_t width) {
    // A memo that could not be read (an error) has nothing to write again.
    if (cell.ErrorCode() != 0) {
      std::memset(at, ' ', width);
      return;
    }
    char text[kCellTextCapacity];
    size_t length = value.isText ? CopyText(value, text)
                                 : DoubleToText(value.number, text, sizeof text, &CurrentRegionalSettings());
    if (table_.codePage == kXBaseCodePageOem)
      AnsiToOemInPlace(text, length);
    uint32_t block = 0;
    if (!book_->WriteXBaseMemo(book_->bufferedFile.path, table_.dialect, text, length, &block)) {
      NoteMemoFailure(book_->error);
      std::memset(at, ' ', width);
      return;
    }
    char number[16];
    const int printed = std::snprintf(number, sizeof number, "%10u", block);
    PutXBaseText(at, width, number, size_t(printed));
  }

  CWorkBook* book_;
  CWorkSheet* sheet_;
  XBaseTable& table_;
  std::FILE* file_;
  CellCursor cellCursor_;
  CellCursor runCursor_;
  uint8_t memoError_ = 0;
  bool numberTooWide_ = false;
};

}  // namespace

bool CWorkBook::SaveXBase(CWorkSheet* sheet) {
  if (!bufferedFile.file || !sheet) {
    error = kFileWriteError;
    return false;
  }
  // A description never made (a table saved without Save As) is derived
  // from the worksheet.
  if (XBaseFieldCount(xbaseTable) == 0 && !BuildXBaseFields(sheet, &xbaseTable))
    return false;
  return XBaseWriter(this, sheet).Write();
}
