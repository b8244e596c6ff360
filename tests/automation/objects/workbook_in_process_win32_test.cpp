// What only the server's own process can watch of a Workbook object: the
// formats each FORMAT_TYPES value leaves in the style table, the save
// format option, the wait before a wrong password's answer, and the pages
// the test printer spools.

#include "automation/objects/aworkbook_win32.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "automation/objects/format_info_win32.h"
#include "automation/worksheet/format_request.h"
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
  explicit Text(const std::string& text) {
    const std::wstring wide(text.begin(), text.end());
    bstr = SysAllocString(wide.c_str());
  }
  ~Text() { SysFreeString(bstr); }
  operator BSTR() const { return bstr; }
  BSTR bstr;
};

// The first bytes of a file; empty when it cannot be read.
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
    SetPrintJobOutputForTesting(nullptr);
    CoUninitialize();
  }
  uint16_t RowHeight(uint32_t row) {
    const uint16_t* record = book->activeWorksheet->format.rows.At(row);
    return record ? static_cast<uint16_t>((*record & RowTable::kHeightMask) >> RowTable::kHeightShift) : 0;
  }
  const StyleRecord& StyleAt(uint32_t row, uint16_t column) {
    return book->styles.StyleAt(book->activeWorksheet->format.CellStyle(row, column));
  }

  IWorksheet* sheet = nullptr;
  CAWorkbook* book = nullptr;
};

TEST_F(WorkbookInProcess, EveryFormatTypeSetsItsAttributeAndOnlyThat) {
  IFormatInfo* info = nullptr;
  ASSERT_EQ(sheet->CreateFormatInfo(&info), S_OK);
  info->put_fontSize(20);
  info->put_boldFont(1);
  info->put_fontColor(0x0000FF);
  info->put_styleID(kNumFormatPercent);
  info->put_fillType(1);
  info->put_fillPatternColor(0x00FF00);
  info->put_borderType(2);
  info->put_borderPosition(1);
  Text name("Courier New");
  info->put_fontName(name);
  for (int type = 1; type <= kLastFormatType; ++type) {
    const std::string cell = "$A$" + std::to_string(type);
    ASSERT_EQ(sheet->format(Text(cell), type, info), S_OK) << type;
    const uint32_t row = static_cast<uint32_t>(type - 1);
    const StyleRecord& style = StyleAt(row, 0);
    const FontRecord& font = book->styles.FontAt(style.fontIndex);
    switch (type) {
      case 1:
      case 2:
        EXPECT_EQ(style.numFormat.category, kNumFormatPercent) << type;
        break;
      case 3:
        EXPECT_EQ(font.size, 20);
        break;
      case 4:
        EXPECT_STREQ(font.faceName, "Courier New");
        break;
      case 6:
        EXPECT_EQ(font.weight, kFontWeightBold);
        break;
      case 10:
        EXPECT_EQ(font.size, 20);
        EXPECT_EQ(font.weight, kFontWeightBold);
        break;
      case 11:
        EXPECT_EQ(style.fontColor, 0x0000FFu);
        break;
      case 17:
        EXPECT_EQ(style.borders.sides, 1);
        EXPECT_EQ(style.borders.line.style, 2);
        break;
      case kFormatTypeInterior:
        EXPECT_EQ(style.interior.pattern, 1);
        EXPECT_EQ(style.interior.patternColor, 0x00FF00u);
        break;
      case kFormatTypeProtection:
        // The info object carries no protection: nothing changes.
        EXPECT_EQ(book->activeWorksheet->format.CellStyle(row, 0), 0);
        break;
    }
    // Only the formatted cell changed.
    EXPECT_EQ(book->activeWorksheet->format.CellStyle(row, 1), 0) << type;
  }
  // Bigger letters make their row taller.
  EXPECT_GT(RowHeight(2), RowHeight(0));
  EXPECT_EQ(sheet->format(Text("$A$1"), 20, info), E_INVALIDARG);
  EXPECT_EQ(sheet->format(Text("A1"), 3, info), E_INVALIDARG);
  EXPECT_EQ(sheet->format(Text("$A$1"), 3, nullptr), E_FAIL);
  info->Release();
}

// The document holds its file shut to others: it is let go before each look.
TEST_F(WorkbookInProcess, AProtectedWorkbookIsSavedAsBinaryWhateverTheSaveFormat) {
  Options.SaveFormat = kSaveFormatXml;
  const std::string path = TemporaryPath("talvero_protected.tlv");
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_R8;
  V_R8(&value) = 42;
  ASSERT_EQ(sheet->PutValue(Text("$A$1"), value), S_OK);
  // A foreign document takes the option's XML until it is protected.
  book->sourceFormat = kFormatText;
  ASSERT_EQ(sheet->SaveAs(Text(path)), S_OK);
  book->bufferedFile.Close();
  EXPECT_EQ(FileStart(path, 5), "<?xml");
  book->sourceFormat = kFormatText;
  ASSERT_EQ(sheet->SetProtection(Text("secret"), 0), S_OK);
  ASSERT_EQ(sheet->SaveAs(Text(path)), S_OK);
  book->bufferedFile.Close();
  EXPECT_EQ(FileStart(path, 2), "\x1F\x8B");
  // Save keeps the binary format as well.
  ASSERT_EQ(sheet->SaveAs(Text(path)), S_OK);
  book->saveKind = kNativeXmlPlain;
  ASSERT_EQ(sheet->Save(), S_OK);
  book->bufferedFile.Close();
  EXPECT_EQ(FileStart(path, 2), "\x1F\x8B");
  DeleteFileA(path.c_str());
}

