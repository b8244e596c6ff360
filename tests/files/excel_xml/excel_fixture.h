#ifndef TALVERO_TESTS_FILES_EXCEL_XML_FIXTURE_H
#define TALVERO_TESTS_FILES_EXCEL_XML_FIXTURE_H

// The workbook whose Excel 2003 XML export other programs read for the
// golden files (tests/golden/generate_excel_xml.py): numbers that need every
// bit, texts with blanks, markup characters and the code page's letters,
// error values, and simple formulas with the results this program computes.
// The tool that writes the exports and the golden test build it alike.

#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "core/workbook/workbook.h"

namespace excelfixture {

struct FixtureCell {
  uint32_t row;
  uint16_t column;
  enum Kind { kNumber, kText, kError, kFormula } kind;
  double number;
  std::string text;  // a text, or a formula in stored form
  uint8_t error;
};

inline std::vector<FixtureCell> ValueCells() {
  std::vector<FixtureCell> cells;
  const double numbers[] = {0.1 + 0.2, 1.0 / 3.0, -2.5e-300, 1.7976931348623157e308, 123456789012345678.0,
                            2.2250738585072014e-308, 3.141592653589793, -1e21, 0.5, 1e-7};
  uint16_t column = 0;
  for (double n : numbers) cells.push_back({0, column++, FixtureCell::kNumber, n, "", 0});
  const char* texts[] = {"two  blanks", " lead and trail ", "a & b < c > d ' e \" f", "Latin-1 \xE9\xFC\xDF\xA9\xBD",
                         "\x80 and \x99", "x   y    z"};
  column = 0;
  for (const char* t : texts) cells.push_back({1, column++, FixtureCell::kText, 0, t, 0});
  const uint8_t errors[] = {kErrorDivZero, kErrorNA, kErrorValue, kErrorRef, kErrorName, kErrorNum, kErrorNull};
  column = 0;
  for (uint8_t e : errors) cells.push_back({2, column++, FixtureCell::kError, 0, "", e});
  return cells;
}

inline std::vector<FixtureCell> FormulaCells() {
  std::vector<FixtureCell> cells;
  const double inputs[] = {0.1, 0.2, 7, -3.25};
  for (uint32_t r = 0; r < 4; ++r) cells.push_back({r, 0, FixtureCell::kNumber, inputs[r], "", 0});
  const char* formulas[] = {"=R1C1+R2C1", "=R[-1]C[-1]*3-R2C1", "=(R1C1+R2C1)/R3C1", "=R3C1^2",
                            "=-R4C1/7",   "=R1C1+R2C1+R3C1+R4C1", "=R3C1*R4C1-R1C1"};
  uint32_t row = 0;
  for (const char* f : formulas) cells.push_back({row++, 1, FixtureCell::kFormula, 0, f, 0});
  return cells;
}

inline void PutFixtureCell(CWorkSheet* sheet, const FixtureCell& c) {
  uint8_t record[1100];
  uint32_t size = 0;
  switch (c.kind) {
    case FixtureCell::kNumber:
      size = BuildNumberCell(record, sizeof record, c.row, c.column, c.number);
      break;
    case FixtureCell::kText:
      size = BuildTextCell(record, sizeof record, c.row, c.column, c.text.data(), uint16_t(c.text.size()));
      break;
    case FixtureCell::kError:
      size = BuildNumberCell(record, sizeof record, c.row, c.column, 0, c.error);
      break;
    case FixtureCell::kFormula: {
      FormulaCellFields fields;
      fields.formula = c.text.c_str();
      fields.formulaLength = uint16_t(c.text.size());
      size = BuildFormulaCell(record, sizeof record, c.row, c.column, fields);
      break;
    }
  }
  if (size)
    sheet->cells.InsertCell(AsCellRecord(record), nullptr);
}

// The fixture workbook. With results, its formulas hold what this program
// calculated; without, other programs have to calculate them.
inline std::unique_ptr<CWorkBook> BuildFixture(bool withResults) {
  auto book = std::make_unique<CWorkBook>();
  DocumentPropertyTexts& p = book->documentProperties;
  std::snprintf(p.author, sizeof p.author, "Fixture");
  std::snprintf(p.lastAuthor, sizeof p.lastAuthor, "Fixture");
  std::snprintf(p.created, sizeof p.created, "2026-12-07T10:00:00Z");
  std::snprintf(p.lastSaved, sizeof p.lastSaved, "2026-12-07T10:00:00Z");
  std::snprintf(p.version, sizeof p.version, "10.2625");
  CWorkSheet* values = NewWorksheet("Values", 1);
  book->InsertItems(values, nullptr);
  CWorkSheet* formulas = NewWorksheet("Formulas", 1);
  book->InsertItems(formulas, nullptr);
  book->activeWorksheet = values;
  for (const FixtureCell& c : ValueCells()) PutFixtureCell(values, c);
  for (const FixtureCell& c : FormulaCells()) PutFixtureCell(formulas, c);
  book->evaluator.owner = book.get();
  book->evaluator.sheet = &values->cells;
  if (withResults)
    book->Recalculate(nullptr);
  return book;
}

}  // namespace excelfixture

#endif
