#ifndef TALVERO_FILES_NATIVE_XML_H
#define TALVERO_FILES_NATIVE_XML_H

// The native XML workbook document: last modification, window panes,
// drop-down lists, styles and fonts, inspect cells and the worksheet tree
// with every worksheet's containers (with their charts, series and axes),
// formatting, cells, view and page settings. The reader refuses any element
// it does not read (57, at its line), so nothing is loaded partially
// without a word.

#include <cstdint>

class CWorkBook;
struct TextMeasurer;

// Writes the document to the workbook's open file, which the caller has
// opened for writing or truncated; always plain XML. Columns and rows of
// the default sizes are left out: with a measurer those sizes are measured,
// without one the sizes the view last measured count (none when it never
// did). False with the workbook's error set.
bool SaveXml(CWorkBook* book, const TextMeasurer* measurer = nullptr);
// Reads the document, plain or gzip-compressed, from the workbook's open
// file into a newly constructed workbook. False with the workbook's error
// set, and with the reader's line in *errorLine when one is given; a load
// that fails part-way leaves the workbook as it was.
bool LoadXml(CWorkBook* book, uint32_t* errorLine = nullptr);

#endif
