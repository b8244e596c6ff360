#ifndef TALVERO_FILES_OLD_BINARY_H
#define TALVERO_FILES_OLD_BINARY_H

// The parts of the older binary reader (CWorkBook::LoadOldBinary). Each
// reads its part of the file through the source and converts it into the
// workbook; failures throw the file codes.

#include <cstddef>
#include <cstdint>

class CWorkBook;
class CWorkSheet;
class ContainerIdSet;
class OldBinarySource;
struct ColorFontRecord;
struct FontRecord;
struct PageSettings;

// A Windows LOGFONT as the older files store it.
constexpr size_t kOldLogFontSize = 60;

// The font record of an old LOGFONT.
void ConvertOldFont(const uint8_t* logFont, FontRecord* font);
// A LOGFONT followed by its u32 colour, into a coloured font.
void ReadOldColorFont(OldBinarySource& in, ColorFontRecord* font);
// A u32 length and that many bytes: the first size - 1 of them into out
// (NUL-terminated), the rest passed over. Lengths above `longest` throw 21.
void ReadOldText(OldBinarySource& in, char* out, size_t size, uint32_t longest);

// The style table, then the font table.
void ReadOldStyles(OldBinarySource& in, CWorkBook* book);
// The objects of a worksheet, as containers with ids the set does not hold.
void ReadOldObjects(OldBinarySource& in, CWorkSheet* sheet, ContainerIdSet* ids);
void ReadOldPageSettings(OldBinarySource& in, PageSettings* page);
// Column widths, row heights, column styles and style runs.
void ReadOldWorksheetFormats(OldBinarySource& in, CWorkBook* book, CWorkSheet* sheet);
// The cells up to the end of the worksheet record.
void ReadOldCells(OldBinarySource& in, CWorkBook* book, CWorkSheet* sheet, bool wideRows);

#endif
