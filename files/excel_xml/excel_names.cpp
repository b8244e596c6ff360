#include "files/excel_xml/excel_names.h"

#include <cstdio>
#include <cstring>

#include "core/base/text_compare.h"
#include "core/model/tree_item.h"
#include "core/styles/style_record.h"

namespace {

const char* const kLines[] = {"None", "Continuous", "Dot", "Dash", "DashDot", "DashDotDot", nullptr, nullptr, nullptr,
                              "Double"};
const char* const kExportFamilies[] = {nullptr, "Swiss", "Modern", "Roman", "Script", "Decorative", "Normal", "Thin"};

}  // namespace

const XmlNameTable kExcelLineStyles = {kLines, sizeof kLines / sizeof kLines[0]};

const ExcelBorderPosition kExcelBorderPositions[kExcelBorderPositionCount] = {
    {"Left", kBorderLeft},     {"Top", kBorderTop},
    {"Right", kBorderRight},   {"Bottom", kBorderBottom},
    {"DiagonalLeft", kBorderDiagonalLeft}, {"DiagonalRight", kBorderDiagonalRight}};

bool ExcelCodeOf(const XmlNameTable& table, const char* word, uint8_t* code) {
  for (uint32_t i = 0; i < table.count; ++i)
    if (table.names[i] && ExcelWordsEqual(table.names[i], word)) {
      *code = uint8_t(i);
      return true;
    }
  return false;
}

uint8_t ExcelBorderSideOf(const char* word) {
  for (const ExcelBorderPosition& position : kExcelBorderPositions)
    if (ExcelWordsEqual(position.word, word))
      return position.side;
  return 0;
}

ExcelLineWords ExcelLineWordsOf(uint8_t lineStyle) {
  static const ExcelLineWords kWords[] = {
      {nullptr, nullptr},      {"Continuous", nullptr}, {"Dot", nullptr},
      {"Dash", nullptr},       {"DashDot", nullptr},    {"DashDotDot", nullptr},
      {"Continuous", "1"},     {"Continuous", "2"},     {"Continuous", "3"},
      {"Double", "3"}};
  return lineStyle < sizeof kWords / sizeof kWords[0] ? kWords[lineStyle] : ExcelLineWords{nullptr, nullptr};
}

const char* ExcelFontFamilyWord(uint8_t family) {
  return family < sizeof kExportFamilies / sizeof kExportFamilies[0] ? kExportFamilies[family] : nullptr;
}

bool ExcelWordsEqual(const char* a, const char* b) {
  const size_t aLength = std::strlen(a);
  const size_t bLength = std::strlen(b);
  return aLength == bLength && CompareTextIgnoringCase(a, aLength, b, bLength) == 0;
}

bool TakeUniqueExcelName(PagedArray* taken, const char* name, char* out) {
  std::snprintf(out, kTreeItemNameSize, "%s", name);
  int counter = 0;
  for (uint32_t i = 0; i < taken->Count();) {
    if (!ExcelWordsEqual(reinterpret_cast<const char*>(taken->At(i)), out)) {
      ++i;
      continue;
    }
    char suffix[16];
    const int length = std::snprintf(suffix, sizeof suffix, "(%d)", counter++);
    std::snprintf(out, kTreeItemNameSize, "%.*s%s", int(kTreeItemNameSize - 1) - length, name, suffix);
    i = 0;
  }
  return taken->Append(out);
}
