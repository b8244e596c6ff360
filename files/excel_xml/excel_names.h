#ifndef TALVERO_FILES_EXCEL_XML_NAMES_H
#define TALVERO_FILES_EXCEL_XML_NAMES_H

// The words by which Excel 2003 XML files name alignments, border
// positions and lines, font families and fill patterns. Where they are the
// native files' words the native tables serve (xml_style_names.h); files of
// other programs are read without regard to letter case.

#include <cstdint>

#include "core/cells/paged_array.h"
#include "files/native_xml/xml_style_names.h"

// What the import reads as a line style; the export's words are below.
extern const XmlNameTable kExcelLineStyles;

// A border position and the border-side bit it stands for.
struct ExcelBorderPosition {
  const char* word;
  uint8_t side;
};
// In the order the export writes them.
constexpr int kExcelBorderPositionCount = 6;
extern const ExcelBorderPosition kExcelBorderPositions[kExcelBorderPositionCount];

// The code of a word, letter case aside; false when the table has none.
bool ExcelCodeOf(const XmlNameTable& table, const char* word, uint8_t* code);
// The side bit of a position word, letter case aside; 0 for another word.
uint8_t ExcelBorderSideOf(const char* word);

// The export's words of a line style: null LineStyle for styles it does
// not write, null Weight where none is written.
struct ExcelLineWords {
  const char* lineStyle;
  const char* weight;
};
ExcelLineWords ExcelLineWordsOf(uint8_t lineStyle);
// The export's word of a font family code; null for 0 and unknown codes.
const char* ExcelFontFamilyWord(uint8_t family);

// Letter case aside, as the files of other programs are matched.
bool ExcelWordsEqual(const char* a, const char* b);

// A worksheet name the names taken (a PagedArray of kTreeItemNameSize
// elements) do not hold, letter case aside, as Excel files need them: the
// name itself, else "name(n)" with the first counter n from 0 that is free,
// the name cut so that the whole keeps to a worksheet name's 127
// characters. Written into out (kTreeItemNameSize bytes) and appended to
// the names taken; false when memory runs out.
bool TakeUniqueExcelName(PagedArray* taken, const char* name, char* out);

#endif
