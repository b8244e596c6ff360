#include "app/document/save_losses.h"

#include <cstring>
#include <string>

#include "app/document/page_settings_losses.h"
#include "core/styles/style_run_walk.h"
#include "core/workbook/workbook.h"
#include "files/dispatch/native_kind.h"
#include "files/xbase/xbase_losses.h"
#include "services/convert/column_letters.h"

namespace {

constexpr uint32_t kRed = 0x0000FF;  // COLORREF of (255, 0, 0)

// A table's deleted records are read as whole rows of the default style in
// red, which a table saves again as its deletion marks, not as a format.
bool IsDeletionMark(const CWorkBook& book, const StyleRun& run) {
  if (run.firstColumn != 0 || run.lastColumn != kMaxColumn)
    return false;
  StyleRecord mark = book.styles.StyleAt(0);
  mark.fontColorSet = 1;
  mark.fontColor = kRed;
  return std::memcmp(&mark, &book.styles.StyleAt(run.style), sizeof mark) == 0;
}

bool HasFormats(const CWorkBook& book, const CWorkSheet& sheet, bool keepsDeletionMarks) {
  StyleRunWalk walk(sheet.format.runs);
  for (const StyleRun* run = walk.Current(); run != nullptr; walk.Advance(), run = walk.Current())
    if (run->style != 0 && !(keepsDeletionMarks && IsDeletionMark(book, *run)))
      return true;
  for (const ColumnRecord& column : sheet.format.columns)
    if (column.Style() != 0 || column.Width() != 0 || column.WidthFixed())
      return true;
  bool fixedRow = false;
  sheet.format.rows.ForEachRowRecord([&](uint16_t record) { fixedRow = fixedRow || (record & RowTable::kFixedHeight); });
  return fixedRow;
}

bool HasFormulas(const CWorkSheet& sheet) {
  bool found = false;
  ForEachRecord(sheet.cells, [&](const CellRecord& cell) {
    found = cell.IsFormula();
    return !found;
  });
  return found;
}

// Whether a style of a cell or a column of any worksheet answers test.
template <typename StyleTest>
bool AnyUsedStyle(const CWorkBook& book, StyleTest test) {
  for (const CWorkBook::CTreeItem* item = book.firstItem; item != nullptr; item = item->next) {
    const CWorkSheet* sheet = CWorkSheet::FromItem(item);
    if (sheet == nullptr)
      continue;
    StyleRunWalk walk(sheet->format.runs);
    for (const StyleRun* run = walk.Current(); run != nullptr; walk.Advance(), run = walk.Current())
      if (run->style != 0 && test(book.styles.StyleAt(run->style)))
        return true;
    for (const ColumnRecord& column : sheet->format.columns)
      if (column.Style() != 0 && test(book.styles.StyleAt(column.Style())))
        return true;
  }
  return false;
}

bool AnyDropDownLists(const CWorkBook& book) {
  return AnyUsedStyle(book, [](const StyleRecord& style) { return style.dropDown.listId != 0; });
}

// What an Excel 2003 XML file writes of a style leaves out the marks of
// protection, the vertical indent and a struck-out font, and knows a font
// as bold or not, underlined once or not: a style used by a cell or a
// column that holds more is read back without it.
bool HasExcelLostFormats(const CWorkBook& book) {
  const StyleRecord plain = StyleRecord::Default();
  return AnyUsedStyle(book, [&](const StyleRecord& style) {
    const FontRecord& font = book.styles.FontAt(style.fontIndex);
    return style.hidden != plain.hidden || style.isProtected != plain.isProtected ||
           style.alignment.verticalIndent != plain.alignment.verticalIndent || font.strikeOut != 0 ||
           (font.weight != kFontWeightNormal && font.weight != kFontWeightBold) || font.underline > 1 ||
           font.italic > 1;
  });
}

// XML has no control characters but tab, line feed and carriage return:
// the file leaves the others out of texts.
bool HasXmlLostCharacters(const char* text, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    const uint8_t c = static_cast<uint8_t>(text[i]);
    if (c < 32 && c != '\t' && c != '\n' && c != '\r')
      return true;
  }
  return false;
}

void FindExcelLostCharacters(const CWorkBook& book, SaveLosses* losses) {
  for (const CWorkBook::CTreeItem* item = book.firstItem; item != nullptr; item = item->next) {
    const CWorkSheet* sheet = CWorkSheet::FromItem(item);
    if (sheet == nullptr)
      continue;
    ForEachRecord(sheet->cells, [&](const CellRecord& cell) {
      if (!cell.IsText() || !HasXmlLostCharacters(cell.Text(), cell.TextLength()))
        return true;
      if (losses->characters++ == 0) {
        char path[kTreePathCapacity];
        sheet->GetFullPath(path, sizeof path);
        losses->characterCell = std::string(path) + "!" + LossCellName(cell.Row(), cell.Column());
      }
      return true;
    });
  }
}

