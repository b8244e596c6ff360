#include "files/excel_xml/excel_losses.h"

#include <cstring>

#include "core/formula/eval_state.h"
#include "core/formula/formula_qualifiers.h"
#include "core/workbook/workbook.h"
#include "files/excel_xml/excel_names.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

struct WrittenSheet {
  const CTreeItem* item;
  char name[kTreeItemNameSize];
};

// The worksheet a qualifier names once the file is read back: every
// worksheet stands at the top under its written name, so a path names one
// only with a single step, and any other text is taken from the top.
const CTreeItem* ItemReadBack(const std::vector<WrittenSheet>& written, const std::string& qualifier) {
  const std::string path = qualifier[0] == '\\' ? qualifier : "\\" + qualifier;
  char sheetPath[kTreePathCapacity + 1];
  for (const WrittenSheet& sheet : written) {
    std::snprintf(sheetPath, sizeof sheetPath, "\\%s", sheet.name);
    if (TreePathsEqual(sheetPath, path.c_str()))
      return sheet.item;
  }
  return nullptr;
}

}  // namespace

ExcelLosses FindExcelLosses(const CWorkBook& book) {
  ExcelLosses losses;
  std::vector<WrittenSheet> written;
  PagedArray taken(kTreeItemNameSize);
  char path[kTreePathCapacity];
  for (const CTreeItem* item = book.firstItem; item; item = item->next) {
    const CWorkSheet* sheet = CWorkSheet::FromItem(item);
    if (!sheet)
      continue;
    WrittenSheet entry{item, {}};
    if (!TakeUniqueExcelName(&taken, sheet->name, entry.name))
      return losses;
    written.push_back(entry);
    if (std::strcmp(entry.name, sheet->name) != 0 && item->GetFullPath(path, sizeof path))
      losses.renamed.push_back(ExcelRenamedSheet{path, entry.name});
  }

  EvalState state;
  for (const WrittenSheet& entry : written) {
    const CWorkSheet* sheet = CWorkSheet::FromItem(entry.item);
    ForEachRecord(sheet->cells, [&](const CellRecord& cell) {
      if (!cell.IsFormula() || !std::memchr(cell.FormulaText(), '!', cell.FormulaLength()))
        return true;
      const std::string formula(cell.FormulaText(), cell.FormulaLength());
      for (const FormulaQualifier& found : SheetQualifiersOf(state, formula.c_str())) {
        const std::string& qualifier = found.text;
        if (book.FindItemByQualifier(&sheet->cells, qualifier.c_str()) == ItemReadBack(written, qualifier))
          continue;
        if (losses.brokenFormulas++ < kExcelBrokenListed && entry.item->GetFullPath(path, sizeof path))
          losses.broken.push_back(ExcelBrokenReference{path, cell.Row(), cell.Column(), qualifier});
        break;
      }
      return true;
    });
  }
  return losses;
}
