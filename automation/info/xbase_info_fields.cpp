#include "automation/info/xbase_info_fields.h"

#include <cstring>

uint8_t* XBaseInfoFields::Descriptor(int32_t index) {
  // Only a counted field has a descriptor: the table exists once a count
  // was set, and the count never exceeds it.
  if (index < 0 || index >= count) {
    error = kInfoInvalidArgument;
    return nullptr;
  }
  return table.fieldDescriptors + static_cast<size_t>(index) * kXBaseFieldSize;
}

bool XBaseInfoFields::SetFieldCount(int32_t fields) {
  if (fields < 0 || static_cast<uint32_t>(fields) > kXBaseMaxFields) {
    error = kInfoInvalidArgument;
    return false;
  }
  if (!table.AllocFields()) {
    count = 0;
    error = kInfoOutOfMemory;
    return false;
  }
  count = fields;
  return true;
}

bool XBaseInfoFields::SetField(int32_t index, const char* name, uint8_t type, int32_t length, int32_t decimals) {
  uint8_t* field = Descriptor(index);
  if (field == nullptr) return false;
  std::memset(field, 0, kXBaseFieldSize);
  std::strncpy(reinterpret_cast<char*>(field), name, kXBaseFieldNameSize);
  field[kXBaseFieldType] = type;
  switch (type) {
    case 'C':
      // Long character fields keep their length's high byte in the
      // decimals byte where the flavour allows it.
      field[kXBaseFieldLength] = static_cast<uint8_t>(length);
      if (XBaseWideCharacterFields(table.dialect) && length > 254)
        field[kXBaseFieldDecimals] = static_cast<uint8_t>(length / 256);
      break;
    case 'N':
    case 'F':
      field[kXBaseFieldLength] = static_cast<uint8_t>(length);
      field[kXBaseFieldDecimals] = static_cast<uint8_t>(decimals);
      break;
    case 'L':
      field[kXBaseFieldLength] = 1;
      break;
    case 'D':
      field[kXBaseFieldLength] = 8;
      break;
    case 'M':
      field[kXBaseFieldLength] = 10;
      break;
    default:
      break;
  }
  return true;
}

bool XBaseInfoFields::GetField(int32_t index, char (&name)[kXBaseInfoNameSize], uint8_t* type, uint8_t* length,
                               uint8_t* decimals) {
  const uint8_t* field = Descriptor(index);
  if (field == nullptr) return false;
  std::memcpy(name, field, kXBaseFieldNameSize);
  name[kXBaseFieldNameSize] = '\0';
  *type = field[kXBaseFieldType];
  *length = field[kXBaseFieldLength];
  *decimals = field[kXBaseFieldDecimals];
  return true;
}

bool XBaseInfoFields::DeleteField(int32_t index) {
  uint8_t* field = Descriptor(index);
  if (field == nullptr) return false;
  const size_t following = static_cast<size_t>(count - 1 - index) * kXBaseFieldSize;
  std::memmove(field, field + kXBaseFieldSize, following);
  std::memset(field + following, 0, kXBaseFieldSize);
  --count;
  return true;
}

bool XBaseInfoFields::SetEncoding(int32_t encoding) {
  if (encoding != kXBaseCodePageAnsi && encoding != kXBaseCodePageOem) {
    error = kInfoInvalidArgument;
    return false;
  }
  table.codePage = static_cast<uint8_t>(encoding);
  return true;
}