void FindPageSettingLosses(const CWorkBook& book, bool excelXml, SaveLosses* losses) {
  for (const CWorkBook::CTreeItem* item = book.firstItem; item != nullptr; item = item->next) {
    const CWorkSheet* sheet = CWorkSheet::FromItem(item);
    if (sheet == nullptr || (!excelXml && sheet != book.activeWorksheet))
      continue;
    const std::string lost = LostPageSettings(sheet->pageSettings, excelXml);
    if (lost.empty())
      continue;
    if (!excelXml || book.worksheetCount < 2) {
      losses->pageSettings = lost;
      return;
    }
    // Which worksheet's settings go matters once there are several.
    char path[kTreePathCapacity];
    sheet->GetFullPath(path, sizeof path);
    losses->pageSettings = std::string(path) + ": " + lost;
    return;
  }
}

bool AnyContainers(const CWorkBook& book) {
  for (const CWorkBook::CTreeItem* item = book.firstItem; item != nullptr; item = item->next)
    if (const CWorkSheet* sheet = CWorkSheet::FromItem(item); sheet != nullptr && sheet->containers != nullptr)
      return true;
  return false;
}

}  // namespace

SaveLosses FindSaveLosses(const CWorkBook& book, uint8_t kind, const XBaseTable* description,
                          const TextFileOptions* textOptions) {
  SaveLosses losses;
  if (kind == kFormatNative)
    return losses;
  losses.folders = book.folderCount != 0;
  if (kind == kFormatExcelXml) {
    losses.containers = AnyContainers(book);
    losses.dropDownLists = AnyDropDownLists(book);
    losses.names = FindExcelLosses(book);
    losses.formats = HasExcelLostFormats(book);
    FindExcelLostCharacters(book, &losses);
    FindPageSettingLosses(book, true, &losses);
    return losses;
  }
  const CWorkSheet* sheet = book.activeWorksheet;
  if (sheet == nullptr)
    return losses;
  const bool table = kind >= kFormatXBaseFirst && kind <= kFormatXBaseLast;
  losses.otherWorksheets = book.worksheetCount > 0 ? book.worksheetCount - 1 : 0;
  losses.formulas = HasFormulas(*sheet);
  losses.formats = HasFormats(book, *sheet, table);
  losses.containers = sheet->containers != nullptr;
  FindPageSettingLosses(book, false, &losses);
  if (table && description != nullptr) {
    const XBaseLosses cells = FindXBaseLosses(book, *sheet, *description);
    losses.firstRow = cells.firstRow;
    losses.fieldValues = cells.values;
    losses.emptyNumbers = cells.emptyNumbers;
    losses.emptyRow = cells.emptyRow;
    losses.emptyColumn = cells.emptyColumn;
    losses.characters = cells.characters;
    if (cells.characters != 0)
      losses.characterCell = LossCellName(cells.characterRow, cells.characterColumn);
    losses.unfieldedColumns = cells.unfieldedColumns;
    losses.firstUnfielded = cells.firstUnfielded;
    losses.numberTooWide = cells.tooWide;
    losses.tooWideRow = cells.tooWideRow;
    losses.tooWideColumn = cells.tooWideColumn;
  }
  if (kind == kFormatText)
    losses.shown = FindTextLosses(book, *sheet, textOptions != nullptr ? *textOptions : book.textFileOptions);
  return losses;
}

std::string LossColumnName(uint16_t column) {
  char letters[kColumnLettersCapacity];
  ColumnNumberToLetters(letters, uint32_t(column) + 1);
  return letters;
}

std::string LossCellName(uint32_t row, uint16_t column) { return LossColumnName(column) + std::to_string(row + 1); }

namespace {

constexpr size_t kListedLosses = 5;

void AppendListed(std::string* text, size_t index, const std::string& entry) {
  if (index == kListedLosses) {
    text->append(", ...");
    return;
  }
  if (index > kListedLosses)
    return;
  if (index != 0)
    text->append(", ");
  text->append(entry);
}

}  // namespace

std::string RenamedSheetsText(const ExcelLosses& names) {
  std::string text;
  for (size_t i = 0; i < names.renamed.size(); ++i)
    AppendListed(&text, i, names.renamed[i].path + " as " + names.renamed[i].name);
  return text;
}

std::string BrokenReferencesText(const ExcelLosses& names) {
  std::string text;
  for (size_t i = 0; i < names.broken.size(); ++i) {
    const ExcelBrokenReference& broken = names.broken[i];
    AppendListed(&text, i,
                 broken.sheet + "!" + LossCellName(broken.row, broken.column) + " naming '" + broken.qualifier + "'");
  }
  if (names.brokenFormulas > names.broken.size() && names.broken.size() <= kListedLosses)
    text.append(", ...");
  return text;
}
