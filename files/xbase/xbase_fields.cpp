#include <cstdio>
#include <cstring>

#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/xbase/xbase_header.h"
#include "platform/os_services.h"

namespace {

// Texts from this length on need a memo field in dBase tables.
constexpr uint32_t kLongText = 255;
constexpr uint32_t kLargestRecord = 65534;
constexpr uint32_t kLargestHeader = 65534;
// Float fields keep the six decimals numbers were always written with.
constexpr uint8_t kFloatDecimals = 6;

enum ColumnKind : uint8_t { kUndecided, kNumeric, kCharacter, kMemo };

struct ColumnState {
  ColumnKind kind;
  uint32_t length;
};

// The text a cell offers a field: a text, or a formula's text result; none
// for cells with an error.
bool CellText(const CellRecord& cell, const char** text, uint32_t* length) {
  if (cell.ErrorCode() != 0)
    return false;
  if (cell.IsText()) {
    *text = cell.Text();
    *length = cell.TextLength();
    return true;
  }
  if (cell.IsFormula() && cell.HasCachedText()) {
    *text = cell.CachedText();
    *length = cell.CachedTextLength();
    return true;
  }
  return false;
}

bool CellNumber(const CellRecord& cell) {
  return cell.ErrorCode() == 0 &&
         (cell.IsNumber() || (cell.IsFormula() && !cell.HasCachedText() && (cell.ResultFlags() & kResultCachedNumber)));
}

void TakeCell(const CellRecord& cell, uint8_t dialect, ColumnState* column) {
  if (column->kind == kMemo)
    return;
  const char* text = nullptr;
  uint32_t length = 0;
  if (CellNumber(cell)) {
    if (column->kind == kUndecided) {
      column->kind = kNumeric;
      column->length = dialect == kXBaseDBaseIII || dialect == kXBaseClipper ? 18 : 20;
    }
  } else if (CellText(cell, &text, &length)) {
    if (length >= kLongText && !XBaseWideCharacterFields(dialect)) {
      column->kind = kMemo;
      return;
    }
    column->kind = kCharacter;
    if (length > column->length)
      column->length = length;
  }
}

void PutDescriptor(uint8_t* field, const ColumnState& column, uint8_t dialect) {
  switch (column.kind) {
    case kMemo:
      field[kXBaseFieldType] = 'M';
      field[kXBaseFieldLength] = 10;
      break;
    case kNumeric:
      field[kXBaseFieldType] = uint8_t(dialect == kXBaseDBaseIII || dialect == kXBaseClipper ? 'N' : 'F');
      field[kXBaseFieldLength] = uint8_t(column.length);
      if (field[kXBaseFieldType] == 'F')
        field[kXBaseFieldDecimals] = kFloatDecimals;
      break;
    default: {
      field[kXBaseFieldType] = 'C';
      const uint32_t length = column.length < 65535 ? column.length : 65535;
      field[kXBaseFieldLength] = uint8_t(length & 0xFF);
      if (XBaseWideCharacterFields(dialect))
        field[kXBaseFieldDecimals] = uint8_t(length >> 8);
      break;
    }
  }
}

uint8_t VersionByte(uint8_t dialect, bool memo) {
  if (!memo)
    return 0x03;
  switch (dialect) {
    case kXBaseDBaseIV: return 0x8B;
    case kXBaseFoxPro: return 0xF5;
    default: return 0x83;
  }
}

}  // namespace

bool CWorkBook::BuildXBaseFields(CWorkSheet* sheet, XBaseTable* table) {
  uint16_t lastColumn = 0;
  uint32_t lastRow = 0;
  const bool any = sheet->cells.GetUsedRange(nullptr, &lastColumn, nullptr, &lastRow);
  const uint32_t fields = any ? lastColumn + 1u : 1u;
  if (!table->AllocFields()) {
    error = kFileOutOfMemory;
    return false;
  }
  const uint8_t dialect = table->dialect;
  ColumnState columns[kXBaseMaxFields] = {};
  for (uint32_t c = 0; c < fields; ++c) columns[c].length = 1;
  ForEachRecord(sheet->cells, [&](const CellRecord& cell) {
    uint8_t* field = table->fieldDescriptors + size_t(cell.Column()) * kXBaseFieldSize;
    const char* text = nullptr;
    uint32_t length = 0;
    if (cell.Row() != 0)
      TakeCell(cell, dialect, &columns[cell.Column()]);
    else if (CellText(cell, &text, &length))
      std::memcpy(field, text, length < kXBaseFieldNameSize - 1 ? length : kXBaseFieldNameSize - 1);
    return true;
  });
  uint32_t recordLength = 1;
  for (uint32_t c = 0; c < fields; ++c) {
    uint8_t* field = table->fieldDescriptors + size_t(c) * kXBaseFieldSize;
    if (field[0] == '\0') {
      // At most "field_2047": it fits the name's 10 characters.
      char name[24];
      const int length = std::snprintf(name, sizeof name, "field_%u", c + 1);
      std::memcpy(field, name, size_t(length) < kXBaseFieldNameSize - 1 ? size_t(length) : kXBaseFieldNameSize - 1);
    }
    PutDescriptor(field, columns[c], dialect);
    recordLength += XBaseFieldWidth(field, dialect);
  }
  const bool tooLong = XBaseWideCharacterFields(dialect) ? recordLength >= kLargestRecord : recordLength > kLargestRecord;
  const uint32_t headerLength = kXBaseHeaderSize + fields * kXBaseFieldSize + 1;
  if (tooLong || headerLength > kLargestHeader) {
    error = kFileTooManyFields;
    return false;
  }
  StampXBaseHeader(table, fields, any ? lastRow : 0);
  return true;
}

void StampXBaseHeader(XBaseTable* table, uint32_t fields, uint32_t recordCount) {
  bool memo = false;
  uint32_t recordLength = 1;
  for (uint32_t c = 0; c < fields; ++c) {
    const uint8_t* field = table->fieldDescriptors + size_t(c) * kXBaseFieldSize;
    memo = memo || field[kXBaseFieldType] == 'M';
    recordLength += XBaseFieldWidth(field, table->dialect);
  }
  OsLocalTime today{};
  OsGetLocalTime(&today);
  std::memset(table->header, 0, sizeof table->header);
  table->header[kXBaseHeaderVersion] = VersionByte(table->dialect, memo);
  table->header[kXBaseHeaderDate] = uint8_t(today.year - 1900);
  table->header[kXBaseHeaderDate + 1] = uint8_t(today.month);
  table->header[kXBaseHeaderDate + 2] = uint8_t(today.day);
  SetXBaseRecordCount(table, recordCount);
  SetXBaseHeaderWord(table, kXBaseHeaderLength, uint16_t(kXBaseHeaderSize + fields * kXBaseFieldSize + 1));
  SetXBaseHeaderWord(table, kXBaseHeaderRecordLength, uint16_t(recordLength));
}
