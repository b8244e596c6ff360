// Printing on real device contexts: an enhanced metafile records one sheet,
// and the test printer (Wine's PostScript driver on the FILE: port, installed
// here when the prefix lacks it) spools a whole job.

#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/edit/cell_input.h"
#include "core/workbook/workbook.h"
#include "view/draw_context/draw_context.h"
#include "view/printing/print_frame.h"
#include "view/printing/sheet_placement.h"
#include "tests/view/printing/test_printer_win32.h"

namespace {

class Printing : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(book->NewDocument());
    sheet = book->activeWorksheet;
  }
  void Type(uint32_t row, uint16_t column, const char* text) {
    NumFormatParams format = book->styles.StyleAt(sheet->format.CellStyle(row, column)).numFormat;
    alignas(8) uint8_t record[kCellInputCapacity];
    ASSERT_GT(CWorkSheet::ParseCellInput(book.get(), text, &format, row, column, record, sizeof record), 0u);
    ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(record), nullptr));
  }

  std::unique_ptr<CWorkBook> book = std::make_unique<CWorkBook>();
  CWorkSheet* sheet = nullptr;
};

struct TextRecord {
  std::string text;
  POINTL reference;
  UINT align;
  bool clipped;
  RECT clip;  // the clip region's bounds when clipped
};

// Follows the records as the device would: the saved states, the text
// alignment and the bounds of the clip region.
struct MetafileScan {
  struct State {
    bool clipped;
    RECT clip;
  };
  int saves = 0;
  bool restoredBelowZero = false;
  UINT align = 0;
  State state = {false, {}};
  std::vector<State> saved;
  std::vector<TextRecord> texts;

  void AddText(const std::string& text, const POINTL& reference) {
    texts.push_back({text, reference, align, state.clipped, state.clip});
  }
};

int CALLBACK ScanRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM context) {
  MetafileScan* scan = reinterpret_cast<MetafileScan*>(context);
  switch (record->iType) {
    case EMR_SAVEDC:
      ++scan->saves;
      scan->saved.push_back(scan->state);
      break;
    case EMR_RESTOREDC: {
      const LONG relative = reinterpret_cast<const EMRRESTOREDC*>(record)->iRelative;
      const LONG depth = static_cast<LONG>(scan->saved.size());
      const LONG target = relative < 0 ? depth + relative : relative - 1;
      if (target < 0 || target >= depth) {
        scan->restoredBelowZero = true;
        break;
      }
      scan->state = scan->saved[target];
      scan->saved.resize(target);
      break;
    }
    case EMR_INTERSECTCLIPRECT: {
      const RECTL& r = reinterpret_cast<const EMRINTERSECTCLIPRECT*>(record)->rclClip;
      RECT clip = {r.left, r.top, r.right, r.bottom};
      if (scan->state.clipped)
        IntersectRect(&clip, &clip, &scan->state.clip);
      scan->state = {true, clip};
      break;
    }
    case EMR_EXTSELECTCLIPRGN: {
      const EMREXTSELECTCLIPRGN* select = reinterpret_cast<const EMREXTSELECTCLIPRGN*>(record);
      if (select->cbRgnData == 0) {
        scan->state.clipped = false;
      } else {
        const RGNDATAHEADER* header = reinterpret_cast<const RGNDATAHEADER*>(select->RgnData);
        scan->state = {true, header->rcBound};
      }
      break;
    }
    case EMR_SETTEXTALIGN:
      scan->align = reinterpret_cast<const EMRSETTEXTALIGN*>(record)->iMode;
      break;
    case EMR_EXTTEXTOUTW: {
      const EMREXTTEXTOUTW* out = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
      const WCHAR* chars = reinterpret_cast<const WCHAR*>(reinterpret_cast<const BYTE*>(record) +
                                                          out->emrtext.offString);
      std::string text;
      for (DWORD i = 0; i < out->emrtext.nChars; ++i) text.push_back(static_cast<char>(chars[i]));
      scan->AddText(text, out->emrtext.ptlReference);
      break;
    }
    case EMR_EXTTEXTOUTA: {
      const EMREXTTEXTOUTA* out = reinterpret_cast<const EMREXTTEXTOUTA*>(record);
      const char* chars = reinterpret_cast<const char*>(record) + out->emrtext.offString;
      scan->AddText(std::string(chars, out->emrtext.nChars), out->emrtext.ptlReference);
      break;
    }
  }
  return 1;
}