TEST_F(WorkbookInProcess, AWrongPasswordWaitsAndLeavesNothingOfTheFile) {
  CAWorkbook::SetPasswordDelayForTesting(RecordDelay);
  g_delays.clear();
  const std::string path = TemporaryPath("talvero_password.tlv");
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_R8;
  V_R8(&value) = 7;
  ASSERT_EQ(sheet->PutValue(Text("$A$1"), value), S_OK);
  ASSERT_EQ(sheet->SetProtection(Text("secret"), 1), S_OK);
  ASSERT_EQ(sheet->SaveAs(Text(path)), S_OK);

  EXPECT_EQ(sheet->Load(Text(path), Text("wrong!"), 0, nullptr, nullptr), static_cast<HRESULT>(0x8004001A));
  EXPECT_EQ(g_delays, std::vector<DWORD>{2000});
  // Neither the values readable without the password nor the file stay.
  VariantInit(&value);
  EXPECT_EQ(sheet->GetValue(Text("$A$1"), &value), static_cast<HRESULT>(0x8004000D));
  EXPECT_EQ(sheet->Save(), S_FALSE);
  EXPECT_EQ(FileStart(path, 2), "\x1F\x8B");

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
  DeleteFileA(path.c_str());
}

class WorkbookPrinting : public WorkbookInProcess {
 protected:
  void SetUp() override {
    WorkbookInProcess::SetUp();
    std::string failure;
    ASSERT_TRUE(EnsureTestPrinter(&failure)) << failure;
    ASSERT_TRUE(SetDefaultPrinterA(kTestPrinter));
    std::remove(output.c_str());
    SetPrintJobOutputForTesting(output.c_str());
  }
  void TearDown() override {
    std::remove(output.c_str());
    WorkbookInProcess::TearDown();
  }
  // Rows so tall that each fills a page of the test printer.
  void FillPages(uint32_t pages) {
    for (uint32_t row = 0; row < pages; ++row) {
      ASSERT_TRUE(book->activeWorksheet->format.rows.SetRow(row, 600, true));
      VARIANT value;
      VariantInit(&value);
      V_VT(&value) = VT_R8;
      V_R8(&value) = row;
      ASSERT_EQ(sheet->PutValue(Text("$A$" + std::to_string(row + 1)), value), S_OK);
    }
  }

  std::string output = TemporaryPath("talvero_automation_print.ps");
};

TEST_F(WorkbookPrinting, WithoutAPrinterNothingIsPrintedAndTheSelectionStays) {
  NoDefaultPrinter none;
  FillPages(2);
  EXPECT_EQ(sheet->PrintAll(), S_FALSE);
  EXPECT_EQ(sheet->PrintRange(Text("$A$1:$D$20")), S_FALSE);
  const PageSettings& settings = book->activeWorksheet->pageSettings;
  EXPECT_EQ(settings.printRangeKind, kPrintSelectedCells);
  EXPECT_EQ(settings.selectionRange.lastColumn, 3);
  EXPECT_EQ(settings.selectionRange.lastRow, 19u);
  EXPECT_EQ(sheet->PrintRange(Text("A1:D20")), E_INVALIDARG);
  EXPECT_EQ(CountPostScriptPages(output), -1);
}

TEST_F(WorkbookPrinting, TheTestPrinterSpoolsTheSheetsOfTheSelection) {
  FillPages(5);
  const struct {
    const char* what;
    uint8_t across;
    int pages;
  } cases[] = {{"all", 1, 5}, {"all", 2, 3}, {"$A$1:$A$2", 1, 2}, {"2-3", 1, 2}};
  for (const auto& c : cases) {
    std::remove(output.c_str());
    book->activeWorksheet->pageSettings.pagesPerSheetColumns = c.across;
    const std::string what = c.what;
    const HRESULT printed = what == "all"          ? sheet->PrintAll()
                            : what[0] == '$'       ? sheet->PrintRange(Text(what))
                                                   : sheet->PrintPages(Text(what));
    EXPECT_EQ(printed, S_OK) << c.what;
    EXPECT_EQ(CountPostScriptPages(output), c.pages) << c.what << " " << int(c.across);
  }
  // The page list is freed after each print.
  EXPECT_EQ(book->pageList.pages.Count(), 0u);
}

}  // namespace
