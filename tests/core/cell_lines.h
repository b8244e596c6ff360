#ifndef TALVERO_TESTS_CORE_CELL_LINES_H
#define TALVERO_TESTS_CORE_CELL_LINES_H

// A cell record written as one line of text, so that two stores compare
// line by line and a difference reads plainly: where it is, its type byte,
// and what it holds (value bits, a formula's text, array extent and cached
// result); the flags of a recalculation pass are left out.

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/cells/cell_record.h"

inline std::string HexBits(double number) {
  uint64_t bits;
  std::memcpy(&bits, &number, sizeof bits);
  char text[24];
  std::snprintf(text, sizeof text, "%016" PRIx64, bits);
  return text;
}

inline std::string CellLine(const CellRecord& cell) {
  char head[64];
  std::snprintf(head, sizeof head, "c%u r%u t%02x ", unsigned(cell.Column()), unsigned(cell.Row()),
                unsigned(cell.Type()));
  std::string line = head;
  if (cell.IsText()) return line + "text '" + std::string(cell.Text(), cell.TextLength()) + "'";
  if (cell.IsNumber()) return line + "number " + HexBits(cell.Number());
  if (!cell.IsFormula()) return line + "?";
  line += "formula '" + std::string(cell.FormulaText(), cell.FormulaLength()) + "'";
  if (cell.ResultFlags() & kResultArray)
    line += " array " + std::to_string(cell.ArrayColumns()) + "x" + std::to_string(cell.ArrayRows());
  if (cell.HasCachedText()) return line + " text '" + std::string(cell.CachedText(), cell.CachedTextLength()) + "'";
  return line + " number " + HexBits(cell.CachedNumber());
}

#endif
