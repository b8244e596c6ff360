#ifndef TALVERO_TESTS_FILES_EXCHANGE_SAMPLES_H
#define TALVERO_TESTS_FILES_EXCHANGE_SAMPLES_H

// The worksheets behind the committed interoperability files of
// tests/golden/exchange: text files in each character set and xBase tables
// of three dialects with memos. The sample writer makes the files from them
// (tests/files/tools/exchange_samples.cpp); the golden test writes them
// again and compares, and compares what other programs read from the files
// with these cells.

#include <cstdint>
#include <string>

#include "core/model/exchange_options.h"
#include "core/workbook/workbook.h"
#include "platform/os_services.h"
#include "tests/files/exchange_test_support.h"

namespace samples {

struct TextSample {
  const char* file;
  char separator;
  uint8_t charset;
  const char* pythonEncoding;
};

const TextSample kTextSamples[] = {
    {"text_utf8_comma.csv", ',', kTextCharsetUtf8, "utf-8"},
    {"text_ansi_semicolon.csv", ';', kTextCharsetAnsi, "cp1252"},
    {"text_oem_tab.txt", '\t', kTextCharsetOem, "cp437"},
};

// Texts of every kind a field holds (separators, quotes, a line break,
// letters of all three code pages), numbers, skipped columns and an empty
// row; nothing another program would take for a date, a formula or a
// truth value.
inline void FillTextSheet(CWorkSheet* sheet) {
  const char* header[] = {"Name", "Amount", "Note", "Ratio"};
  for (uint16_t c = 0; c < 4; ++c) exchange::PutText(sheet, 0, c, header[c]);
  exchange::PutText(sheet, 1, 0, "Ann");
  exchange::PutNumber(sheet, 1, 1, 12.5);
  exchange::PutText(sheet, 1, 2, "plain words");
  exchange::PutNumber(sheet, 1, 3, 0.25);
  exchange::PutText(sheet, 2, 0, "Bob, Jr.");
  exchange::PutNumber(sheet, 2, 1, -3);
  exchange::PutText(sheet, 2, 2, "say \"hi\"");
  exchange::PutNumber(sheet, 2, 3, 0.001);
  exchange::PutText(sheet, 3, 0, "Caf\xE9 M\xFCller");
  exchange::PutNumber(sheet, 3, 1, 1234567.5);
  exchange::PutText(sheet, 3, 2, "two\nlines");
  exchange::PutText(sheet, 5, 0, "semi;colon, comma");
  exchange::PutText(sheet, 5, 5, "far \xA3 \xF1 \xDF");
}

inline void SetTextOptions(const TextSample& sample, TextFileOptions* options) {
  *options = TextFileOptions{};
  options->separator = sample.separator;
  options->charset = sample.charset;
}

struct XBaseSample {
  const char* file;
  uint8_t dialect;
};

const XBaseSample kXBaseSamples[] = {
    {"ours_dbase3.dbf", kXBaseDBaseIII},
    {"ours_dbase4.dbf", kXBaseDBaseIV},
    {"ours_foxpro.dbf", kXBaseFoxPro},
};

inline void SampleDay(OsLocalTime* out) { *out = OsLocalTime{2009, 3, 4, 5, 10, 0, 0, 0}; }

// A table of character, numeric, float, date, logical and memo fields, the
// fields derived and then set as a user would in the xBase dialog; the
// date of the header is 5 March 2009.
inline bool FillXBaseBook(CWorkBook* book, uint8_t dialect) {
  CWorkSheet* sheet = book->activeWorksheet;
  const char* names[] = {"NAME", "AMOUNT", "RATIO", "BORN", "ACTIVE", "NOTE"};
  for (uint16_t c = 0; c < 6; ++c) exchange::PutText(sheet, 0, c, names[c]);
  exchange::PutText(sheet, 1, 0, "Ann \xE9t\xE9");
  exchange::PutNumber(sheet, 1, 1, 12.5);
  exchange::PutNumber(sheet, 1, 2, 0.125);
  exchange::PutText(sheet, 1, 3, "2009-03-05");
  exchange::PutText(sheet, 1, 4, "Y");
  exchange::PutText(sheet, 1, 5, "A short memo");
  exchange::PutText(sheet, 2, 0, "Bob");
  exchange::PutNumber(sheet, 2, 1, -3);
  exchange::PutNumber(sheet, 2, 2, 1234.5);
  exchange::PutText(sheet, 2, 3, "1999-12-31");
  exchange::PutText(sheet, 2, 4, "N");
  exchange::PutText(sheet, 2, 5, std::string(600, 'm') + " end");
  exchange::PutText(sheet, 3, 0, "Carl");
  exchange::PutNumber(sheet, 3, 1, 0);
  XBaseTable& table = book->xbaseTable;
  table.dialect = dialect;
  OsSetClockForTesting(SampleDay);
  const bool built = book->BuildXBaseFields(sheet, &table);
  OsSetClockForTesting(nullptr);
  if (!built)
    return false;
  const struct {
    char type;
    uint8_t length;
    uint8_t decimals;
  } fields[] = {{'C', 20, 0}, {'N', 10, 2}, {'F', 12, 4}, {'D', 8, 0}, {'L', 1, 0}, {'M', 10, 0}};
  for (uint32_t i = 0; i < 6; ++i) {
    uint8_t* field = XBaseFieldAt(table, i);
    field[kXBaseFieldType] = uint8_t(fields[i].type);
    field[kXBaseFieldLength] = fields[i].length;
    field[kXBaseFieldDecimals] = fields[i].decimals;
  }
  // A table with a memo field says so in its version byte.
  table.header[kXBaseHeaderVersion] = dialect == kXBaseDBaseIV ? 0x8B : dialect == kXBaseFoxPro ? 0xF5 : 0x83;
  return true;
}

}  // namespace samples

#endif
