#include "core/cells/cell_record.h"

namespace {

// The spill bit and the error nibble; the kind bits belong to the builder.
constexpr uint8_t kTypeExtraMask = kCellSpillValue | kCellErrorMask;

void WriteHead(uint8_t* out, uint8_t type, uint32_t row, uint16_t column) {
  CellHead head;
  head.type = type;
  head.column = column;
  head.row = row;
  std::memcpy(out, &head, sizeof head);
}

}  // namespace

uint32_t BuildTextCell(void* buffer, size_t capacity, uint32_t row, uint16_t column, const char* text,
                       uint16_t length, uint8_t typeExtra) {
  uint32_t size = kTextCellHeadSize + length;
  if (size > capacity || (length && !text))
    return 0;
  uint8_t* out = static_cast<uint8_t*>(buffer);
  WriteHead(out, kCellText | (typeExtra & kTypeExtraMask), row, column);
  std::memcpy(out + offsetof(TextCellHead, length), &length, sizeof length);
  if (length)
    std::memcpy(out + kTextCellHeadSize, text, length);
  return size;
}

uint32_t BuildNumberCell(void* buffer, size_t capacity, uint32_t row, uint16_t column, double value,
                         uint8_t typeExtra) {
  if (kNumberCellSize > capacity)
    return 0;
  uint8_t* out = static_cast<uint8_t*>(buffer);
  WriteHead(out, kCellNumber | (typeExtra & kTypeExtraMask), row, column);
  std::memcpy(out + offsetof(NumberCellLayout, value), &value, sizeof value);
  return kNumberCellSize;
}

uint32_t BuildFormulaCell(void* buffer, size_t capacity, uint32_t row, uint16_t column,
                          const FormulaCellFields& fields) {
  bool cachedText = fields.cachedText != nullptr;
  uint32_t size = kFormulaCellHeadSize + fields.formulaLength;
  if (cachedText)
    size += kCachedTextLengthSize + fields.cachedTextLength;
  if (size > capacity || (fields.formulaLength && !fields.formula))
    return 0;

  FormulaCellHead head;
  head.head.type = kCellFormula | (fields.typeExtra & kTypeExtraMask);
  head.head.column = column;
  head.head.row = row;
  head.arrayColumns = fields.arrayColumns;
  head.arrayRows = fields.arrayRows;
  head.pending = 0;
  head.resultFlags = cachedText ? (fields.resultFlags | kResultCachedText)
                                : (fields.resultFlags & ~kResultCachedText);
  head.dependantColumn = 0;
  head.dependantRow = 0;
  head.dependantSheet = 0;
  head.cachedNumber = fields.cachedNumber;
  head.formulaLength = fields.formulaLength;

  uint8_t* out = static_cast<uint8_t*>(buffer);
  std::memcpy(out, &head, sizeof head);
  uint8_t* at = out + kFormulaCellHeadSize;
  if (fields.formulaLength)
    std::memcpy(at, fields.formula, fields.formulaLength);
  at += fields.formulaLength;
  if (cachedText) {
    std::memcpy(at, &fields.cachedTextLength, sizeof fields.cachedTextLength);
    if (fields.cachedTextLength)
      std::memcpy(at + kCachedTextLengthSize, fields.cachedText, fields.cachedTextLength);
  }
  return size;
}
