#ifndef TALVERO_APP_INSPECT_INSPECT_ENTRIES_H
#define TALVERO_APP_INSPECT_INSPECT_ENTRIES_H

// The inspect pane's watch list as the workbook keeps it: cells of any
// worksheet, each with a name, added, renamed and removed here and shown as
// four texts (name, address, formula, value). The workbook owns the
// entries, so the native files save and load them as they stand.

#include <cstddef>
#include <cstdint>

#include "core/model/inspect_cell.h"
#include "core/workbook/undo_history.h"

class CWorkBook;
class CWorkSheet;

// The reference flags of every entry made here: a cell with column and row.
constexpr uint32_t kInspectCellFlags = 9;

enum class InspectAdd : uint8_t {
  kAllFormulas,     // every formula cell of the active worksheet, row by row
  kFormulaErrors,   // those whose value is an error
  kSelectedCells,   // every position of the selection, empty or not
};

// Adds entries for cells of the active worksheet, each with the name (cut to
// 127 characters) and that worksheet's full path. False when an entry
// cannot be stored; the entries stored before stay.
bool AddInspectEntries(CWorkBook* book, InspectAdd what, const UndoRange& selection, const char* name);
// Gives entry index the name (cut to 127 characters).
void RenameInspectEntry(CWorkBook* book, uint32_t index, const char* name);
// Takes entry index out, the others keeping their order. False, with the
// entries as they were, when they cannot be stored again.
bool RemoveInspectEntry(CWorkBook* book, uint32_t index);
void RemoveAllInspectEntries(CWorkBook* book);

// The worksheet an entry names by its path, or null when it no longer
// stands there (renamed, moved, deleted) or names a folder.
CWorkSheet* InspectEntryWorksheet(CWorkBook* book, const InspectCellFields& entry);

constexpr size_t kInspectTextCapacity = 1025;

struct InspectRow {
  char name[kInspectNameSize];
  char address[kInspectPathSize + 32];
  char formula[kInspectTextCapacity];
  char value[kInspectTextCapacity];
  // The worksheet is missing or the cell empty: the row is drawn in red.
  bool missing;
};

// The texts of entry index as the pane shows them: the address "path!cell"
// in the current addressing style; a formula cell's formula as the user
// types it and its whole result, any other cell's value, each as the
// entry's worksheet shows it.
void FormatInspectRow(CWorkBook* book, uint32_t index, InspectRow* row);

#endif
