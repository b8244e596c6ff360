#ifndef TALVERO_APP_SAVE_LOSSES_H
#define TALVERO_APP_SAVE_LOSSES_H

// What a document loses when Save As writes a kind that keeps less than
// the workbook holds and the document is then read back from the new file:
// what the question before such a save names.

#include <cstdint>
#include <string>

#include "files/excel_xml/excel_losses.h"
#include "files/text/text_losses.h"

class CWorkBook;
struct XBaseTable;

struct SaveLosses {
  uint32_t otherWorksheets = 0;  // all but the active worksheet, which alone is saved
  bool folders = false;
  bool formulas = false;     // only their values are saved
  bool formats = false;      // cell styles, column widths and styles, fixed row heights
  bool containers = false;   // charts and images
  bool dropDownLists = false;  // of cells; Excel 2003 XML keeps their other formats
  bool firstRow = false;     // first-row cells that the field names replace
  bool fieldValues = false;  // record values that their fields cut, round or cannot hold
  // A table's empty cells of number fields, which read back as 0; the
  // first of them by rows.
  uint32_t emptyNumbers = 0;
  uint32_t emptyRow = 0;
  uint16_t emptyColumn = 0;
  // A text file's values written as shown that read back otherwise.
  TextLosses shown;
  // Excel 2003 XML: worksheets renamed and formulas whose qualifiers will
  // name another worksheet or none.
  ExcelLosses names;
  // Texts with characters the file cannot hold (an xBase table's OEM
  // character set, the control characters XML has none of), which read
  // back as others or not at all; the first of them as the question names
  // it ("A3", or "\Jan!A3" when the file holds every worksheet).
  uint32_t characters = 0;
  std::string characterCell;
  // The page settings lost, by name ("scale, pages per sheet"); empty when
  // the file keeps them all.
  std::string pageSettings;
  // Columns past an xBase table's fields that hold values, which the table
  // does not write; the first of them.
  uint32_t unfieldedColumns = 0;
  uint16_t firstUnfielded = 0;
  // A number too wide for its xBase field: the save cannot be made at all,
  // so it is refused before any question. The first such cell.
  bool numberTooWide = false;
  uint32_t tooWideRow = 0;
  uint16_t tooWideColumn = 0;

  bool Any() const {
    return otherWorksheets != 0 || folders || formulas || formats || containers || dropDownLists || firstRow ||
           fieldValues ||
           emptyNumbers != 0 || shown.numbers != 0 || shown.values != 0 || !names.renamed.empty() ||
           names.brokenFormulas != 0 || characters != 0 || !pageSettings.empty() || unfieldedColumns != 0;
  }
};

// Nothing for the native kind. Excel 2003 XML keeps every worksheet with
// its formulas and most formats, but not the folders (each worksheet keeps
// its own name, made unique, and formulas keep their texts), the
// containers, some page settings, the formula-hidden and locked marks,
// vertical indents and struck-out fonts of cells, nor control characters
// in texts;
// text and xBase tables keep the values of the active worksheet alone, a
// text file as they are shown, a table with its first row as field names.
// An xBase kind (3 to 6) is judged with the description the table will be
// written with, which must be given; a text file with the options given,
// else with the workbook's own.
SaveLosses FindSaveLosses(const CWorkBook& book, uint8_t kind, const XBaseTable* description,
                          const TextFileOptions* textOptions = nullptr);

// A cell as the question names it: "B3".
std::string LossCellName(uint32_t row, uint16_t column);
// A column as the question names it: "C".
std::string LossColumnName(uint16_t column);
// The renamed worksheets, "\Y\Jan as Jan(0)", and the formulas whose
// qualifiers break, "\Sum!B1 naming '\X\Jan'", joined by ", ", the
// first few of each and then "...".
std::string RenamedSheetsText(const ExcelLosses& names);
std::string BrokenReferencesText(const ExcelLosses& names);

#endif
