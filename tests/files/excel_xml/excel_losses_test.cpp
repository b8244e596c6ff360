// What worksheet names and the formulas naming worksheets lose in an Excel
// 2003 XML file read back, judged before the file is written and checked
// against files really written, read and recalculated: trees of folders
// holding worksheets of the same names in either letter case, and formulas
// naming them by full path, by name beside them, or naming nothing.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "files/excel_xml/excel_losses.h"
#include "tests/files/excel_xml/excel_xml_support.h"
#include "tests/test_random.h"
#include "tests/test_seed.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

std::vector<CWorkSheet*> Worksheets(const CWorkBook& book) {
  std::vector<CWorkSheet*> sheets;
  for (CTreeItem* item = book.firstItem; item; item = item->next)
    if (CWorkSheet* sheet = CWorkSheet::FromItem(item)) sheets.push_back(sheet);
  return sheets;
}

// A formula's result as the comparison sees it.
std::string Result(const CellRecord* cell) {
  if (!cell || !cell->IsFormula()) return "-";
  if (cell->ErrorCode() != 0) return "e";
  char number[40];
  std::snprintf(number, sizeof number, "%.17g", cell->CachedNumber());
  return number;
}

void PutFormula(CWorkSheet* sheet, uint32_t row, const std::string& text) {
  FormulaCellFields fields;
  fields.formula = text.c_str();
  fields.formulaLength = uint16_t(text.size());
  uint8_t record[1100];
  const uint32_t size = BuildFormulaCell(record, sizeof record, row, 1, fields);
  ASSERT_NE(size, 0u);
  ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(record), nullptr));
}

TEST(ExcelLosses, AgreeWithFilesWrittenReadAndRecalculated) {
  const uint32_t seed = TestSeed(140);
  SCOPED_TRACE(SeedTrace(seed));
  TestRng rng{seed};
  const char* names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Main", "jan", "Jan(0)"};
  const char* folders[] = {"F", "G"};
  int broken = 0;
  int renamed = 0;
  for (int round = 0; round < 150; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    CWorkBook book;
    ASSERT_TRUE(book.NewDocument());
    std::snprintf(book.activeWorksheet->name, kTreeItemNameSize, "Main");
    CTreeItem* folderItems[2] = {nullptr, nullptr};
    const uint32_t items = 1 + rng.Below(5);
    for (uint32_t i = 0; i < items; ++i) {
      const char* name = names[rng.Below(8)];
      int place = int(rng.Below(5)) - 2;  // the top, or folder F or G
      if (place < 0) place = 0;
      const std::string path =
          place == 0 ? std::string("\\") + name : std::string("\\") + folders[place - 1] + "\\" + name;
      if (book.FindItemByPath(path.c_str())) continue;
      CTreeItem* folder = nullptr;
      if (place != 0) {
        folder = folderItems[place - 1];
        if (!folder) {
          folder = folderItems[place - 1] = NewFolderItem(folders[place - 1], 1);
          book.InsertItems(folder, nullptr);
        }
      }
      book.InsertItems(NewWorksheet(name, 1), folder);
    }
    // Each worksheet's A1 tells it apart from every other.
    const std::vector<CWorkSheet*> sheets = Worksheets(book);
    for (size_t i = 0; i < sheets.size(); ++i) {
      uint8_t record[kNumberCellSize];
      ASSERT_NE(BuildNumberCell(record, sizeof record, 0, 0, double(i + 1) * 10), 0u);
      ASSERT_TRUE(sheets[i]->cells.InsertCell(AsCellRecord(record), nullptr));
    }
    // Formulas on two worksheets, naming a worksheet by its full path, by
    // its name alone (beside the formula's worksheet), or naming nothing.
    for (CWorkSheet* sheet : {sheets[0], sheets[rng.Below(uint32_t(sheets.size()))]}) {
      for (uint32_t row = 1; row < 4; ++row) {
        CWorkSheet* target = sheets[rng.Below(uint32_t(sheets.size()))];
        char path[kTreePathCapacity];
        ASSERT_TRUE(target->GetFullPath(path, sizeof path));
        std::string qualifier;
        switch (rng.Below(4)) {
          case 0: qualifier = path; break;
          case 1:
          case 2: qualifier = target->name; break;
          default: qualifier = "Nowhere"; break;
        }
        PutFormula(sheet, row, "=\"" + qualifier + "\"!R1C1+0");
      }
    }
    ASSERT_TRUE(book.Recalculate(nullptr));
    const ExcelLosses judged = FindExcelLosses(book);

    uint8_t error = 0;
    const std::string file = excelxml::SaveExcelText(&book, &error);
    ASSERT_EQ(error, 0);
    std::unique_ptr<CWorkBook> read = excelxml::LoadExcelText(file, &error);
    ASSERT_EQ(error, 0);
    ASSERT_TRUE(read->Recalculate(nullptr));
    const std::vector<CWorkSheet*> back = Worksheets(*read);
    ASSERT_EQ(back.size(), sheets.size());
    ExcelLosses found;
    for (size_t i = 0; i < sheets.size(); ++i) {
      char path[kTreePathCapacity];
      sheets[i]->GetFullPath(path, sizeof path);
      if (std::string(sheets[i]->name) != back[i]->name)
        found.renamed.push_back(ExcelRenamedSheet{path, back[i]->name});
      for (uint32_t row = 1; row < 4; ++row) {
        const CellRecord* cell = sheets[i]->cells.GetCell(row, 1);
        if (!cell || Result(cell) == Result(back[i]->cells.GetCell(row, 1))) continue;
        if (found.brokenFormulas++ < kExcelBrokenListed)
          found.broken.push_back(ExcelBrokenReference{path, row, 1, ""});
      }
    }
    ASSERT_EQ(judged.renamed.size(), found.renamed.size());
    for (size_t i = 0; i < found.renamed.size(); ++i) {
      EXPECT_EQ(judged.renamed[i].path, found.renamed[i].path);
      EXPECT_EQ(judged.renamed[i].name, found.renamed[i].name);
    }
    EXPECT_EQ(judged.brokenFormulas, found.brokenFormulas);
    ASSERT_EQ(judged.broken.size(), found.broken.size());
    for (size_t i = 0; i < found.broken.size(); ++i) {
      EXPECT_EQ(judged.broken[i].sheet, found.broken[i].sheet);
      EXPECT_EQ(judged.broken[i].row, found.broken[i].row);
    }
    broken += found.brokenFormulas != 0 ? 1 : 0;
    renamed += found.renamed.empty() ? 0 : 1;
    if (HasFailure()) break;
  }
  // The rounds reach both answers for both.
  EXPECT_GT(broken, 15);
  EXPECT_LT(broken, 135);
  EXPECT_GT(renamed, 15);
  EXPECT_LT(renamed, 135);
}

}  // namespace
