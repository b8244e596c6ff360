#ifndef TALVERO_TESTS_CORE_BOOK_OF_ITEMS_H
#define TALVERO_TESTS_CORE_BOOK_OF_ITEMS_H

// A workbook of tree items written as rows: "name" for a worksheet,
// "name/" for a folder, each with its depth, in preorder. The first
// worksheet is the active one.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/workbook/workbook.h"

struct ItemRow {
  std::string name;
  uint16_t depth;
};

inline std::unique_ptr<CWorkBook> BookOfItems(const std::vector<ItemRow>& rows) {
  auto book = std::make_unique<CWorkBook>();
  for (const ItemRow& row : rows) {
    const bool folder = !row.name.empty() && row.name.back() == '/';
    const std::string name = folder ? row.name.substr(0, row.name.size() - 1) : row.name;
    CWorkSheetTree::CTreeItem* item = folder ? NewFolderItem(name.c_str(), 1) : NewWorksheet(name.c_str(), 1);
    book->InsertItems(item, nullptr);
    item->depth = row.depth;
    if (!folder && book->activeWorksheet == nullptr) {
      book->activeWorksheet = CWorkSheet::FromItem(item);
      book->evaluator.sheet = &book->activeWorksheet->cells;
    }
  }
  return book;
}

#endif
