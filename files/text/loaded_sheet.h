#ifndef TALVERO_FILES_LOADED_SHEET_H
#define TALVERO_FILES_LOADED_SHEET_H

// The one worksheet that a text file or an xBase table is read into.

class CWorkBook;
class CWorkSheet;

// The name part of a path: what follows its last backslash (or slash), the
// whole path without one.
const char* FileNameOfPath(const char* path);

// Replaces the workbook's tree by one new worksheet at level 1, named after
// the file name of path, that becomes the active worksheet and the one the
// evaluator works on. Null with error 8, the tree unchanged, when it cannot
// be allocated.
CWorkSheet* StartLoadedSheet(CWorkBook* book, const char* path);

#endif
