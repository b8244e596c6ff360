#ifndef TALVERO_CORE_EXCHANGE_OPTIONS_H
#define TALVERO_CORE_EXCHANGE_OPTIONS_H

// The settings a workbook keeps for exchanging worksheets with delimited or
// fixed-width text files and with xBase tables. The text-file and xBase
// dialogs and the automation server edit them before a load or save; the
// file formats give them their meaning.

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

constexpr uint32_t kXBaseFieldSize = 32;
constexpr uint32_t kXBaseMaxFields = kColumnCount;
constexpr uint8_t kXBaseCodePageAnsi = 2;
constexpr uint8_t kXBaseDBaseIV = 4;

struct XBaseTable {
  XBaseTable() = default;
  ~XBaseTable() { Free(); }
  XBaseTable(const XBaseTable&) = delete;
  XBaseTable& operator=(const XBaseTable&) = delete;

  // Frees the field descriptors and restores the default code page and dialect.
  void Free();

  uint8_t header[32] = {};  // the table file's header, in its own layout
  // kXBaseMaxFields descriptors of kXBaseFieldSize bytes, allocated with
  // std::calloc on first use; null until then.
  uint8_t* fieldDescriptors = nullptr;
  uint8_t codePage = kXBaseCodePageAnsi;  // 2 ANSI, 3 OEM
  uint8_t dialect = kXBaseDBaseIV;  // 3 dBase III+, 4 dBase IV, 5 FoxPro, 6 Clipper
};

#endif
