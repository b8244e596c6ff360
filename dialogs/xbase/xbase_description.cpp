#include "dialogs/xbase/xbase_description.h"

#include <cstdio>
#include <cstring>

namespace {

uint16_t HeaderU16(const XBaseTable& table, size_t at) {
  return static_cast<uint16_t>(table.header[at] | table.header[at + 1] << 8);
}

bool CharacterLengthSpansTwoBytes(uint8_t dialect) { return dialect == 5 || dialect == 6; }

}  // namespace

uint32_t XBaseFieldCount(const XBaseTable& table) {
  if (table.fieldDescriptors == nullptr) return 0;
  const uint16_t headerLength = HeaderU16(table, 8);
  if (headerLength < 32) return 0;
  const uint32_t count = (headerLength - 32u) / kXBaseFieldSize;
  return count < kXBaseMaxFields ? count : kXBaseMaxFields;
}

uint32_t XBaseRecordCount(const XBaseTable& table) {
  return static_cast<uint32_t>(table.header[4]) | static_cast<uint32_t>(table.header[5]) << 8 |
         static_cast<uint32_t>(table.header[6]) << 16 | static_cast<uint32_t>(table.header[7]) << 24;
}

uint8_t* XBaseFieldAt(XBaseTable& table, uint32_t index) {
  if (index >= XBaseFieldCount(table)) return nullptr;
  return table.fieldDescriptors + static_cast<size_t>(index) * kXBaseFieldSize;
}

const char* XBaseDialectName(uint8_t dialect) {
  switch (dialect) {
    case 3: return "dBase III+";
    case 4: return "dBase IV";
    case 5: return "FoxPro 2.x";
    case 6: return "Clipper";
    default: return "";
  }
}

void FormatXBaseCaption(uint8_t dialect, bool save, char* out, size_t size) {
  std::snprintf(out, size, save ? "Save %s File" : "Open %s File", XBaseDialectName(dialect));
}

void FormatXBaseSummary(const XBaseTable& table, const char* displayName, char* out, size_t size) {
  std::snprintf(out, size, "%s,  %u record(s),  last saved: %d/%d/%d", displayName, XBaseRecordCount(table),
                table.header[2], table.header[3], 1900 + table.header[1]);
}

const char* XBaseTypeName(char type) {
  switch (type) {
    case 'B': return "Binary";
    case 'C': return "Text";
    case 'D': return "Date";
    case 'F': return "Float";
    case 'G': return "Ole objects";
    case 'I': return "Integer";
    case 'L': return "Logical";
    case 'M': return "Memo";
    case 'N': return "Numeric";
    case 'P': return "Memo/Picture";
    case 'T': return "DateTime";
    case 'Y': return "Currency";
    default: return "Unknown";
  }
}

void FormatXBaseLength(const uint8_t* field, uint8_t dialect, char* out, size_t size) {
  const int length = field[kXBaseFieldLength];
  const int decimals = field[kXBaseFieldDecimals];
  switch (field[kXBaseFieldType]) {
    case 'C':
      std::snprintf(out, size, "%d", CharacterLengthSpansTwoBytes(dialect) ? length + 256 * decimals : length);
      break;
    case 'D': std::snprintf(out, size, "%d", 8); break;
    case 'L': std::snprintf(out, size, "%d", 1); break;
    case 'M': std::snprintf(out, size, "%d", 10); break;
    case 'N': std::snprintf(out, size, "%d (%d)", length, decimals); break;
    default: std::snprintf(out, size, "%d", length); break;
  }
}

void FormatXBaseNameColumn(const uint8_t* field, uint32_t index, char* out, size_t size) {
  char name[kXBaseFieldNameSize];
  std::memcpy(name, field, kXBaseFieldNameSize - 1);
  name[kXBaseFieldNameSize - 1] = '\0';
  std::snprintf(out, size, "%u.  %s", index + 1, name);
}
