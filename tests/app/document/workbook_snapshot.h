#ifndef TALVERO_TESTS_APP_DOCUMENT_WORKBOOK_SNAPSHOT_H
#define TALVERO_TESTS_APP_DOCUMENT_WORKBOOK_SNAPSHOT_H

// Every cell of a workbook written as text, value bits and formula texts
// included, so that two states of one workbook (after a first and a second
// recalculation, or saved and loaded) compare line by line; and the round
// trips through the binary and the native XML files.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "core/workbook/workbook.h"
#include "files/dispatch/document_file.h"
#include "files/native_xml/native_xml.h"
#include "tests/core/cell_lines.h"

namespace snapshot {

// The cells of every worksheet under its full path, in tree order.
inline std::string Cells(const CWorkBook& book) {
  std::string text;
  for (CWorkBook::CTreeItem* item = book.firstItem; item; item = item->next) {
    char path[256] = "";
    item->GetFullPath(path, sizeof path, false);
    text += std::string(item->IsWorksheet() ? "sheet " : "folder ") + path + "\n";
    CWorkSheet* sheet = CWorkSheet::FromItem(item);
    if (!sheet) continue;
    CellCursor cursor;
    cursor.flags = kCursorAfterRecord;
    cursor.block = sheet->cells.FirstBlock();
    while (const CellRecord* cell = cursor.Next()) text += "  " + CellLine(*cell) + "\n";
  }
  return text;
}

// What every cell shows, formula texts left out, for each worksheet in the
// order of its cell store's address: the same worksheets of one workbook
// compare equal whatever their names and places in the tree.
inline std::string Values(const CWorkBook& book) {
  std::vector<std::pair<const CellStore*, std::string>> sheets;
  for (CWorkBook::CTreeItem* item = book.firstItem; item; item = item->next) {
    CWorkSheet* sheet = CWorkSheet::FromItem(item);
    if (!sheet) continue;
    std::string text;
    CellCursor cursor;
    cursor.flags = kCursorAfterRecord;
    cursor.block = sheet->cells.FirstBlock();
    while (const CellRecord* cell = cursor.Next()) {
      char line[64];
      std::snprintf(line, sizeof line, "  c%u r%u e%u ", unsigned(cell->Column()), unsigned(cell->Row()),
                    unsigned(cell->ErrorCode()));
      text += line;
      if (cell->IsText())
        text += "'" + std::string(cell->Text(), cell->TextLength()) + "'";
      else if (cell->IsNumber())
        text += HexBits(cell->Number());
      else if (cell->HasCachedText())
        text += "'" + std::string(cell->CachedText(), cell->CachedTextLength()) + "'";
      else
        text += HexBits(cell->CachedNumber());
      text += "\n";
    }
    sheets.emplace_back(&sheet->cells, text);
  }
  std::sort(sheets.begin(), sheets.end(),
            [](const auto& a, const auto& b) { return std::less<const CellStore*>()(a.first, b.first); });
  std::string text;
  for (const auto& sheet : sheets) text += "sheet\n" + sheet.second;
  return text;
}

// The workbook saved as binary (or native XML) at path and loaded into a
// new workbook, as the document window saves and opens files.
inline std::unique_ptr<CWorkBook> RoundTrip(CWorkBook* book, const std::string& path, bool xml) {
  const uint8_t saveKind = book->saveKind;
  book->saveKind = xml ? kSaveKindXmlPlain : kSaveKindBinaryGzip;
  const uint8_t format = book->sourceFormat;
  book->sourceFormat = 0;
  const bool saved = SaveDocumentFile(book, path.c_str());
  EXPECT_TRUE(saved) << "save error " << int(book->error);
  book->bufferedFile.Close();
  book->saveKind = saveKind;
  book->sourceFormat = format;
  auto loaded = std::make_unique<CWorkBook>();
  if (!saved) return nullptr;
  EXPECT_TRUE(OpenDocumentFile(loaded.get(), path.c_str()));
  const bool read = loaded->LoadNative(nullptr);
  EXPECT_TRUE(read) << "load error " << int(loaded->error);
  loaded->bufferedFile.Close();
  std::remove(path.c_str());
  return read ? std::move(loaded) : nullptr;
}

}  // namespace snapshot

#endif
