// What only the server's own process can watch of a Workbook object: the
// formats each FORMAT_TYPES value leaves in the style table, the save-format
// option, the wait before a wrong password's answer, and the pages the test
// printer spools.

#include "automation/objects/aworkbook_win32.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "files/dispatch/document_file.h"
#include "files/dispatch/native_kind.h"
#include "services/settings/global_options.h"
#include "tests/view/printing/test_printer_win32.h"

namespace {

std::string TemporaryPath(const char* name) {
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  return std::string(folder) + name;
}

struct Text {
  explicit Text(const std::string& text) : bstr(SysAllocString(std::wstring(text.begin(), text.end()).c_str())) {}
  ~Text() { SysFreeString(bstr); }
  operator BSTR() const { return bstr; }
  BSTR bstr;
};

VARIANT Number(double number) {
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_R8;
  V_R8(&value) = number;
  return value;
}

// The first bytes of a file the document no longer holds.
std::string FileStart(const std::string& path, size_t count) {
  std::string bytes(count, '\0');
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return "";
  bytes.resize(std::fread(&bytes[0], 1, count, file));
  std::fclose(file);
  return bytes;
}

std::vector<DWORD> g_delays;
void RecordDelay(DWORD milliseconds) { g_delays.push_back(milliseconds); }

class WorkbookInProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    SetDefaultOptions(Options);
    ASSERT_EQ(CreateObjectOf<CAWorkbook>(IID_IWorksheet, reinterpret_cast<void**>(&sheet)), S_OK);
    book = static_cast<CAWorkbook*>(sheet);
    ASSERT_EQ(sheet->NewDocument(), S_OK);
  }
  void TearDown() override {
    sheet->Release();
    CAWorkbook::SetPasswordDelayForTesting(nullptr);
    CoUninitialize();
  }
  const StyleRecord& StyleOfRow(uint32_t row) {
    return book->styles.StyleAt(book->activeWorksheet->format.CellStyle(row, 0));
  }
  uint16_t RowHeight(uint32_t row) {
    const uint16_t* record = book->activeWorksheet->format.rows.At(row);
    return record ? static_cast<uint16_t>((*record & RowTable::kHeightMask) >> RowTable::kHeightShift) : 0;
  }

  IWorksheet* sheet = nullptr;
  CAWorkbook* book = nullptr;
};

// Row r is formatted with type r + 1; type 18 changes nothing, 19 fills.
TEST_F(WorkbookInProcess, EveryFormatTypeSetsItsAttributeOnItsRectangleOnly) {
  IFormatInfo* info = nullptr;
  ASSERT_EQ(sheet->CreateFormatInfo(&info), S_OK);
  info->put_fontSize(20);
  info->put_boldFont(1);
  info->put_styleID(kNumFormatPercent);
  info->put_fillType(1);
  info->put_fillPatternColor(0x00FF00);
  info->put_borderPosition(1);
  for (int type = 1; type <= 19; ++type)
    ASSERT_EQ(sheet->format(Text("$A$" + std::to_string(type)), type, info), S_OK) << type;
  const FontRecord& sized = book->styles.FontAt(StyleOfRow(2).fontIndex);
  const FontRecord& whole = book->styles.FontAt(StyleOfRow(9).fontIndex);
  EXPECT_EQ(StyleOfRow(0).numFormat.category, kNumFormatPercent);
  EXPECT_EQ(StyleOfRow(1).numFormat.category, kNumFormatPercent);
  EXPECT_EQ(sized.size, 20);
  EXPECT_EQ(sized.weight, kFontWeightNormal);
  EXPECT_EQ(whole.size, 20);
  EXPECT_EQ(whole.weight, kFontWeightBold);
  EXPECT_EQ(StyleOfRow(16).borders.sides, 1);
  // 18 is the outline kind, which changes no cell; 19 the fill kind.
  EXPECT_EQ(book->activeWorksheet->format.CellStyle(17, 0), 0);
  EXPECT_EQ(StyleOfRow(18).interior.pattern, 1);
  EXPECT_EQ(StyleOfRow(18).interior.patternColor, 0x00FF00u);
  for (uint32_t row = 0; row < 19; ++row) EXPECT_EQ(book->activeWorksheet->format.CellStyle(row, 1), 0) << row;
  // Bigger letters make their row taller.
  EXPECT_GT(RowHeight(2), RowHeight(0));
  // A style id past the categories formats nothing; a type past the kinds is refused.
  info->put_styleID(11);
  EXPECT_EQ(sheet->format(Text("$B$1"), 1, info), S_OK);
  EXPECT_EQ(book->activeWorksheet->format.CellStyle(0, 1), 0);
  EXPECT_EQ(sheet->format(Text("$A$1"), 20, info), E_INVALIDARG);
  EXPECT_EQ(sheet->format(Text("$A$1"), 3, nullptr), E_FAIL);
  info->Release();
}

