#ifndef TALVERO_CORE_EXCHANGE_OPTIONS_H
#define TALVERO_CORE_EXCHANGE_OPTIONS_H

// The settings a workbook keeps for exchanging worksheets with delimited or
// fixed-width text files and with xBase tables. The text-file and xBase
// dialogs and the automation server edit them before a load or save; the
// file formats give them their meaning.

#include <cstddef>
#include <cstdint>

#include "core/cells/cell_record.h"

struct TextFileOptions {
  char separator = ',';  // between the fields of delimited files
  uint8_t fixedWidth = 0;  // 1: fields have fixed widths instead of separators
  uint16_t widths[kColumnCount] = {};  // characters per column's field; 0 no fixed width
  char quote = '"';
  uint8_t charset = 1;  // 1 UTF-8, 2 ANSI, 3 OEM
  uint8_t recognizeValues = 1;  // 1: numbers and formulas are recognised; 0: all text
};

constexpr uint8_t kTextCharsetUtf8 = 1;
constexpr uint8_t kTextCharsetAnsi = 2;
constexpr uint8_t kTextCharsetOem = 3;

constexpr uint32_t kXBaseHeaderSize = 32;
constexpr uint32_t kXBaseFieldSize = 32;
constexpr uint32_t kXBaseMaxFields = kColumnCount;
constexpr uint8_t kXBaseCodePageAnsi = 2;
constexpr uint8_t kXBaseCodePageOem = 3;

enum XBaseDialect : uint8_t {
  kXBaseDBaseIII = 3,
  kXBaseDBaseIV = 4,
  kXBaseFoxPro = 5,
  kXBaseClipper = 6,
};

// Offsets in the table header (little-endian).
constexpr size_t kXBaseHeaderVersion = 0;
constexpr size_t kXBaseHeaderDate = 1;  // year - 1900, month, day
constexpr size_t kXBaseHeaderRecordCount = 4;
constexpr size_t kXBaseHeaderLength = 8;
constexpr size_t kXBaseHeaderRecordLength = 10;

// Offsets in a 32-byte field descriptor.
constexpr size_t kXBaseFieldNameSize = 11;  // up to 10 characters and a NUL
constexpr size_t kXBaseFieldType = 11;
constexpr size_t kXBaseFieldLength = 16;
constexpr size_t kXBaseFieldDecimals = 17;

struct XBaseTable {
  XBaseTable() = default;
  ~XBaseTable() { Free(); }
  XBaseTable(const XBaseTable&) = delete;
  XBaseTable& operator=(const XBaseTable&) = delete;

  // Frees the field descriptors and restores the default code page and dialect.
  void Free();
  // Gives the table zero-filled descriptors, allocating them when it has
  // none; false when out of memory.
  bool AllocFields();
  // Makes target a copy of this table: header, code page, dialect and all
  // the descriptors in a buffer of its own. False when out of memory (the
  // target then has no descriptors).
  bool CopyTo(XBaseTable* target) const;

  uint8_t header[kXBaseHeaderSize] = {};  // the table file's header, in its own layout
  // kXBaseMaxFields descriptors of kXBaseFieldSize bytes, allocated with
  // std::calloc on first use; null until then.
  uint8_t* fieldDescriptors = nullptr;
  uint8_t codePage = kXBaseCodePageAnsi;  // 2 ANSI, 3 OEM
  uint8_t dialect = kXBaseDBaseIV;  // 3 dBase III+, 4 dBase IV, 5 FoxPro, 6 Clipper
};

// The number of fields the header declares, within the descriptor table
// (0 without one).
uint32_t XBaseFieldCount(const XBaseTable& table);
uint32_t XBaseRecordCount(const XBaseTable& table);
// The descriptor of a field, or null beyond the count.
uint8_t* XBaseFieldAt(XBaseTable& table, uint32_t index);
const uint8_t* XBaseFieldAt(const XBaseTable& table, uint32_t index);
// Bytes a field takes in a record: its length byte, and for character
// fields of FoxPro 2.x and Clipper tables the decimals byte as its high byte.
uint32_t XBaseFieldWidth(const uint8_t* field, uint8_t dialect);
// Whether a dialect keeps character lengths over two bytes.
inline bool XBaseWideCharacterFields(uint8_t dialect) { return dialect == kXBaseFoxPro || dialect == kXBaseClipper; }

#endif
