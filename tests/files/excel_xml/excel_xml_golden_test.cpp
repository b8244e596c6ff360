// Golden files computed once by other programs (tests/golden/
// generate_excel_xml.py): LibreOffice and Gnumeric read our export with the
// same values, LibreOffice calculates our formulas to our results, and a
// file LibreOffice wrote imports with its values and formats.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "core/workbook/workbook.h"
#include "files/excel_xml/excel_text.h"
#include "files/xml/xml_reader.h"
#include "tests/files/excel_xml/excel_fixture.h"
#include "tests/files/excel_xml/excel_xml_support.h"

namespace {

using excelfixture::FixtureCell;

std::string Golden(const char* name) { return filetest::ReadAll(std::string(TALVERO_GOLDEN_DIR) + "/" + name); }

// The fields of one CSV line; quoted fields may hold separators and doubled quotes.
std::vector<std::string> CsvFields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
      fields.back() += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

// What another program read: sheet, row, column to kind and value.
using Readings = std::map<std::tuple<std::string, uint32_t, uint32_t>, std::pair<std::string, std::string>>;

Readings ReadCsv(const char* name) {
  Readings readings;
  std::istringstream lines(Golden(name));
  std::string line;
  while (std::getline(lines, line)) {
    const std::vector<std::string> f = CsvFields(line);
    if (f.size() == 5)
      readings[{f[0], uint32_t(std::stoul(f[1])), uint32_t(std::stoul(f[2]))}] = {f[3], f[4]};
  }
  return readings;
}

// A UTF-8 text as the program keeps it.
std::string Ansi(const std::string& utf8) {
  std::string text(utf8.size(), '\0');
  text.resize(XmlUtf8ToCodePage(kExcelAnsiText, utf8.data(), utf8.size(), &text[0]));
  return text;
}

// The value another program should have found in the cell, as text.
std::string ExpectedText(const FixtureCell& c) {
  if (c.kind == FixtureCell::kText)
    return c.text;
  return c.error == kErrorNA ? "#N/A" : ErrorName(c.error);
}

void ExpectSameNumber(double expected, const std::string& read, const std::string& where) {
  EXPECT_EQ(std::strtod(read.c_str(), nullptr), expected) << where << " read " << read;
}

// Every fixture cell, formulas with this program's results, by sheet.
std::vector<std::pair<std::string, FixtureCell>> ExpectedCells() {
  auto book = excelfixture::BuildFixture(true);
  std::vector<std::pair<std::string, FixtureCell>> cells;
  for (const FixtureCell& c : excelfixture::ValueCells()) cells.emplace_back("Values", c);
  CWorkSheet* formulas = CWorkSheet::FromItem(book->firstItem->next);
  for (FixtureCell c : excelfixture::FormulaCells()) {
    if (c.kind == FixtureCell::kFormula) {
      const CellRecord* cell = formulas->cells.GetCell(c.row, c.column);
      EXPECT_TRUE(cell && (cell->ResultFlags() & kResultCachedNumber)) << c.text;
      c.number = cell ? cell->CachedNumber() : 0;
    }
    cells.emplace_back("Formulas", c);
  }
  return cells;
}

void ExpectReadAlike(const Readings& readings, bool typed) {
  size_t matched = 0;
  for (const auto& [sheet, c] : ExpectedCells()) {
    const std::string where = sheet + " r" + std::to_string(c.row) + "c" + std::to_string(c.column);
    const auto found = readings.find({sheet, c.row, c.column});
    ASSERT_NE(found, readings.end()) << where;
    ++matched;
    const auto& [kind, value] = found->second;
    if (c.kind == FixtureCell::kNumber || c.kind == FixtureCell::kFormula) {
      if (typed) {
        EXPECT_EQ(kind, "number") << where;
      }
      ExpectSameNumber(c.number, value, where);
    } else {
      EXPECT_EQ(Ansi(value), ExpectedText(c)) << where;
    }
  }
  EXPECT_EQ(matched, readings.size());
}

std::string Export(bool withResults) {
  auto book = excelfixture::BuildFixture(withResults);
  uint8_t error = 0;
  return excelxml::SaveExcelText(book.get(), &error, nullptr);
}

TEST(ExcelXmlGolden, ExportIsTheFileTheOtherProgramsRead) {
  // The golden readings judge today's export only while it writes what they read.
  const std::string withResults = Export(true);
  EXPECT_EQ(withResults, Golden("excel_export.xml"));
  EXPECT_TRUE(xmldoc::WellFormed(withResults));
  EXPECT_EQ(Export(false), Golden("excel_export_formulas.xml"));
}

TEST(ExcelXmlGolden, LibreOfficeReadsTheSameValues) { ExpectReadAlike(ReadCsv("excel_export_libreoffice.csv"), true); }

TEST(ExcelXmlGolden, GnumericReadsTheSameValues) { ExpectReadAlike(ReadCsv("excel_export_gnumeric.csv"), false); }

TEST(ExcelXmlGolden, LibreOfficeCalculatesOurFormulasToOurResults) {
  const Readings readings = ReadCsv("excel_export_recalculated.csv");
  size_t formulas = 0;
  for (const auto& [sheet, c] : ExpectedCells()) {
    if (c.kind != FixtureCell::kFormula)
      continue;
    ++formulas;
    const auto found = readings.find({sheet, c.row, c.column});
    ASSERT_NE(found, readings.end()) << c.text;
    EXPECT_EQ(found->second.first, "number") << c.text;
    const double read = std::strtod(found->second.second.c_str(), nullptr);
    EXPECT_NEAR(read, c.number, 1e-15 * std::fabs(c.number)) << c.text;
  }
  EXPECT_EQ(formulas, readings.size());
}

// The import fixture's lines, split at tabs.
std::vector<std::vector<std::string>> FixtureLines() {
  std::vector<std::vector<std::string>> lines;
  std::istringstream text(Golden("excel_import_fixture.tsv"));
  std::string line;
  while (std::getline(text, line)) {
    if (line.empty() || line[0] == '#')
      continue;
    std::vector<std::string> fields(1);
    for (char c : line) {
      if (c == '\t')
        fields.emplace_back();
      else
        fields.back() += c;
    }
    lines.push_back(fields);
  }
  return lines;
}

uint32_t ColorOf(const std::string& hex) {
  const uint32_t rgb = uint32_t(std::strtoul(hex.c_str() + 1, nullptr, 16));
  return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

TEST(ExcelXmlGolden, FileWrittenByLibreOfficeImports) {
  uint8_t error = 0;
  auto book = excelxml::LoadExcelText(Golden("excel_import_libreoffice.xml"), &error);
  ASSERT_EQ(error, 0) << book->xmlErrorLine;
  CWorkSheet* sheet = book->activeWorksheet;
  for (const std::vector<std::string>& f : FixtureLines()) {
    if (f[0] == "column") {
      const double pixels = std::strtod(f[2].c_str(), nullptr) * 96 / 72;
      EXPECT_NEAR(sheet->format.columns[f[1][0] - 'A'].Width(), pixels, 1.0) << f[1];
      continue;
    }
    const uint16_t column = uint16_t(f[1][0] - 'A');
    const uint32_t row = uint32_t(std::stoul(f[1].substr(1)) - 1);
    const CellRecord* cell = sheet->cells.GetCell(row, column);
    ASSERT_NE(cell, nullptr) << f[1];
    if (f[2] == "number") {
      ASSERT_TRUE(cell->IsNumber()) << f[1];
      EXPECT_EQ(cell->Number(), std::strtod(f[3].c_str(), nullptr)) << f[1];
    } else {
      ASSERT_TRUE(cell->IsText()) << f[1];
      EXPECT_EQ(std::string(cell->Text(), cell->TextLength()), Ansi(f[3])) << f[1];
    }
    const StyleRecord& style = book->styles.StyleAt(sheet->format.CellStyle(row, column));
    const FontRecord& font = book->styles.FontAt(style.fontIndex);
    std::map<std::string, std::string> options;
    for (size_t i = 4; i < f.size(); ++i) {
      const size_t equals = f[i].find('=');
      options[f[i].substr(0, equals)] = equals == std::string::npos ? "" : f[i].substr(equals + 1);
    }
    EXPECT_EQ(font.weight, options.count("bold") ? kFontWeightBold : kFontWeightNormal) << f[1];
    EXPECT_EQ(font.italic, options.count("italic") ? 1 : 0) << f[1];
    if (options.count("color")) {
      EXPECT_TRUE(style.fontColorSet && style.fontColor == ColorOf(options["color"])) << f[1];
    }
    if (options.count("fill")) {
      EXPECT_EQ(style.interior.pattern, 1) << f[1];
      EXPECT_EQ(uint32_t(style.interior.patternColor), ColorOf(options["fill"])) << f[1];
    } else {
      EXPECT_EQ(style.interior.pattern, 0) << f[1];
    }
    if (options.count("border")) {
      EXPECT_EQ(style.borders.sides, kBorderTop | kBorderBottom | kBorderLeft | kBorderRight) << f[1];
      EXPECT_EQ(style.borders.line.style, 6) << f[1];  // continuous, one pixel
      EXPECT_EQ(uint32_t(style.borders.line.color), ColorOf(options["border"])) << f[1];
    } else {
      EXPECT_EQ(style.borders.sides, 0) << f[1];
    }
    const int category = options.count("category") ? std::stoi(options["category"]) : 0;
    EXPECT_EQ(style.numFormat.category, category) << f[1];
    if (options.count("code")) {
      EXPECT_EQ(std::string(style.numFormat.code), options["code"]) << f[1];
    }
  }
}

}  // namespace
