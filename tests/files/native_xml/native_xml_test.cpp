#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/workbook/workbook.h"
#include "files/native_xml/native_xml.h"
#include "files/errors/file_errors.h"
#include "tests/files/file_test_support.h"
#include "tests/files/native_xml/native_xml_support.h"
#include "tests/files/sample_workbook.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

void AddCell(CWorkSheet* sheet, const uint8_t* record) {
  CellCursor cursor;
  ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(record), &cursor));
}

std::unique_ptr<CWorkBook> MakeBook() {
  auto book = std::make_unique<CWorkBook>();
  std::snprintf(book->lastModification.user, sizeof book->lastModification.user, "Ann \xE9 <&>");
  std::snprintf(book->lastModification.date, sizeof book->lastModification.date, "2026-12-07");
  book->panes = PaneLayout{1, 210, 0, 80};
  std::snprintf(book->dropDownLists[6].name, sizeof book->dropDownLists[6].name, "Colours");
  book->dropDownLists[6].AppendEntry("red  and  blue");
  book->dropDownLists[6].AppendEntry("");
  book->InsertItems(NewFolderItem("Folder \"A\"", 1, 1), nullptr);
  CWorkSheet* first = NewWorksheet("One", 2);
  book->InsertItems(first, nullptr);
  CWorkSheet* second = NewWorksheet("Two", 1);
  book->InsertItems(second, nullptr);
  book->activeWorksheet = second;
  uint8_t record[4096];
  BuildTextCell(record, sizeof record, 0, 0, "line\r\nbreak", 11);
  AddCell(first, record);
  BuildNumberCell(record, sizeof record, 0, 2, 0.1 + 0.2);
  AddCell(first, record);
  BuildNumberCell(record, sizeof record, 5, 1, 0, kCellSpillValue | kErrorNA);
  AddCell(first, record);
  FormulaCellFields fields;
  fields.formula = "=R1C3*2";
  fields.formulaLength = 7;
  fields.resultFlags = kResultCachedNumber;
  fields.cachedNumber = 1.0 / 3.0;
  BuildFormulaCell(record, sizeof record, 7, 0, fields);
  AddCell(first, record);
  fields.resultFlags = kResultArray;
  fields.arrayColumns = 2;
  fields.arrayRows = 3;
  fields.cachedNumber = 0;
  fields.cachedText = "text";
  fields.cachedTextLength = 4;
  BuildFormulaCell(record, sizeof record, kMaxRow - 2, kMaxColumn - 1, fields);
  AddCell(second, record);
  book->evaluator.owner = book.get();
  book->evaluator.sheet = &second->cells;
  return book;
}

using xmldoc::LoadXmlText;
using xmldoc::SaveXmlText;

// Type, place, values and texts of every cell, in storage order.
std::string CellsOf(const CWorkSheet& sheet) {
  std::string out;
  char line[128];
  for (const CellBlock* block = sheet.cells.FirstBlock(); block; block = block->next)
    for (uint32_t offset = 0; offset < block->used;) {
      const CellRecord* cell = AsCellRecord(block->payload + offset);
      std::snprintf(line, sizeof line, "%02x %u %u|", cell->Type(), unsigned(cell->Row()), unsigned(cell->Column()));
      out += line;
      if (cell->IsText()) {
        out.append(cell->Text(), cell->TextLength());
      } else if (cell->IsNumber()) {
        out.append(reinterpret_cast<const char*>(cell->Bytes() + 7), 8);
      } else {
        std::snprintf(line, sizeof line, "%u %u %02x ", unsigned(cell->ArrayColumns()), unsigned(cell->ArrayRows()),
                      cell->ResultFlags() & 7);
        out += line;
        out.append(cell->FormulaText(), cell->FormulaLength());
        double cached = cell->CachedNumber();
        out.append(reinterpret_cast<const char*>(&cached), 8);
        if (cell->HasCachedText())
          out.append(cell->CachedText(), cell->CachedTextLength());
      }
      out += "\n";
      offset += cell->Size();
    }
  return out;
}