TEST_F(WorkbookInProcess, AProtectedWorkbookIsSavedAsBinaryEvenWhenTheOptionSaysXml) {
  Options.SaveFormat = kSaveFormatXml;
  const std::string path = TemporaryPath("talvero_protected.tlv");
  // A password the workbook cannot keep whole would never open the file.
  EXPECT_EQ(sheet->SetProtection(Text(std::string(kWorkbookPasswordSize, 'p')), 0), E_INVALIDARG);
  EXPECT_EQ(book->protectionMode, 0);
  ASSERT_EQ(sheet->PutValue(Text("$A$1"), Number(42)), S_OK);
  const struct {
    const char* password;
    bool save;
    const char* start;
  } steps[] = {{"", false, "<?xml"}, {"secret", false, "\x1F\x8B"}, {"secret", true, "\x1F\x8B"}};
  for (const auto& step : steps) {
    // A document of a foreign kind takes the option's format.
    book->sourceFormat = kFormatText;
    ASSERT_EQ(sheet->SetProtection(Text(step.password), 0), S_OK);
    ASSERT_EQ(sheet->SaveAs(Text(path)), S_OK);
    if (step.save) {
      book->saveKind = kNativeXmlPlain;
      ASSERT_EQ(sheet->Save(), S_OK);
    }
    // The document holds its file shut to others.
    book->bufferedFile.Close();
    EXPECT_EQ(FileStart(path, std::string(step.start).size()), step.start) << step.save;
  }
  DeleteFileA(path.c_str());
}

// A file the user has open in a document is held shut: a client saving onto
// it is told the file cannot be opened for writing, the user's file stays
// as it was, and the client's document stays on its own file.
TEST_F(WorkbookInProcess, SavingOntoAFileTheUserHasOpenCannotOpenItForWriting) {
  const std::string path = TemporaryPath("talvero_held_by_user.tlv");
  const std::string own = TemporaryPath("talvero_client_own.tlv");
  ASSERT_EQ(sheet->PutValue(Text("$A$1"), Number(1)), S_OK);
  ASSERT_EQ(sheet->SaveAs(Text(path)), S_OK);
  book->bufferedFile.Close();
  const std::string before = FileStart(path, 4096);
  ASSERT_FALSE(before.empty());
  CWorkBook user;
  ASSERT_TRUE(OpenDocumentFile(&user, path.c_str()));

  ASSERT_EQ(sheet->SaveAs(Text(own)), S_OK);
  ASSERT_EQ(sheet->PutValue(Text("$A$1"), Number(2)), S_OK);
  const HRESULT cannotOpenForWriting = static_cast<HRESULT>(0x80040023);
  EXPECT_EQ(sheet->SaveAs(Text(path)), cannotOpenForWriting);
  IErrorInfo* info = nullptr;
  ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
  BSTR description = nullptr;
  info->GetDescription(&description);
  EXPECT_STREQ(description, L"Can't open the specified file for writing");
  SysFreeString(description);
  info->Release();
  EXPECT_EQ(sheet->SaveAsExcelFile(Text(path)), cannotOpenForWriting);
  EXPECT_EQ(book->sourceFormat, kFormatNative);
  EXPECT_STREQ(book->bufferedFile.path, own.c_str());

  user.bufferedFile.Close();
  EXPECT_EQ(FileStart(path, 4096), before);
  EXPECT_EQ(GetFileAttributesA((path + ".~0").c_str()), INVALID_FILE_ATTRIBUTES);
  book->bufferedFile.Close();
  DeleteFileA(path.c_str());
  DeleteFileA(own.c_str());
}

