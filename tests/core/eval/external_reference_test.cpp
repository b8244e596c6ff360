#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "core/eval/external_reference.h"
#include "core/base/global_options.h"
#include "core/workbook/open_document_table.h"
#include "core/numfmt/regional_settings.h"
#include "core/workbook/workbook.h"
#include "tests/core/eval_test_cells.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

// Book1: Worksheet1, Sheet2, folder Folder holding Inner1, Sub (a folder)
// and Inner2. Book2 (open as "Book2.tlv"): Worksheet1 and folder Data
// holding D1 and D2.
class QualifiedReferences : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    ASSERT_TRUE(book1.NewDocument());
    CWorkSheet* sheet2 = NewWorksheet("Sheet2", 1);
    book1.InsertItems(sheet2, nullptr);
    CTreeItem* folder = NewFolderItem("Folder", 1);
    book1.InsertItems(folder, nullptr);
    CWorkSheet* inner1 = NewWorksheet("Inner1", 1);
    book1.InsertItems(inner1, folder);
    book1.InsertItems(NewFolderItem("Sub", 1), folder);
    CWorkSheet* inner2 = NewWorksheet("Inner2", 1);
    book1.InsertItems(inner2, folder);
    PutNumber(book1.activeWorksheet->cells, 0, 0, 5);  // Worksheet1!A1
    PutText(sheet2->cells, 0, 0, "two");               // Sheet2!A1
    PutNumber(inner1->cells, 0, 0, 11);                // Inner1!A1:B1
    PutNumber(inner1->cells, 1, 0, 12);
    PutNumber(inner2->cells, 0, 0, 21);  // Inner2!A1

    ASSERT_TRUE(book2.NewDocument());
    PutNumber(book2.activeWorksheet->cells, 0, 0, 100);  // [Book2.tlv]Worksheet1!A1
    PutText(book2.activeWorksheet->cells, 1, 0, "text in book 2");
    CTreeItem* data = NewFolderItem("Data", 1);
    book2.InsertItems(data, nullptr);
    CWorkSheet* d1 = NewWorksheet("D1", 1);
    book2.InsertItems(d1, data);
    CWorkSheet* d2 = NewWorksheet("D2", 1);
    book2.InsertItems(d2, data);
    PutNumber(d1->cells, 0, 0, 1);
    PutNumber(d2->cells, 0, 0, 2);
    ASSERT_TRUE(RegisterOpenDocument(&book2, nullptr, "Book2.tlv"));
  }
  void TearDown() override {
    UnregisterOpenDocument(&book2);
    ResetGlobalOptions();
  }

  // A display formula evaluated in Book1's Worksheet1 at E5: a number or
  // text as text, an array as a constant, else the error's name.
  std::string Run(const char* display) {
    char text[kFormulaTextCapacity + 1];
    std::strcpy(text, display);
    EXPECT_TRUE(book1.evaluator.TranslateFormula(text, sizeof text, 4, 4, true)) << display;
    EvalState& state = book1.evaluator;
    const uint32_t kind = state.Evaluate(text, 4, 4);
    char message[200] = "";
    EXPECT_TRUE(state.CheckStackOwnership(message, sizeof message)) << display << ": " << message;
    const EvalValue& result = state.operands[1];
    if (kind == 0) return "SYNTAX";
    if (result.error != kErrorNone) return ErrorName(static_cast<uint8_t>(result.error));
    if (kind == kEvalText) return state.strings.Top();
    if (kind == kEvalArray) return TopArrayText(state, result);
    char number[32];
    std::snprintf(number, sizeof number, "%g", result.number);
    return number;
  }

  CWorkBook book1;
  CWorkBook book2;
};

