#ifndef TALVERO_FILES_DOCUMENT_FILE_H
#define TALVERO_FILES_DOCUMENT_FILE_H

// How a document holds its file across loads and saves: the file is opened
// once and kept from other programs until the document closes; a save never
// puts the file it replaces at risk.

#include <cstdint>

class CWorkBook;
struct TextMeasurer;

// Opens the file a document is loaded from into the workbook's open file:
// for reading and writing, else for reading only, and then the document is
// read-only. False with 34 when neither works, 65 when the path is longer
// than a file name can be.
bool OpenDocumentFile(CWorkBook* book, const char* path);

// Saves the workbook under path by its format byte and native sub-kind,
// stamping the last modification first for the native format: sub-kinds 2
// and 3 as native XML (always plain; the measurer, when given, decides the
// default sizes it leaves out), 4 and 5 as native binary; format 1 writes
// the active worksheet as text, 2 the workbook as Excel 2003 XML (measured
// through the measurer when one is given), 3 to 6 as an xBase table of that
// dialect, whose memo file is rebuilt beside it (and kept as it was when
// the save fails). The writers see path as the open file's path. The new
// content goes to a temporary file in the same folder, which replaces the
// file at path only once it is complete, flushed and closed; then the
// document holds the file at path. On failure the file at path is as it was
// (byte for byte), the document keeps the file it held, its format byte and
// sub-kind are restored, and the error is in the workbook: 35 when no file
// can be made there, 39 when writing fails, 21 for a format that has no
// writer yet, 65 when the path (with the suffix of the file written first)
// is longer than a file name can be, or the writer's own code.
bool SaveDocumentFile(CWorkBook* book, const char* path, const TextMeasurer* measurer = nullptr);

// The native variant of a save: a document of a foreign kind takes the
// save-format option first; then the binary variants (4, 5) save compressed
// binary, the XML ones (2, 3) plain XML, and anything else compressed binary.
uint8_t NativeSaveVariant(uint8_t sourceFormat, uint8_t saveKind, uint8_t optionSaveFormat);

// What a save as Excel 2003 XML stamps first: the user becomes the last
// author, and the author when the file is new or names none; the local
// date and time with "Z" the last-saved time, and the created time alike;
// an empty version becomes "10.2625".
void StampExcelProperties(CWorkBook* book, bool newFile);

#endif