TEST_F(WorkbookInProcess, AWrongPasswordWaitsAndLeavesNothingOfTheFile) {
  CAWorkbook::SetPasswordDelayForTesting(RecordDelay);
  g_delays.clear();
  const std::string path = TemporaryPath("talvero_password.tlv");
  ASSERT_EQ(sheet->PutValue(Text("$A$1"), Number(7)), S_OK);
  ASSERT_EQ(sheet->SetProtection(Text("secret"), 1), S_OK);
  ASSERT_EQ(sheet->SaveAs(Text(path)), S_OK);

  EXPECT_EQ(sheet->Load(Text(path), Text("wrong!"), 0, nullptr, nullptr), static_cast<HRESULT>(0x8004001A));
  EXPECT_EQ(g_delays, std::vector<DWORD>{2000});
  VARIANT value;
  EXPECT_EQ(sheet->GetValue(Text("$A$1"), &value), static_cast<HRESULT>(0x8004000D));
  EXPECT_EQ(sheet->Save(), S_FALSE);

  // Without a password only the values come, read-only.
  ASSERT_EQ(sheet->Load(Text(path), nullptr, 0, nullptr, nullptr), S_OK);
  ASSERT_EQ(sheet->GetValue(Text("$A$1"), &value), S_OK);
  EXPECT_EQ(V_R8(&value), 7.0);
  EXPECT_EQ(sheet->Save(), S_FALSE);
  EXPECT_EQ(sheet->SetProtection(nullptr, 0), S_FALSE);
  ASSERT_EQ(sheet->Load(Text(path), Text("secret"), 0, nullptr, nullptr), S_OK);
  BSTR password = nullptr;
  LONG allowReadOnly = 0;
  ASSERT_EQ(sheet->GetProtection(&password, &allowReadOnly), S_OK);
  EXPECT_STREQ(password, L"secret");
  EXPECT_EQ(allowReadOnly, 1);
  SysFreeString(password);
  EXPECT_EQ(g_delays.size(), 1u);
  book->bufferedFile.Close();
  DeleteFileA(path.c_str());
}

TEST_F(WorkbookInProcess, TheTestPrinterSpoolsTheSheetsOfTheSelection) {
  std::string failure;
  ASSERT_TRUE(EnsureTestPrinter(&failure)) << failure;
  const std::string output = TemporaryPath("talvero_automation_print.ps");
  SetPrintJobOutputForTesting(output.c_str());
  // Rows so tall that each fills a page of the test printer.
  for (uint32_t row = 0; row < 5; ++row) {
    ASSERT_TRUE(book->activeWorksheet->format.rows.SetRow(row, 600, true));
    ASSERT_EQ(sheet->PutValue(Text("$A$" + std::to_string(row + 1)), Number(row)), S_OK);
  }
  const struct {
    const char* what;
    uint8_t across;
    int pages;  // -1: nothing spooled
  } cases[] = {{"none", 1, -1}, {"all", 1, 5}, {"all", 2, 3}, {"$A$1:$A$2", 1, 2}, {"2-3", 1, 2}};
  for (const auto& c : cases) {
    std::remove(output.c_str());
    const std::string what = c.what;
    NoDefaultPrinter* none = what == "none" ? new NoDefaultPrinter : nullptr;
    if (none == nullptr) {
      ASSERT_TRUE(SetDefaultPrinterA(kTestPrinter));
    }
    book->activeWorksheet->pageSettings.pagesPerSheetColumns = c.across;
    const HRESULT printed = what == "all" || what == "none" ? sheet->PrintAll()
                            : what[0] == '$'                ? sheet->PrintRange(Text(what))
                                                            : sheet->PrintPages(Text(what));
    delete none;
    EXPECT_EQ(printed, c.pages < 0 ? S_FALSE : S_OK) << c.what;
    EXPECT_EQ(CountPostScriptPages(output), c.pages) << c.what << " " << int(c.across);
  }
  // The selection stays in the page settings, and the page list is freed.
  EXPECT_EQ(book->activeWorksheet->pageSettings.printRangeKind, kPrintPageList);
  EXPECT_EQ(book->pageList.Count(), 0u);
  EXPECT_EQ(sheet->PrintRange(Text("A1:D20")), E_INVALIDARG);
  SetPrintJobOutputForTesting(nullptr);
  std::remove(output.c_str());
}

}  // namespace
