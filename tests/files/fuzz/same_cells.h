#ifndef TALVERO_TESTS_FILES_FUZZ_SAME_CELLS_H
#define TALVERO_TESTS_FILES_FUZZ_SAME_CELLS_H

// The cells of a worksheet written out as text, so that a workbook loaded,
// saved in its own kind and loaded again compares with the first load:
// what a cell stores (type, value bits, formula text, cached result, error)
// or, for text files, which hold what cells show, the displayed text.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/edit/cell_display_text.h"
#include "core/workbook/workbook.h"
#include "files/text/text_conversion.h"
#include "tests/core/cell_lines.h"

namespace fuzzing {

inline std::string Where(const CellRecord& cell) {
  char text[48];
  std::snprintf(text, sizeof text, "c%u r%u e%02x ", unsigned(cell.Column()), unsigned(cell.Row()),
                unsigned(cell.ErrorCode()));
  return text;
}

// One line per cell, as CellLine writes it.
inline std::string StoredCells(CWorkSheet* sheet) {
  std::string text;
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  cursor.block = sheet->cells.FirstBlock();
  while (const CellRecord* cell = cursor.Next()) text += CellLine(*cell) + "\n";
  return text;
}

// A text as a file in the DOS code page gives it back: the conversion to
// and from the program's ANSI text substitutes the characters one of them
// lacks (best fit), so only a text that passed through it once keeps.
inline std::string ThroughOem(std::string text) {
  AnsiToOemInPlace(&text[0], text.size());
  OemToAnsiInPlace(&text[0], text.size());
  return text;
}

// One line per cell: where it is and the text it shows in its style, as
// the DOS code page gives it back when asked.
inline std::string ShownCells(CWorkBook* book, CWorkSheet* sheet, bool throughOem = false) {
  std::string text;
  CellCursor cursor, styles;
  cursor.flags = kCursorAfterRecord;
  cursor.block = sheet->cells.FirstBlock();
  while (const CellRecord* cell = cursor.Next()) {
    char shown[kCellTextCapacity];
    const StyleRecord& style = book->styles.StyleAt(sheet->format.CellStyle(cell->Row(), cell->Column(), &styles));
    if (!FormatCellDisplayText(*cell, style.numFormat, shown, sizeof shown))
      shown[0] = '\0';
    char where[32];
    std::snprintf(where, sizeof where, "c%u r%u ", unsigned(cell->Column()), unsigned(cell->Row()));
    text += where + (throughOem ? ThroughOem(shown) : std::string(shown)) + "\n";
  }
  return text;
}

// The stored cells of every worksheet in tree order, under their paths.
inline std::string BookCells(CWorkBook* book) {
  std::string text;
  for (CWorkBook::CTreeItem* item = book->firstItem; item; item = item->next) {
    char path[256] = "";
    item->GetFullPath(path, sizeof path, false);
    text += std::string(item->IsWorksheet() ? "sheet " : "folder ") + path + "\n";
    if (CWorkSheet* sheet = CWorkSheet::FromItem(item))
      text += StoredCells(sheet);
  }
  return text;
}

// Aborts with the first line that differs on stderr (both descriptions
// whole with TALVERO_FUZZ_DUMP set), so that the fuzzer's report shows what
// the round trip changed.
inline void CheckSame(const std::string& first, const std::string& again, const char* what) {
  if (first == again)
    return;
  size_t at = 0;
  while (at < first.size() && at < again.size() && first[at] == again[at]) ++at;
  const size_t newline = first.rfind('\n', at ? at - 1 : 0);
  const size_t line = newline == std::string::npos || newline >= at ? 0 : newline + 1;
  const auto show = [&](const std::string& cells) {
    std::string shown;
    for (size_t i = line; i < cells.size() && cells[i] != '\n'; ++i) {
      const unsigned char c = static_cast<unsigned char>(cells[i]);
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, c >= 32 && c < 127 ? "%c" : "\\x%02x", c);
      shown += escaped;
    }
    return shown;
  };
  if (std::getenv("TALVERO_FUZZ_DUMP"))
    std::fprintf(stderr, "first:\n%s\nagain:\n%s\n", first.c_str(), again.c_str());
  std::fprintf(stderr, "%s changed the cells at byte %zu of the line:\n  first: %s\n  again: %s\n", what, at - line,
               show(first).c_str(), show(again).c_str());
  std::abort();
}

}  // namespace fuzzing

#endif
