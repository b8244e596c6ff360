#ifndef TALVERO_TESTS_CORE_CELLS_SIZED_CELLS_H
#define TALVERO_TESTS_CORE_CELLS_SIZED_CELLS_H

#include <cstdint>
#include <string>
#include <vector>

#include "core/cells/cell_store.h"

// A text cell of the given length, or a formula cell with a cached text of
// it, so that a rewrite changes the record's size either way.
inline std::vector<uint8_t> Cell(uint32_t row, uint16_t column, uint32_t length, bool formula) {
  std::vector<uint8_t> bytes(kFormulaCellHeadSize + 8 + 2 + length + 16);
  const std::string text(length, char('a' + (row + column) % 26));
  if (!formula) {
    bytes.resize(BuildTextCell(bytes.data(), bytes.size(), row, column, text.data(), uint16_t(length)));
    return bytes;
  }
  FormulaCellFields fields;
  fields.formula = "=A1+B1";
  fields.formulaLength = 6;
  fields.cachedText = text.data();
  fields.cachedTextLength = uint16_t(length);
  bytes.resize(BuildFormulaCell(bytes.data(), bytes.size(), row, column, fields));
  return bytes;
}

#endif
