#ifndef TALVERO_FILES_EXCEL_XML_LOSSES_H
#define TALVERO_FILES_EXCEL_XML_LOSSES_H

// What a workbook's worksheet names and the formulas that name worksheets
// lose when the workbook is written as an Excel 2003 XML file and read
// back: the file holds every worksheet at the top, under its own name made
// unique, and keeps each formula's text as it is, so a qualifier that named
// a worksheet by its folder, relative to its folder, or by the name another
// worksheet now takes names another worksheet or none once read back.

#include <cstdint>
#include <string>
#include <vector>

class CWorkBook;

struct ExcelRenamedSheet {
  std::string path;  // the worksheet's full path
  std::string name;  // the name the file gives it
};

struct ExcelBrokenReference {
  std::string sheet;  // the full path of the formula's worksheet
  uint32_t row;       // the formula's cell
  uint16_t column;
  std::string qualifier;  // as the formula reads it
};

struct ExcelLosses {
  // Worksheets the file names otherwise than by their own name, in order.
  std::vector<ExcelRenamedSheet> renamed;
  // Formula cells with a qualifier that will name another item or none,
  // and the first kExcelBrokenListed of their qualifiers.
  uint32_t brokenFormulas = 0;
  std::vector<ExcelBrokenReference> broken;
};

constexpr size_t kExcelBrokenListed = 5;

ExcelLosses FindExcelLosses(const CWorkBook& book);

#endif
