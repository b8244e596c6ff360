#ifndef TALVERO_FILES_EXCEL_XML_NAMES_H
#define TALVERO_FILES_EXCEL_XML_NAMES_H

// The words by which Excel 2003 XML files name alignments, border
// positions and lines, font families and fill patterns, and the codes the
// program keeps for them. Files of other programs are read without regard
// to letter case.

#include <cstdint>

struct ExcelWord {
  const char* word;
  uint8_t code;
};

struct ExcelWordTable {
  const ExcelWord* entries;
  uint32_t count;
};

extern const ExcelWordTable kExcelVerticalAlignments;
extern const ExcelWordTable kExcelHorizontalAlignments;
// Border positions and the border-side bits they stand for, in the order
// the export writes them.
extern const ExcelWordTable kExcelBorderPositions;
// What the import reads as a line style; the export's words are below.
extern const ExcelWordTable kExcelLineStyles;
// What the import reads as a font family; the export writes more words.
extern const ExcelWordTable kExcelFontFamilies;

// The word of a code, or null.
const char* ExcelWordOf(const ExcelWordTable& table, uint8_t code);
// The code of a word, letter case aside; false when none has it.
bool ExcelCodeOf(const ExcelWordTable& table, const char* word, uint8_t* code);

// The export's words of a line style: null LineStyle for styles it does
// not write, null Weight where none is written.
struct ExcelLineWords {
  const char* lineStyle;
  const char* weight;
};
ExcelLineWords ExcelLineWordsOf(uint8_t lineStyle);
// The export's word of a font family code; null for 0 and unknown codes.
const char* ExcelFontFamilyWord(uint8_t family);

// Fill patterns 0 "None" to 22 "HorzSymGradient", both ways; the import
// reads the words letter case aside.
const char* ExcelPatternWord(uint8_t pattern);
bool ExcelPatternOf(const char* word, uint8_t* pattern);

// Letter case aside, as the files of other programs are matched.
bool ExcelWordsEqual(const char* a, const char* b);

#endif