void ExpectSameBooks(const CWorkBook& a, const CWorkBook& b) {
  EXPECT_STREQ(a.lastModification.user, b.lastModification.user);
  EXPECT_STREQ(a.lastModification.date, b.lastModification.date);
  EXPECT_EQ(0, std::memcmp(&a.panes, &b.panes, sizeof a.panes));
  for (uint32_t i = 0; i < kDropDownListCount; ++i) {
    EXPECT_STREQ(a.dropDownLists[i].name, b.dropDownLists[i].name);
    const DropDownEntry* x = a.dropDownLists[i].entries;
    const DropDownEntry* y = b.dropDownLists[i].entries;
    for (; x && y; x = x->next, y = y->next) EXPECT_STREQ(x->text, y->text);
    EXPECT_TRUE(!x && !y);
  }
  ASSERT_EQ(a.worksheetCount, b.worksheetCount);
  ASSERT_EQ(a.folderCount, b.folderCount);
  EXPECT_EQ(a.IndexOfItem(a.activeWorksheet), b.IndexOfItem(b.activeWorksheet));
  const CTreeItem* x = a.firstItem;
  const CTreeItem* y = b.firstItem;
  for (; x && y; x = x->next, y = y->next) {
    EXPECT_STREQ(x->name, y->name);
    EXPECT_EQ(x->depth, y->depth);
    EXPECT_EQ(x->kind, y->kind);
    if (x->IsFolder())
      EXPECT_EQ(x->flag, y->flag);
    else
      EXPECT_EQ(CellsOf(*CWorkSheet::FromItem(x)), CellsOf(*CWorkSheet::FromItem(y)));
  }
  EXPECT_TRUE(!x && !y);
}

TEST(NativeXml, WorkbookReadsBackAsSavedPlainAndGzip) {
  auto book = MakeBook();
  uint8_t error = 0xFF;
  const std::string text = SaveXmlText(book.get(), &error);
  ASSERT_EQ(error, 0);
  auto loaded = LoadXmlText(text, &error);
  ASSERT_EQ(error, 0) << text;
  ExpectSameBooks(*book, *loaded);
  char message[256];
  EXPECT_TRUE(loaded->CheckTreeInvariants(message, sizeof message)) << message;

  gzFile gz = gzopen("files_native_xml.gz.tmp", "wb");
  gzwrite(gz, text.data(), unsigned(text.size()));
  gzclose(gz);
  auto unzipped = LoadXmlText(filetest::ReadAll("files_native_xml.gz.tmp"), &error);
  ASSERT_EQ(error, 0);
  ExpectSameBooks(*book, *unzipped);

  // The same workbook written again is the same document.
  EXPECT_EQ(SaveXmlText(loaded.get(), &error), text);

  EXPECT_TRUE(xmldoc::WellFormed(text));
}

// Every text a cell holds reads back byte for byte: each of the 256 byte
// values, NUL included; blanks across the pieces a long text is written
// in; the longest text a record of the store takes, plainly and escaped.
TEST(NativeXml, EveryCellTextReadsBackByteForByte) {
  std::string everyByte;
  for (int i = 0; i < 8173; ++i) everyByte.push_back(char(i % 256));
  const std::string texts[] = {everyByte, std::string(8173, ' '), std::string(8173, '"'), std::string("a\0b", 3),
                               std::string(1, '\0'), "\t\r\n\x01\x1F\x7F\x80\xFF"};
  auto book = std::make_unique<CWorkBook>();
  ASSERT_TRUE(book->NewDocument());
  static uint8_t record[8192];
  uint32_t row = 0;
  for (const std::string& text : texts) {
    ASSERT_NE(BuildTextCell(record, sizeof record, row, 0, text.data(), uint16_t(text.size())), 0u);
    AddCell(book->activeWorksheet, record);
    FormulaCellFields fields;
    fields.formula = "=\"a\0b\"";
    fields.formulaLength = 6;
    fields.cachedText = text.data();
    fields.cachedTextLength = uint16_t(text.size() < 8000 ? text.size() : 8000);
    ASSERT_NE(BuildFormulaCell(record, sizeof record, row, 1, fields), 0u);
    AddCell(book->activeWorksheet, record);
    ++row;
  }
  uint8_t error = 0xFF;
  const std::string xml = SaveXmlText(book.get(), &error);
  ASSERT_EQ(error, 0);
  uint32_t line = 0;
  auto loaded = LoadXmlText(xml, &error, &line);
  ASSERT_EQ(error, 0) << xmldoc::LineOf(xml, line).substr(0, 200);
  EXPECT_EQ(CellsOf(*loaded->activeWorksheet), CellsOf(*book->activeWorksheet));
}

