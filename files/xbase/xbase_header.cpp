#include "files/xbase/xbase_header.h"

#include <cstdio>
#include <cstring>

#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"

namespace {

// Ends the descriptors in the file.
constexpr uint8_t kDescriptorsEnd = 0x0D;

// The length a type's values always take.
uint32_t FixedWidthOf(uint8_t type) {
  switch (type) {
    case 'D': return 8;
    case 'L': return 1;
    case 'M': return 10;
    default: return 0;
  }
}

bool Fail(CWorkBook* book, uint8_t code) {
  book->error = code;
  return false;
}

}  // namespace

uint16_t XBaseHeaderWord(const XBaseTable& table, uint32_t offset) {
  return uint16_t(table.header[offset] | table.header[offset + 1] << 8);
}

void SetXBaseHeaderWord(XBaseTable* table, uint32_t offset, uint16_t value) {
  table->header[offset] = uint8_t(value & 0xFF);
  table->header[offset + 1] = uint8_t(value >> 8);
}

void SetXBaseRecordCount(XBaseTable* table, uint32_t count) {
  for (int i = 0; i < 4; ++i) table->header[kXBaseHeaderRecordCount + i] = uint8_t(count >> (8 * i));
}

bool ReadXBaseTableHeader(CWorkBook* book, XBaseTable* table, uint32_t* dataOffset) {
  std::FILE* file = book->bufferedFile.file;
  if (!file || std::fseek(file, 0, SEEK_END) != 0)
    return Fail(book, kFileReadError);
  const long fileLength = std::ftell(file);
  if (fileLength < 0 || std::fseek(file, 0, SEEK_SET) != 0)
    return Fail(book, kFileReadError);
  uint8_t header[kXBaseHeaderSize];
  if (std::fread(header, 1, sizeof header, file) != sizeof header)
    return Fail(book, std::ferror(file) ? kFileReadError : kFileBadFormat);
  std::memcpy(table->header, header, sizeof header);
  const uint32_t headerLength = XBaseHeaderWord(*table, kXBaseHeaderLength);
  const uint32_t recordLength = XBaseHeaderWord(*table, kXBaseHeaderRecordLength);
  const uint32_t room = headerLength < kXBaseHeaderSize ? 0 : (headerLength - kXBaseHeaderSize) / kXBaseFieldSize;
  if (room == 0 || room > kXBaseMaxFields || recordLength == 0 || headerLength > uint64_t(fileLength))
    return Fail(book, kFileBadFormat);
  if (!table->AllocFields())
    return Fail(book, kFileOutOfMemory);

  uint32_t count = 0;
  uint32_t widths = 1;  // the deletion byte
  for (; count < room; ++count) {
    uint8_t* field = table->fieldDescriptors + size_t(count) * kXBaseFieldSize;
    if (std::fread(field, 1, kXBaseFieldSize, file) != kXBaseFieldSize)
      return Fail(book, std::ferror(file) ? kFileReadError : kFileBadFormat);
    // Some writers leave room after the end mark (a FoxPro back link).
    if (field[0] == kDescriptorsEnd) {
      std::memset(field, 0, kXBaseFieldSize);
      break;
    }
    const uint8_t type = field[kXBaseFieldType];
    const uint32_t fixed = FixedWidthOf(type);
    if (type < 'A' || type > 'Z' || (fixed != 0 && field[kXBaseFieldLength] != fixed))
      return Fail(book, kFileBadFormat);
    widths += XBaseFieldWidth(field, table->dialect);
  }
  // Records are read field by field: the fields must fill them exactly, and
  // the header must hold the descriptors and their end mark.
  if (count == 0 || widths != recordLength || headerLength < kXBaseHeaderSize + count * kXBaseFieldSize + 1)
    return Fail(book, kFileBadFormat);
  SetXBaseHeaderWord(table, kXBaseHeaderLength, uint16_t(kXBaseHeaderSize + count * kXBaseFieldSize + 1));
  SetXBaseRecordCount(table, uint32_t((uint64_t(fileLength) - headerLength) / recordLength));
  *dataOffset = headerLength;
  return true;
}

bool CWorkBook::ReadXBaseHeader(XBaseTable* table) {
  uint32_t dataOffset = 0;
  return ReadXBaseTableHeader(this, table, &dataOffset);
}
