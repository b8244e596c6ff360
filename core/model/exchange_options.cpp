#include "core/model/exchange_options.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t kDescriptorBytes = size_t(kXBaseMaxFields) * kXBaseFieldSize;

}  // namespace

void XBaseTable::Free() {
  std::free(fieldDescriptors);
  fieldDescriptors = nullptr;
  codePage = kXBaseCodePageAnsi;
  dialect = kXBaseDBaseIV;
}

bool XBaseTable::AllocFields() {
  if (!fieldDescriptors)
    fieldDescriptors = static_cast<uint8_t*>(std::calloc(kXBaseMaxFields, kXBaseFieldSize));
  else
    std::memset(fieldDescriptors, 0, kDescriptorBytes);
  return fieldDescriptors != nullptr;
}

bool XBaseTable::CopyTo(XBaseTable* target) const {
  std::memcpy(target->header, header, sizeof header);
  target->codePage = codePage;
  target->dialect = dialect;
  std::free(target->fieldDescriptors);
  target->fieldDescriptors = static_cast<uint8_t*>(std::calloc(kXBaseMaxFields, kXBaseFieldSize));
  if (!target->fieldDescriptors)
    return false;
  if (fieldDescriptors)
    std::memcpy(target->fieldDescriptors, fieldDescriptors, kDescriptorBytes);
  return true;
}

uint32_t XBaseFieldCount(const XBaseTable& table) {
  if (table.fieldDescriptors == nullptr) return 0;
  const uint32_t headerLength = table.header[kXBaseHeaderLength] | uint32_t(table.header[kXBaseHeaderLength + 1]) << 8;
  if (headerLength < kXBaseHeaderSize) return 0;
  const uint32_t count = (headerLength - kXBaseHeaderSize) / kXBaseFieldSize;
  return count < kXBaseMaxFields ? count : kXBaseMaxFields;
}

uint32_t XBaseRecordCount(const XBaseTable& table) {
  const uint8_t* at = table.header + kXBaseHeaderRecordCount;
  return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

uint8_t* XBaseFieldAt(XBaseTable& table, uint32_t index) {
  if (index >= XBaseFieldCount(table)) return nullptr;
  return table.fieldDescriptors + size_t(index) * kXBaseFieldSize;
}

const uint8_t* XBaseFieldAt(const XBaseTable& table, uint32_t index) {
  return XBaseFieldAt(const_cast<XBaseTable&>(table), index);
}

uint32_t XBaseFieldWidth(const uint8_t* field, uint8_t dialect) {
  uint32_t width = field[kXBaseFieldLength];
  if (field[kXBaseFieldType] == 'C' && XBaseWideCharacterFields(dialect))
    width += 256u * field[kXBaseFieldDecimals];
  return width;
}
