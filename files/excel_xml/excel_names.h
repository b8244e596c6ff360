#ifndef TALVERO_FILES_EXCEL_XML_NAMES_H
#define TALVERO_FILES_EXCEL_XML_NAMES_H

// The words by which Excel 2003 XML files name alignments, border
// positions and lines, font families and fill patterns. Where they are the
// native files' words the native tables serve (xml_style_names.h); files of
// other programs are read without regard to letter case.

#include <cstdint>

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

#endif
