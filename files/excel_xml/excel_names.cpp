#include "files/excel_xml/excel_names.h"

#include <cstring>

#include "core/base/text_compare.h"
#include "core/styles/style_record.h"
#include "files/native_xml/xml_style_names.h"

namespace {

const ExcelWord kVertical[] = {{"Top", kVAlignTop}, {"Center", kVAlignCentre}, {"Bottom", kVAlignBottom}};
const ExcelWord kHorizontal[] = {{"Left", kHAlignLeft}, {"Center", kHAlignCentre}, {"Right", kHAlignRight}};
const ExcelWord kPositions[] = {{"Left", kBorderLeft},
                                {"Top", kBorderTop},
                                {"Right", kBorderRight},
                                {"Bottom", kBorderBottom},
                                {"DiagonalLeft", kBorderDiagonalLeft},
                                {"DiagonalRight", kBorderDiagonalRight}};
const ExcelWord kLines[] = {{"None", 0}, {"Continuous", 1}, {"Dot", 2},       {"Dash", 3},
                            {"DashDot", 4}, {"DashDotDot", 5}, {"Double", 9}};
const ExcelWord kFamilies[] = {{"Any", 0},    {"Swiss", 1},  {"Modern", 2},
                               {"Roman", 3}, {"Script", 4}, {"Decorative", 5}};
const char* const kExportFamilies[] = {nullptr, "Swiss", "Modern", "Roman", "Script", "Decorative", "Normal", "Thin"};

template <size_t N>
constexpr ExcelWordTable Table(const ExcelWord (&entries)[N]) {
  return ExcelWordTable{entries, uint32_t(N)};
}

}  // namespace

const ExcelWordTable kExcelVerticalAlignments = Table(kVertical);
const ExcelWordTable kExcelHorizontalAlignments = Table(kHorizontal);
const ExcelWordTable kExcelBorderPositions = Table(kPositions);
const ExcelWordTable kExcelLineStyles = Table(kLines);
const ExcelWordTable kExcelFontFamilies = Table(kFamilies);

const char* ExcelWordOf(const ExcelWordTable& table, uint8_t code) {
  for (uint32_t i = 0; i < table.count; ++i)
    if (table.entries[i].code == code)
      return table.entries[i].word;
  return nullptr;
}

bool ExcelCodeOf(const ExcelWordTable& table, const char* word, uint8_t* code) {
  for (uint32_t i = 0; i < table.count; ++i)
    if (ExcelWordsEqual(table.entries[i].word, word)) {
      *code = table.entries[i].code;
      return true;
    }
  return false;
}

ExcelLineWords ExcelLineWordsOf(uint8_t lineStyle) {
  static const ExcelLineWords kWords[] = {
      {nullptr, nullptr},      {"Continuous", nullptr}, {"Dot", nullptr},
      {"Dash", nullptr},       {"DashDot", nullptr},    {"DashDotDot", nullptr},
      {"Continuous", "1"},     {"Continuous", "2"},     {"Continuous", "3"},
      {"Double", "3"}};
  return lineStyle < sizeof kWords / sizeof kWords[0] ? kWords[lineStyle] : ExcelLineWords{nullptr, nullptr};
}

// The pattern names are the native files' own list, code by code.
const char* ExcelPatternWord(uint8_t pattern) { return XmlNameOf(kXmlPatternNames, pattern); }

bool ExcelPatternOf(const char* word, uint8_t* pattern) {
  for (uint32_t code = 0; code < kXmlPatternNames.count; ++code)
    if (ExcelWordsEqual(kXmlPatternNames.names[code], word)) {
      *pattern = uint8_t(code);
      return true;
    }
  return false;
}

const char* ExcelFontFamilyWord(uint8_t family) {
  return family < sizeof kExportFamilies / sizeof kExportFamilies[0] ? kExportFamilies[family] : nullptr;
}

bool ExcelWordsEqual(const char* a, const char* b) {
  const size_t aLength = std::strlen(a);
  const size_t bLength = std::strlen(b);
  return aLength == bLength && CompareTextIgnoringCase(a, aLength, b, bLength) == 0;
}