// What a workbook holds before a load that adds to it: the lists, the
// styles and the inspect cells a load appends to, and the fields it sets.
void PrepareForLoad(CWorkBook* book) {
  std::snprintf(book->lastModification.user, sizeof book->lastModification.user, "before");
  book->panes = PaneLayout{1, 2, 3, 4};
  std::snprintf(book->dropDownLists[6].name, sizeof book->dropDownLists[6].name, "Kept");
  book->dropDownLists[6].AppendEntry("kept item");
  uint8_t record[kInspectCellRecordSize] = {7};
  book->inspectCells.Append(record);
  book->evaluator.row = 9;
  book->evaluator.column = 8;
}

// A load that fails part-way, wherever it fails, leaves the workbook as it
// was: the document cut short at every few bytes, and whole but for an
// unknown element before its end.
TEST(NativeXml, AFailedLoadLeavesTheWorkbookAsItWas) {
  auto source = MakeBook();
  FontRecord font{};
  std::snprintf(font.faceName, sizeof font.faceName, "Courier");
  uint8_t fontIndex = 0;
  source->styles.FindOrAddFont(font, &fontIndex);
  StyleRecord style = StyleRecord::Default();
  style.fontIndex = fontIndex;
  uint16_t styleIndex = 0;
  source->styles.FindOrAddStyle(style, &styleIndex);
  uint8_t record[kInspectCellRecordSize] = {};
  source->inspectCells.Append(record);
  uint8_t error = 0;
  const std::string text = SaveXmlText(source.get(), &error);
  ASSERT_EQ(error, 0);
  std::vector<std::string> documents;
  for (size_t length = 1; length < text.size(); length += 23) documents.push_back(text.substr(0, length));
  documents.push_back(text);
  documents.back().insert(text.rfind("</Workbook>"), "<Unknown/>");
  auto expected = std::make_unique<CWorkBook>();
  PrepareForLoad(expected.get());
  const std::string path = xmldoc::OwnPath("failed");
  for (const std::string& document : documents) {
    ASSERT_TRUE(filetest::WriteAll(path, document));
    auto book = std::make_unique<CWorkBook>();
    PrepareForLoad(book.get());
    ASSERT_TRUE(book->bufferedFile.Open(path.c_str(), "rb"));
    ASSERT_FALSE(LoadXml(book.get())) << document.size();
    EXPECT_NE(book->error, 0);
    EXPECT_EQ(sample::Difference(*book, *expected), "") << document.size();
    EXPECT_EQ(book->evaluator.row, 9u);
    EXPECT_EQ(book->evaluator.column, 8);
  }
  // Whole, the document adds to what the workbook held.
  ASSERT_TRUE(filetest::WriteAll(path, text));
  auto book = std::make_unique<CWorkBook>();
  PrepareForLoad(book.get());
  ASSERT_TRUE(book->bufferedFile.Open(path.c_str(), "rb"));
  ASSERT_TRUE(LoadXml(book.get())) << int(book->error);
  ASSERT_EQ(book->inspectCells.Count(), 2u);
  EXPECT_EQ(book->inspectCells.At(0)[0], 7);
  EXPECT_EQ(book->dropDownLists[6].EntryCount(), 3u);
  EXPECT_STREQ(book->dropDownLists[6].entries->text, "kept item");
}

