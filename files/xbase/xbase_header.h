#ifndef TALVERO_FILES_XBASE_HEADER_H
#define TALVERO_FILES_XBASE_HEADER_H

// The header of an xBase table file as the reader takes it: every length
// checked against the file and against each other before a record is read.

#include <cstdint>

class CWorkBook;
struct XBaseTable;

// Reads the header and descriptors of the workbook's open file into the
// table for its dialect (CWorkBook::ReadXBaseHeader), and gives the offset
// of the first record in *dataOffset. The fields end at the descriptor
// table's end mark (0x0D) or where the header length says; the table's
// header length is then that of its fields alone, and its record count the
// number of whole records the file holds. False with error 21 when the
// header and the descriptors disagree with each other or with the file,
// 38 when the file cannot be read, 8 when out of memory.
bool ReadXBaseTableHeader(CWorkBook* book, XBaseTable* table, uint32_t* dataOffset);

// Header and record lengths in a table's header.
uint16_t XBaseHeaderWord(const XBaseTable& table, uint32_t offset);
void SetXBaseHeaderWord(XBaseTable* table, uint32_t offset, uint16_t value);
void SetXBaseRecordCount(XBaseTable* table, uint32_t count);

// Gives a described table the header a new file of it starts with: today's
// date, the version byte of its dialect (marking memo fields when one of
// its first `fields` descriptors is a memo), the record count, and the
// header and record lengths of those descriptors. The table must have its
// descriptors.
void StampXBaseHeader(XBaseTable* table, uint32_t fields, uint32_t recordCount);

#endif
