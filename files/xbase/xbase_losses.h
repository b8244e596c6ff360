#ifndef TALVERO_FILES_XBASE_LOSSES_H
#define TALVERO_FILES_XBASE_LOSSES_H

// What a worksheet's cells lose when the worksheet is written as an xBase
// table and the table is read back: the first row gives way to the field
// names, each record value comes back as its field holds it, and a blank
// number field comes back as 0. Formulas,
// formats and the workbook's other worksheets go with any table; they are
// the caller's to weigh.

#include <cstdint>

class CWorkBook;
class CWorkSheet;
struct XBaseTable;

struct XBaseLosses {
  bool firstRow = false;  // a first-row cell that the field names do not give back
  bool values = false;    // a record value that its field cuts, rounds or cannot hold
  // Empty cells of number fields within the records, which read back as 0;
  // the first of them by rows.
  uint32_t emptyNumbers = 0;
  uint32_t emptyRow = 0;
  uint16_t emptyColumn = 0;
};

// The table is the description the worksheet will be written with. A
// number too wide for its field counts as kept: the save refuses it.
XBaseLosses FindXBaseLosses(const CWorkBook& book, const CWorkSheet& sheet, const XBaseTable& table);

#endif