TEST(NativeXml, FormulaWithoutResultIsWrittenWithZeroAndReadAsUncalculated) {
  auto book = MakeBook();
  uint8_t record[256];
  FormulaCellFields fields;
  fields.formula = "=1";
  fields.formulaLength = 2;
  BuildFormulaCell(record, sizeof record, 40, 0, fields);
  AddCell(book->activeWorksheet, record);
  uint8_t error;
  const std::string text = SaveXmlText(book.get(), &error);
  ASSERT_EQ(error, 0);
  EXPECT_NE(text.find("<F>=1</F><N>0</N>"), std::string::npos);
  auto loaded = LoadXmlText(text, &error);
  EXPECT_EQ(error, 0);
}

using xmldoc::Document;

std::string Repeat(const std::string& text, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += text;
  return out;
}

TEST(NativeXml, ReaderRulesTable) {
  struct Case {
    std::string document;
    int error;
  };
  const Case cases[] = {
      {Document("<Cells><Cell rc=\"r1c1\"><N>1</N></Cell></Cells>"), 0},
      {Document("<Cells><Cell rc=\"r1c1\"><F>=1</F></Cell></Cells>"), 0},  // older files: no result
      {Document("<Cells><Cell rc=\"r2097152c2047\"><N>1</N></Cell></Cells>"), 0},
      {Document("<Cells><Cell rc=\"r2097153c1\"><N>1</N></Cell></Cells>"), kFileXmlBadAttribute},
      {Document("<Cells><Cell rc=\"r1c2048\"><N>1</N></Cell></Cells>"), kFileXmlBadAttribute},
      {Document("<Cells><Cell rc=\"r1c1\"><N>1</N></Cell><Cell rc=\"rc3000\"><N>1</N></Cell></Cells>"),
       kFileXmlBadAttribute},
      {Document("<Cells><Cell rc=\"r2097150c1\"><F Height=\"3\">=1</F><N>1</N></Cell></Cells>"), 0},
      {Document("<Cells><Cell rc=\"r2097150c1\"><F Height=\"4\">=1</F><N>1</N></Cell></Cells>"), kFileXmlBadAttribute},
      {Document("<Cells><Cell rc=\"r1c2046\"><F Width=\"3\">=1</F><N>1</N></Cell></Cells>"), kFileXmlBadAttribute},
      {Document("<Cells><Cell rc=\"r2c1\"><N>1</N></Cell><Cell rc=\"r1c1\"><N>1</N></Cell></Cells>"),
       kFileXmlBadAttribute},
      {Document("<Cells><Cell rc=\"r1c1\"></Cell></Cells>"), kFileXmlUnexpectedElement},
      {Document("<Cells><Cell rc=\"r1c1\"/></Cells>"), kFileXmlUnexpectedElement},
      {Document("<Cells><Cell><N>1</N></Cell></Cells>"), kFileXmlMissingAttribute},
      {Document("<Cells><Cell rc=\"r1c1\"><N>1e999</N></Cell></Cells>"), kFileXmlBadData},
      // Texts as long as a cell of the store holds: one record filling a block.
      {Document("<Cells><Cell rc=\"r1c1\"><T>" + std::string(8173, 'x') + "</T></Cell></Cells>"), 0},
      {Document("<Cells><Cell rc=\"r1c1\"><T>" + std::string(8174, 'x') + "</T></Cell></Cells>"), kFileXmlBadData},
      {Document("<Cells><Cell rc=\"r1c1\"><T>" + Repeat("&quot;", 8173) + "</T></Cell></Cells>"), 0},
      {Document("<Cells><Cell rc=\"r1c1\"><F>=1</F><T>" + std::string(8182 - 35 - 2 - 2, 'x') +
                "</T></Cell></Cells>"),
       0},
      {Document("<Cells><Cell rc=\"r1c1\"><F>=1</F><T>" + std::string(8182 - 35 - 2 - 1, 'x') +
                "</T></Cell></Cells>"),
       kFileXmlBadData},
      {Document("<Cells><Cell rc=\"r1c1\"><F>" + std::string(1025, '1') + "</F><N>1</N></Cell></Cells>"),
       kFileXmlBadData},
      {Document("<Cells><Cell rc=\"r1c1\"><Error>#N/A!</Error></Cell></Cells>"), 0},
      {Document("<Cells><Cell rc=\"r1c1\"><Error>#OOPS</Error></Cell></Cells>"), kFileXmlBadData},
      {Document("<Container ID=\"1\"></Container>"), 0},
      {Document("<Formatting/>"), kFileXmlUnexpectedElement},
      {"<?xml version=\"1.0\"?><Workbook></Workbook>", kFileNoWorksheet},
      {"\xFF\xFE<", kFileOnlyUtf8},
      {"\xEF\xBB\xBF" + Document(""), 0},
      {Document("", "<DropDownLists><List><Name>x</Name></List></DropDownLists>"), kFileXmlMissingAttribute},
      {Document("", "<DropDownLists><List ID=\"101\"></List></DropDownLists>"), kFileXmlBadData},
      {Document("", "<InspectCells><Cell rc=\"r[1]c1\"/></InspectCells>"), kFileXmlBadAttribute},
      {Document("", "<InspectCells><Cell rc=\"r2097153c1\"/></InspectCells>"), kFileXmlBadAttribute},
      {Document("", "<Window></Window><Unknown/>"), kFileXmlUnexpectedElement},
      {Document("", "<Folder Name=\"" + std::string(128, 'n') + "\"/>"), kFileXmlBadAttribute},
  };
  for (const Case& c : cases) {
    uint8_t error = 0;
    LoadXmlText(c.document, &error);
    EXPECT_EQ(error, c.error) << c.document.substr(0, 200);
  }
}

