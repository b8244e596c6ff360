#ifndef TALVERO_FILES_NATIVE_XML_H
#define TALVERO_FILES_NATIVE_XML_H

// The native XML workbook document: last modification, window panes,
// drop-down lists, styles and fonts, inspect cells and the worksheet tree
// with every worksheet's containers (with their charts) and cells. Formats,
// view and page settings have no XML form in this version: the reader
// refuses any element it does not read (57, at its line), so nothing is
// loaded partially without a word.
// Until the document is complete neither is reachable from the load and
// save commands.

#include <cstdint>

class CWorkBook;

// Writes the document to the workbook's open file, which the caller has
// opened for writing or truncated. False with the workbook's error set.
bool SaveXml(CWorkBook* book);
// Reads the document, plain or gzip-compressed, from the workbook's open
// file into a newly constructed workbook. False with the workbook's error
// set, and with the reader's line in *errorLine when one is given.
bool LoadXml(CWorkBook* book, uint32_t* errorLine = nullptr);

#endif
