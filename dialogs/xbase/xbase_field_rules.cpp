#include "dialogs/xbase/xbase_field_rules.h"

#include <cstring>

namespace {

bool CharacterLengthSpansTwoBytes(uint8_t dialect, char type) {
  return type == 'C' && XBaseWideCharacterFields(dialect);
}

uint8_t AtMost(int32_t value, int32_t maximum) {
  if (value < 0) return 0;
  return static_cast<uint8_t>(value < maximum ? value : maximum);
}

}  // namespace

const char* const kXBaseOfferedTypeNames[kXBaseOfferedTypeCount] = {"Character", "Numeric", "Float",
                                                                     "Logical",   "Date",    "Memo"};

int XBaseTypeItem(char type) {
  for (int i = 0; i < kXBaseOfferedTypeCount; ++i) {
    if (kXBaseOfferedTypes[i] == type) return i;
  }
  return -1;
}

XBaseFieldValues XBaseFieldValuesOf(const uint8_t* field, uint8_t dialect) {
  XBaseFieldValues values{};
  std::memcpy(values.name, field, kXBaseFieldNameSize - 1);
  values.name[kXBaseFieldNameSize - 1] = '\0';
  values.type = static_cast<char>(field[kXBaseFieldType]);
  values.length = field[kXBaseFieldLength];
  values.decimals = field[kXBaseFieldDecimals];
  if (CharacterLengthSpansTwoBytes(dialect, values.type)) {
    values.length += 256 * values.decimals;
    values.decimals = 0;
  }
  return values;
}

void ApplyXBaseFieldType(XBaseFieldValues* values, char type) {
  values->type = type;
  switch (type) {
    case 'L': values->length = 1; values->decimals = 0; break;
    case 'D': values->length = 8; values->decimals = 0; break;
    case 'M': values->length = 10; values->decimals = 0; break;
    default: break;
  }
}

int32_t XBaseLengthLimit(uint8_t dialect, char type) {
  if (CharacterLengthSpansTwoBytes(dialect, type)) return 65535;
  if (type == 'N' || type == 'F') return 20;
  if (type == 'C' && (dialect == 3 || dialect == 4)) return 254;
  return 255;
}

void StoreXBaseField(uint8_t* field, uint8_t dialect, const XBaseFieldValues& values) {
  std::memset(field, 0, kXBaseFieldNameSize);
  size_t nameLength = 0;
  while (nameLength < kXBaseFieldNameSize - 1 && values.name[nameLength] != '\0') ++nameLength;
  std::memcpy(field, values.name, nameLength);
  field[kXBaseFieldType] = static_cast<uint8_t>(values.type);
  const int32_t maximum = XBaseLengthLimit(dialect, values.type);
  if (CharacterLengthSpansTwoBytes(dialect, values.type)) {
    const int32_t length = values.length < 0 ? 0 : values.length > maximum ? maximum : values.length;
    field[kXBaseFieldLength] = static_cast<uint8_t>(length & 0xFF);
    field[kXBaseFieldDecimals] = static_cast<uint8_t>(length >> 8);
    return;
  }
  field[kXBaseFieldLength] = AtMost(values.length, maximum);
  field[kXBaseFieldDecimals] = AtMost(values.decimals, kXBaseDecimalsMaximum);
}
