#include "dialogs/xbase/xbase_description.h"

#include <cstdio>
#include <cstring>

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
    case 'C': std::snprintf(out, size, "%u", XBaseFieldWidth(field, dialect)); break;
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
