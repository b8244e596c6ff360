#ifndef TALVERO_APP_SAVE_LOSSES_H
#define TALVERO_APP_SAVE_LOSSES_H

// What a document loses when Save As writes a kind that keeps less than
// the workbook holds and the document is then read back from the new file:
// what the question before such a save names.

#include <cstdint>

class CWorkBook;
struct XBaseTable;

struct SaveLosses {
  uint32_t otherWorksheets = 0;  // all but the active worksheet, which alone is saved
  bool folders = false;
  bool formulas = false;     // only their values are saved
  bool formats = false;      // cell styles, column widths and styles, fixed row heights
  bool containers = false;   // charts and images
  bool firstRow = false;     // first-row cells that the field names replace
  bool fieldValues = false;  // record values that their fields cut, round or cannot hold

  bool Any() const {
    return otherWorksheets != 0 || folders || formulas || formats || containers || firstRow || fieldValues;
  }
};

// Nothing for the native kind. Excel 2003 XML keeps every worksheet with
// its formulas and formats, but not the folders (each worksheet keeps its
// own name) nor the containers; text and xBase tables keep the values of
// the active worksheet alone, a table with its first row as field names.
// An xBase kind (3 to 6) is judged with the description the table will be
// written with, which must be given.
SaveLosses FindSaveLosses(const CWorkBook& book, uint8_t kind, const XBaseTable* description);

#endif