TEST_F(QualifiedReferences, WorksheetsAndFoldersOfTheSameWorkbook) {
  const struct {
    const char* formula;
    const char* result;
  } cases[] = {
      {"=Sheet2!A1", "two"},
      {"=sheet2!A1&'!'", "two!"},
      {"='\\Sheet2'!A1", "two"},
      {"='Folder\\Inner2'!A1", "21"},
      {"=Worksheet1!A1+1", "6"},
      {"='Nope'!A1", "#NAME?"},
      // A folder stacks the reference from each item it holds; the
      // sub-folder takes its place without cells.
      {"=Folder!A1", "{11; ; 21}"},
      {"=Folder!A1:B1", "{11, 12; , ; 21, }"},
      {"=Folder!A1*2", "{22; 0; 42}"},
      {"='Folder\\Sub'!A1", "{}"},
  };
  for (const auto& c : cases) EXPECT_EQ(Run(c.formula), c.result) << c.formula;
}

TEST_F(QualifiedReferences, OtherOpenWorkbooks) {
  const struct {
    const char* formula;
    const char* result;
  } cases[] = {
      {"='[Book2.tlv]Worksheet1'!A1", "100"},
      {"='[BOOK2.TLV]worksheet1'!A1+1", "101"},
      {"='[Book2.tlv]Worksheet1'!B1", "text in book 2"},
      {"='<'&'[Book2.tlv]Worksheet1'!B1", "<text in book 2"},
      {"='[Book2.tlv]Worksheet1'!A1:B1", "{100, \"text in book 2\"}"},
      {"='[Book2.tlv]\\Worksheet1'!A1", "100"},
      {"='[Book2.tlv]Data'!A1", "{1; 2}"},
      {"='[Book2.tlv]Data\\D2'!A1", "2"},
      {"='[Book2.tlv]Nope'!A1", "#REF!"},
      {"='[Book3.tlv]Worksheet1'!A1", "#REF!"},
      {"='[]Worksheet1'!A1", "#REF!"},
      {"='[Book2.tlv'!A1", "#REF!"},
  };
  for (const auto& c : cases) EXPECT_EQ(Run(c.formula), c.result) << c.formula;
}

TEST_F(QualifiedReferences, AClosedWorkbookIsARefError) {
  EXPECT_EQ(Run("='[Book2.tlv]Worksheet1'!A1"), "100");
  UnregisterOpenDocument(&book2);
  EXPECT_EQ(Run("='[Book2.tlv]Worksheet1'!A1"), "#REF!");
  ASSERT_TRUE(RegisterOpenDocument(&book2, nullptr, "Renamed.tlv"));
  EXPECT_EQ(Run("='[Renamed.tlv]Worksheet1'!A1"), "100");
  ASSERT_TRUE(RenameOpenDocument(&book2, "Book2.tlv"));
  EXPECT_EQ(Run("='[Book2.tlv]Worksheet1'!A1"), "100");
  // The other workbook is read, never changed.
  EXPECT_TRUE(book2.CheckTreeInvariants());
  EXPECT_EQ(book2.activeWorksheet->cells.GetCell(0, 0)->Number(), 100);
}

TEST(OpenDocumentTable, SixteenSlotsFirstMatchWins) {
  // Workbooks are large: they live on the heap.
  std::vector<std::unique_ptr<CWorkBook>> books;
  for (uint32_t i = 0; i <= kOpenDocumentSlots; ++i) books.push_back(std::make_unique<CWorkBook>());
  for (uint32_t i = 0; i < kOpenDocumentSlots; ++i)
    ASSERT_TRUE(RegisterOpenDocument(books[i].get(), nullptr, i < 2 ? "same.tlv" : "other.tlv"));
  EXPECT_FALSE(RegisterOpenDocument(books[kOpenDocumentSlots].get(), nullptr, "x.tlv"));
  EXPECT_EQ(FindOpenDocument("SAME.TLV"), books[0].get());
  EXPECT_EQ(FindOpenDocument(""), nullptr);
  EXPECT_EQ(FindOpenDocument("same"), nullptr);
  UnregisterOpenDocument(books[0].get());
  EXPECT_EQ(FindOpenDocument("same.tlv"), books[1].get());
  EXPECT_TRUE(RegisterOpenDocument(books[kOpenDocumentSlots].get(), nullptr, "x.tlv"));
  for (auto& book : books) UnregisterOpenDocument(book.get());
  EXPECT_EQ(FindOpenDocument("x.tlv"), nullptr);
}

}  // namespace