TEST_F(Printing, MetafileOfOneSheetCentresItsHeaderAndRestoresTheDevice) {
  Type(0, 0, "alpha");
  Type(3, 2, "a text much longer than its column and the page");
  std::strcpy(sheet->pageSettings.headerText, "&cHEADER &m of &n");
  std::strcpy(sheet->pageSettings.footerText, "&lleft&rright");

  HDC recording = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(recording, nullptr);
  const PrintFrame frame = {0, 0, 399, 599, 20, 60, 20, 60, 25, 580};
  PrintZoom zoom = {100, 100};
  {
    DrawContext context;
    context.AttachDC(recording);
    context.SetPrinting(true, false);
    ASSERT_TRUE(book->Paginate(context.Measurer(), sheet, frame, &zoom));
    EXPECT_TRUE(book->PrintPage(&context, 0, sheet, frame, zoom));
    context.AttachDC(nullptr);
  }
  HENHMETAFILE metafile = CloseEnhMetaFile(recording);
  ASSERT_NE(metafile, nullptr);
  MetafileScan scan;
  EnumEnhMetaFile(nullptr, metafile, ScanRecord, &scan, nullptr);
  DeleteEnhMetaFile(metafile);

  EXPECT_GT(scan.saves, 0);
  EXPECT_TRUE(scan.saved.empty());
  EXPECT_FALSE(scan.restoredBelowZero);
  std::vector<PlacedPage> placed;
  PlaceSheetPages(
      book->pageList, sheet->pageSettings, frame, zoom, 0, nullptr,
      [](void* c, const PlacedPage& p) { static_cast<std::vector<PlacedPage>*>(c)->push_back(p); }, &placed);
  ASSERT_EQ(placed.size(), 1u);
  const PixelRect page = placed[0].target;
  bool header = false;
  bool footerLeft = false;
  int pageTexts = 0;
  for (const TextRecord& t : scan.texts) {
    if (t.text.find("HEADER 1 of") == 0) {
      header = true;
      EXPECT_EQ(t.align & (TA_CENTER | TA_RIGHT), static_cast<UINT>(TA_CENTER));
      EXPECT_EQ(t.reference.x, (20 + 379) / 2);
      EXPECT_EQ(t.reference.y, 25);
    }
    if (t.text == "left") {
      footerLeft = true;
      EXPECT_EQ(t.reference.x, 20);
      EXPECT_LT(t.reference.y, 580);
    }
    // Every text starts inside the paper's printable rectangle, and the
    // page's texts (the long one running on past the page among them) are
    // clipped to the page.
    EXPECT_GE(t.reference.x, frame.left) << t.text;
    EXPECT_LE(t.reference.x, frame.right) << t.text;
    EXPECT_GE(t.reference.y, frame.top) << t.text;
    EXPECT_LE(t.reference.y, frame.bottom) << t.text;
    if (t.reference.y > page.top && t.reference.y < page.bottom) {
      pageTexts += t.text == "alpha" || t.text.find("a text much") == 0;
      EXPECT_TRUE(t.clipped) << t.text;
      EXPECT_GE(t.clip.left, page.left) << t.text;
      EXPECT_LE(t.clip.right, page.right + 1) << t.text;
      EXPECT_GE(t.clip.top, page.top) << t.text;
      EXPECT_LE(t.clip.bottom, page.bottom + 1) << t.text;
    }
  }
  EXPECT_TRUE(header);
  EXPECT_TRUE(footerLeft);
  EXPECT_EQ(pageTexts, 2);
}

int32_t MillimetresToPixels(double millimetres, int dotsPerInch) {
  return static_cast<int32_t>(millimetres * dotsPerInch / 25.3995);
}

TEST_F(Printing, TestPrinterSpoolsOnePostScriptPagePerSheet) {
  std::string failure;
  ASSERT_TRUE(EnsureTestPrinter(&failure)) << failure;
  HDC device = CreateDCA("WINSPOOL", kTestPrinter, nullptr, nullptr);
  ASSERT_NE(device, nullptr) << GetLastError();
  const int dpiX = GetDeviceCaps(device, LOGPIXELSX);
  const int dpiY = GetDeviceCaps(device, LOGPIXELSY);
  EXPECT_EQ(dpiX, 600);
  EXPECT_EQ(dpiY, 600);

  // Rows 1 to 200 paginate into at least three pages down, one per sheet;
  // the first three sheets make the job.
  Type(0, 0, "first");
  Type(99, 0, "second");
  Type(199, 0, "third");
  const PageSettings& s = sheet->pageSettings;
  PrintFrame frame = {0,
                      0,
                      GetDeviceCaps(device, HORZRES) - 1,
                      GetDeviceCaps(device, VERTRES) - 1,
                      MillimetresToPixels(s.marginLeft, dpiX),
                      MillimetresToPixels(s.marginTop, dpiY),
                      MillimetresToPixels(s.marginRight, dpiX),
                      MillimetresToPixels(s.marginBottom, dpiY),
                      MillimetresToPixels(s.headerMargin, dpiY),
                      GetDeviceCaps(device, VERTRES) - 1 - MillimetresToPixels(s.footerMargin, dpiY)};
  PrintZoom zoom = {static_cast<uint16_t>(dpiX * 100 / 96), static_cast<uint16_t>(dpiY * 100 / 96)};
  {
    DrawContext context;
    context.AttachDC(device);
    context.SetPrinting(true, false);
    ASSERT_TRUE(book->Paginate(context.Measurer(), sheet, frame, &zoom));
    ASSERT_GE(book->pageList.Count(), 3u);
    const uint32_t sheets = CountPrintedSheets(book->pageList, sheet->pageSettings);
    ASSERT_EQ(sheets, book->pageList.Count());

    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    const char* artifacts = std::getenv("TALVERO_ARTIFACTS_DIR");
    const std::string output =
        artifacts ? std::string(artifacts) + "/print-three-sheets.ps" : std::string(folder) + "talvero-print.ps";
    std::remove(output.c_str());
    DOCINFOA doc = {sizeof doc, "Talvero printing test", output.c_str(), nullptr, 0};
    ASSERT_GT(StartDocA(device, &doc), 0) << GetLastError();
    for (uint32_t i = 0; i < 3; ++i) {
      ASSERT_GT(StartPage(device), 0);
      EXPECT_TRUE(book->PrintPage(&context, i, sheet, frame, zoom));
      ASSERT_GT(EndPage(device), 0);
    }
    ASSERT_GT(EndDoc(device), 0);
    context.AttachDC(nullptr);
    DeleteDC(device);

    EXPECT_EQ(CountPostScriptPages(output), 3) << output;
  }
  book->FreePageList(sheet);
}

}  // namespace
