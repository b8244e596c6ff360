#ifndef TALVERO_FILES_XBASE_LOSSES_H
#define TALVERO_FILES_XBASE_LOSSES_H

// What a worksheet's cells lose when the worksheet is written as an xBase
// table and the table is read back: the first row gives way to the field
// names, each record value comes back as its field holds it (its texts
// through the table's character set), a blank number field comes back as
// 0, and a column the table has no field for is not written. Formulas,
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
  // Texts that the table's character set (OEM) gives back otherwise; the
  // first of them by rows.
  uint32_t characters = 0;
  uint32_t characterRow = 0;
  uint16_t characterColumn = 0;
  // Columns past the table's fields that hold values; the first of them.
  uint32_t unfieldedColumns = 0;
  uint16_t firstUnfielded = 0;
  // The first number too wide for its field, which fails the save itself.
  bool tooWide = false;
  uint32_t tooWideRow = 0;
  uint16_t tooWideColumn = 0;
};

// The table is the description the worksheet will be written with. A
// number too wide for its field is no loss but a save that cannot be made:
// it is noted apart.
XBaseLosses FindXBaseLosses(const CWorkBook& book, const CWorkSheet& sheet, const XBaseTable& table);

#endif