TEST(NativeXml, TreeLevelsAreBroughtWithinTheTreeRule) {
  const std::string text =
      "<?xml version=\"1.0\"?><Workbook><Folder Name=\"F\" TreeLevel=\"9\"/><Worksheet TreeLevel=\"7\"></Worksheet>"
      "<Worksheet Name=\"b\" TreeLevel=\"65534\" Selected=\"1\"></Worksheet><Folder/><Worksheet TreeLevel=\"1\">"
      "</Worksheet></Workbook>";
  uint8_t error;
  auto book = LoadXmlText(text, &error);
  ASSERT_EQ(error, 0);
  char message[256];
  EXPECT_TRUE(book->CheckTreeInvariants(message, sizeof message)) << message;
  const uint16_t depths[] = {1, 2, 2, 1, 1};
  const char* names[] = {"F", "Worksheet1", "b", "Folder2", "Worksheet3"};
  int i = 0;
  for (const CTreeItem* item = book->firstItem; item; item = item->next, ++i) {
    EXPECT_EQ(item->depth, depths[i]) << i;
    EXPECT_STREQ(item->name, names[i]);
  }
  EXPECT_STREQ(book->activeWorksheet->name, "b");
}

// Files of older writers hold formulas without results, an array formula
// perhaps with its extent but without its values: one recalculation after
// loading gives the formula before it (J1 =K3) the value K2 spills.
TEST(NativeXml, ArrayFormulasWithoutResultsGiveTheirReadersTheirValuesInOnePass) {
  for (const char* extent : {"", " Height=\"2\""}) {
    SCOPED_TRACE(extent);
    const std::string text = Document(std::string("<Cells><Cell rc=\"r1c10\"><F>=R[2]C[1]</F></Cell>") +
                                      "<Cell rc=\"r2c11\"><F" + extent + ">={7;8}</F></Cell></Cells>");
    uint8_t error = 0xFF;
    auto book = LoadXmlText(text, &error);
    ASSERT_EQ(error, 0);
    ASSERT_TRUE(book->Recalculate(nullptr));
    const CellRecord* reader = book->activeWorksheet->cells.GetCell(0, 9);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->ErrorCode(), 0);
    EXPECT_EQ(reader->CachedNumber(), 8);
  }
}

}  // namespace
