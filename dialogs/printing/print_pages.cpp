// The print sheet's General, Layout and Content pages.

#include "dialogs/printing/print_sheet.h"

#include <commctrl.h>
#include <commdlg.h>
#include <winspool.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "platform/ui/common_controls.h"
#include "platform/ui/locked_global.h"
#include "resources/resource_ids.h"

namespace ids = print_sheet_ids;

namespace {

constexpr uint16_t kPaperA4 = 9;
constexpr uint16_t kBinAutomatic = 7;
constexpr double kMillimetresPerInch = 25.3995;

int Selected(HWND combo) { return static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0)); }

void Select(HWND combo, int item) { ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(item), 0); }

// Checks one radio button of a group and clears the others.
void CheckOneOf(HWND page, const int* ids, int count, int chosen) {
  for (int i = 0; i < count; ++i) CheckDlgButton(page, ids[i], ids[i] == chosen ? BST_CHECKED : BST_UNCHECKED);
}

const int kRangeRadios[] = {ids::kRangeAll, ids::kRangeSelection, ids::kRangePages};
const int kOrientationRadios[] = {ids::kPortrait, ids::kLandscape};
const int kScaleRadios[] = {ids::kScaleChoice, ids::kFitChoice};

// The checked one of a group of radio buttons, as its position; 0 when none.
int CheckedRadio(HWND page, const int* ids, int count) {
  for (int i = 0; i < count; ++i)
    if (IsDlgButtonChecked(page, ids[i]) == BST_CHECKED) return i;
  return 0;
}

}  // namespace

// CPrintPage

LRESULT CPrintPage::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      OnInitPage();
      return FALSE;
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lp);
      if (header->code != UDN_DELTAPOS) break;
      for (int i = 0; i < m_steppedCount; ++i) {
        if (static_cast<int>(header->idFrom) != m_stepped[i].spinId) continue;
        m_stepped[i].edit->Step(reinterpret_cast<const NMUPDOWN*>(header)->iDelta);
        m_sheet->MarkChanged();
      }
      return 1;  // the up-down control stays at its middle
    }
    case WM_COMMAND: {
      const WORD code = HIWORD(wp);
      if (code == EN_CHANGE || code == BN_CLICKED || code == CBN_CLOSEUP || code == CBN_SELENDOK)
        m_sheet->MarkChanged();
      OnPageCommand(LOWORD(wp), code);
      return 0;
    }
  }
  handled = false;
  return 0;
}

void CPrintPage::AttachStepped(CParsedEdit* edit, int editId, int spinId) {
  edit->SubclassWindow(GetDlgItem(editId));
  HWND spin = GetDlgItem(spinId);
  ::SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(editId)), 0);
  InitStepSpin(spin);
  if (m_steppedCount < kMaxStepped) m_stepped[m_steppedCount++] = {edit, spinId};
}

void CPrintPage::ReadText(int id, char* out, int size) const {
  if (GetDlgItemTextA(m_hWnd, id, out, size) == 0) out[0] = '\0';
}

// CPrinterPropPage

CPrinterPropPage::CPrinterPropPage(CPrintPropertySheet* sheet) : CPrintPage(sheet, IDD_PRINT_GENERAL) {}

void CPrinterPropPage::OnInitPage() {
  AttachStepped(&m_copies, ids::kCopies, ids::kCopiesSpin);
  FillPrinterList();
  ShowPrinterDetails();
}

void CPrinterPropPage::FillPrinterList() {
  HWND list = GetDlgItem(ids::kPrinterList);
  ::SendMessageA(list, CB_RESETCONTENT, 0, 0);
  OSVERSIONINFOA version = {sizeof version, 0, 0, 0, 0, {}};
  const bool windows9x = GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
  const DWORD flags = windows9x ? PRINTER_ENUM_LOCAL : PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  const DWORD level = windows9x ? 5 : 4;
  DWORD needed = 0;
  DWORD count = 0;
  EnumPrintersA(flags, nullptr, level, nullptr, 0, &needed, &count);
  BYTE* block = needed > 0 ? static_cast<BYTE*>(std::malloc(needed)) : nullptr;
  if (block != nullptr && EnumPrintersA(flags, nullptr, level, block, needed, &needed, &count)) {
    for (DWORD i = 0; i < count; ++i) {
      const char* name = windows9x ? reinterpret_cast<PRINTER_INFO_5A*>(block)[i].pPrinterName
                                   : reinterpret_cast<PRINTER_INFO_4A*>(block)[i].pPrinterName;
      ComboAddString(list, name);
    }
  }
  std::free(block);
  const LRESULT found = ::SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(m_sheet->PrinterName()));
  if (found != CB_ERR) Select(list, static_cast<int>(found));
}

void CPrinterPropPage::ShowPrinterDetails() {
  PrinterDetails details;
  if (!ReadPrinterDetails(m_sheet->PrinterName(), &details)) std::memset(&details, 0, sizeof details);
  SetDlgItemTextA(m_hWnd, ids::kLocation, details.location);
  char jobs[16];
  std::snprintf(jobs, sizeof jobs, "%d", static_cast<int>(details.jobs));
  SetDlgItemTextA(m_hWnd, ids::kJobs, jobs);
  SetDlgItemTextA(m_hWnd, ids::kComment, details.comment);
}

void CPrinterPropPage::OnPageCommand(WORD id, WORD code) {
  if (id == ids::kPrinterList && code == CBN_SELENDOK) OnPrinterChosen();
  if (id == ids::kProperties && code == BN_CLICKED) OnProperties();
  if ((id == ids::kRangeAll || id == ids::kRangeSelection || id == ids::kRangePages) && code == BN_CLICKED)
    CheckOneOf(m_hWnd, kRangeRadios, 3, id);
}

void CPrinterPropPage::OnPrinterChosen() {
  HWND list = GetDlgItem(ids::kPrinterList);
  const int item = Selected(list);
  char name[kPrinterNameCapacity];
  if (item < 0 || ::SendMessageA(list, CB_GETLBTEXTLEN, item, 0) >= static_cast<LRESULT>(sizeof name)) return;
  ::SendMessageA(list, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(name));
  m_sheet->SetPrinterName(name);
  if (HGLOBAL devMode = ReadPrinterDevMode(m_hWnd, name)) m_sheet->ReplaceDevMode(devMode);
  m_sheet->Layout().FillPaperAndBins();
  ShowPrinterDetails();
  m_sheet->MarkChanged();
}

void CPrinterPropPage::OnProperties() {
  PRINTDLGA setup = {};
  setup.lStructSize = sizeof setup;
  setup.hwndOwner = m_sheet->m_hWnd;
  setup.hDevMode = CopyDevModeBlock(m_sheet->DevMode());
  setup.Flags = PD_PRINTSETUP | PD_NOPAGENUMS | PD_NOSELECTION;
  if (!PrintDlgA(&setup)) {
    if (setup.hDevMode != nullptr) GlobalFree(setup.hDevMode);
    if (setup.hDevNames != nullptr) GlobalFree(setup.hDevNames);
    return;
  }
  if (setup.hDevNames != nullptr) {
    {
      LockedGlobal names(setup.hDevNames);
      if (const char* device = DeviceNameIn(names.As<const DEVNAMES>(), GlobalSize(setup.hDevNames))) {
        HWND list = GetDlgItem(ids::kPrinterList);
        LRESULT found =
            ::SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(device));
        if (found == CB_ERR) found = ComboAddString(list, device);
        Select(list, static_cast<int>(found));
        m_sheet->SetPrinterName(device);
      }
    }
    GlobalFree(setup.hDevNames);
  }
  if (setup.hDevMode != nullptr) m_sheet->ReplaceDevMode(setup.hDevMode);
  m_sheet->Layout().FillPaperAndBins();
  ShowPrinterDetails();
  m_sheet->MarkChanged();
}

void CPrinterPropPage::Load(const PrintSheetValues& values) {
  CheckOneOf(m_hWnd, kRangeRadios, 3, kRangeRadios[values.rangeChoice]);
  SetDlgItemTextA(m_hWnd, ids::kPages, values.pages);
  SetDlgItemTextA(m_hWnd, ids::kCopies, values.copies);
  Check(ids::kCollate, values.collate);
  Check(ids::kPrintToFile, m_sheet->PrintToFile());
}

bool CPrinterPropPage::Read(PrintSheetValues* values, PrintSheetFailure* failure) {
  values->rangeChoice = CheckedRadio(m_hWnd, kRangeRadios, 3);
  ReadText(ids::kPages, values->pages, sizeof values->pages);
  ReadText(ids::kCopies, values->copies, sizeof values->copies);
  values->collate = Checked(ids::kCollate);
  if (!CheckGeneralPage(*values, failure)) return false;
  m_sheet->SetPrintToFile(Checked(ids::kPrintToFile));
  return true;
}

// CLayoutPropPage

namespace {

const int kLengthIds[6] = {ids::kMarginLeft, ids::kMarginRight, ids::kMarginTop,
                           ids::kMarginBottom, ids::kHeaderPosition, ids::kFooterPosition};
const int kLengthSpins[6] = {ids::kMarginLeftSpin, ids::kMarginRightSpin, ids::kMarginTopSpin,
                             ids::kMarginBottomSpin, ids::kHeaderPositionSpin, ids::kFooterPositionSpin};

char* LengthField(PrintSheetValues* values, int i) {
  char* fields[6] = {values->marginLeft, values->marginRight, values->marginTop,
                     values->marginBottom, values->headerPosition, values->footerPosition};
  return fields[i];
}

}  // namespace

CLayoutPropPage::CLayoutPropPage(CPrintPropertySheet* sheet) : CPrintPage(sheet, IDD_PRINT_LAYOUT) {}

CLayoutPropPage::~CLayoutPropPage() {
  std::free(m_papers);
  std::free(m_bins);
}

void CLayoutPropPage::OnInitPage() {
  AttachStepped(&m_rows, ids::kSheetRows, ids::kSheetRowsSpin);
  AttachStepped(&m_columns, ids::kSheetColumns, ids::kSheetColumnsSpin);
  for (int i = 0; i < 6; ++i) {
    m_lengths[i].SetDecimalLimits(0, 65534, -1);
    AttachStepped(&m_lengths[i], kLengthIds[i], kLengthSpins[i]);
  }
  const char* const horizontal[] = {"Align left", "Center horizontally", "Align right"};
  const char* const vertical[] = {"Align top", "Center vertically", "Align bottom"};
  for (const char* item : horizontal) ComboAddString(GetDlgItem(ids::kHorizontalAlign), item);
  for (const char* item : vertical) ComboAddString(GetDlgItem(ids::kVerticalAlign), item);
  if (m_sheet->Imperial())
    for (int id = ids::kFirstUnitLabel; id <= ids::kLastUnitLabel; ++id) SetDlgItemTextA(m_hWnd, id, "\"");
}

void CLayoutPropPage::Load(const PrintSheetValues& values) {
  lstrcpynA(m_paperName, values.paperName, sizeof m_paperName);
  CheckOneOf(m_hWnd, kOrientationRadios, 2, values.landscape ? ids::kLandscape : ids::kPortrait);
  SetDlgItemTextA(m_hWnd, ids::kSheetRows, values.sheetRows);
  SetDlgItemTextA(m_hWnd, ids::kSheetColumns, values.sheetColumns);
  PrintSheetValues copy = values;
  for (int i = 0; i < 6; ++i) SetDlgItemTextA(m_hWnd, kLengthIds[i], LengthField(&copy, i));
  Select(GetDlgItem(ids::kHorizontalAlign), values.horizontalItem);
  Select(GetDlgItem(ids::kVerticalAlign), values.verticalItem);
  SetDlgItemTextA(m_hWnd, ids::kHeaderText, values.headerText);
  SetDlgItemTextA(m_hWnd, ids::kFooterText, values.footerText);
  m_font = values.headerFont;
  m_fontColour = values.headerColor;
  FillPaperAndBins();
}

void CLayoutPropPage::FillPaperAndBins() {
  if (m_papers == nullptr) m_papers = static_cast<PrinterFormList*>(std::calloc(1, sizeof(PrinterFormList)));
  if (m_bins == nullptr) m_bins = static_cast<PrinterFormList*>(std::calloc(1, sizeof(PrinterFormList)));
  if (m_papers == nullptr || m_bins == nullptr || m_hWnd == nullptr) return;
  LockedGlobal settings(m_sheet->DevMode());
  const DEVMODEA* devMode = settings.As<const DEVMODEA>();
  const uint16_t paperSize = devMode != nullptr && (devMode->dmFields & DM_PAPERSIZE) ? devMode->dmPaperSize : 0;
  const uint16_t source =
      devMode != nullptr && (devMode->dmFields & DM_DEFAULTSOURCE) ? devMode->dmDefaultSource : 0;
  // A list the driver cannot give stays as it was.
  const bool papers = ReadPrinterPapers(m_sheet->PrinterName(), devMode, m_papers);
  const bool bins = ReadPrinterBins(m_sheet->PrinterName(), devMode, m_bins);
  if (papers) {
    HWND list = GetDlgItem(ids::kPaper);
    ::SendMessageA(list, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < m_papers->count; ++i) ComboAddString(list, m_papers->names[i]);
    int item = FindFormByName(*m_papers, m_paperName);
    if (item < 0) item = FindFormByNumber(*m_papers, paperSize);
    if (item < 0) item = FindFormByNumber(*m_papers, kPaperA4);
    Select(list, item < 0 ? 0 : item);
  }
  if (bins) {
    HWND list = GetDlgItem(ids::kBin);
    ::SendMessageA(list, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < m_bins->count; ++i) ComboAddString(list, m_bins->names[i]);
    int item = FindFormByNumber(*m_bins, source);
    if (item < 0) item = FindFormByNumber(*m_bins, kBinAutomatic);
    Select(list, item < 0 ? 0 : item);
  }
}

void CLayoutPropPage::StoreDeviceSettings() {
  HGLOBAL block = m_sheet->DevMode();
  if (block == nullptr || m_hWnd == nullptr) return;
  LockedGlobal settings(block);
  DEVMODEA* devMode = settings.As<DEVMODEA>();
  if (devMode == nullptr) return;
  const int paper = Selected(GetDlgItem(ids::kPaper));
  if (m_papers != nullptr && paper >= 0 && paper < m_papers->count) {
    devMode->dmFields |= DM_PAPERSIZE;
    devMode->dmPaperSize = static_cast<short>(m_papers->numbers[paper]);
  }
  const int bin = Selected(GetDlgItem(ids::kBin));
  if (m_bins != nullptr && bin >= 0 && bin < m_bins->count) {
    devMode->dmFields |= DM_DEFAULTSOURCE;
    devMode->dmDefaultSource = static_cast<short>(m_bins->numbers[bin]);
  }
  devMode->dmFields |= DM_ORIENTATION;
  devMode->dmOrientation = Checked(ids::kLandscape) ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
}

void CLayoutPropPage::OnPageCommand(WORD id, WORD code) {
  if (id == ids::kHeaderFont && code == BN_CLICKED) OnFont();
  if ((id == ids::kPortrait || id == ids::kLandscape) && code == BN_CLICKED)
    CheckOneOf(m_hWnd, kOrientationRadios, 2, id);
}

void CLayoutPropPage::OnFont() {
  CHOOSEFONTA choose = {};
  LOGFONTA font = m_font;
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = m_sheet->m_hWnd;
  choose.lpLogFont = &font;
  choose.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  choose.rgbColors = m_fontColour;
  if (!ChooseFontA(&choose)) return;
  m_font = font;
  m_fontColour = choose.rgbColors;
  m_sheet->MarkChanged();
}

bool CLayoutPropPage::Read(PrintSheetValues* values, PrintSheetFailure* failure) {
  HWND paperList = GetDlgItem(ids::kPaper);
  const int paper = Selected(paperList);
  if (m_papers != nullptr && paper >= 0 && paper < m_papers->count)
    lstrcpynA(values->paperName, m_papers->names[paper], sizeof values->paperName);
  values->landscape = Checked(ids::kLandscape);
  ReadText(ids::kSheetRows, values->sheetRows, sizeof values->sheetRows);
  ReadText(ids::kSheetColumns, values->sheetColumns, sizeof values->sheetColumns);
  for (int i = 0; i < 6; ++i) ReadText(kLengthIds[i], LengthField(values, i), kPrintNumberCapacity);
  const int horizontal = Selected(GetDlgItem(ids::kHorizontalAlign));
  const int vertical = Selected(GetDlgItem(ids::kVerticalAlign));
  values->horizontalItem = horizontal < 0 ? 0 : horizontal;
  values->verticalItem = vertical < 0 ? 0 : vertical;
  ReadText(ids::kHeaderText, values->headerText, sizeof values->headerText);
  ReadText(ids::kFooterText, values->footerText, sizeof values->footerText);
  values->headerFont = m_font;
  values->headerColor = m_fontColour;

  // The printer's unprintable edges and the paper's size with the chosen
  // paper and orientation.
  StoreDeviceSettings();
  HDC printer;
  {
    LockedGlobal settings(m_sheet->DevMode());
    printer = CreatePrinterDC(m_sheet->PrinterName(), settings.As<const DEVMODEA>());
  }
  if (printer == nullptr) {
    *failure = PrintSheetFailure{};
    return false;
  }
  const double dpiX = GetDeviceCaps(printer, LOGPIXELSX);
  const double dpiY = GetDeviceCaps(printer, LOGPIXELSY);
  const double offsetX = GetDeviceCaps(printer, PHYSICALOFFSETX);
  const double offsetY = GetDeviceCaps(printer, PHYSICALOFFSETY);
  PrinterMinimumMargins minimum = {};
  minimum.left = offsetX * kMillimetresPerInch / dpiX;
  minimum.top = offsetY * kMillimetresPerInch / dpiY;
  minimum.right =
      (GetDeviceCaps(printer, PHYSICALWIDTH) - offsetX - GetDeviceCaps(printer, HORZRES)) * kMillimetresPerInch / dpiX;
  minimum.bottom = (GetDeviceCaps(printer, PHYSICALHEIGHT) - offsetY - GetDeviceCaps(printer, VERTRES)) *
                   kMillimetresPerInch / dpiY;
  const PaperExtent extent = {static_cast<double>(GetDeviceCaps(printer, HORZSIZE)),
                              static_cast<double>(GetDeviceCaps(printer, VERTSIZE))};
  DeleteDC(printer);
  return CheckLayoutPage(*values, m_sheet->Unit(), minimum, extent, failure);
}

// CContentPropPage

CContentPropPage::CContentPropPage(CPrintPropertySheet* sheet) : CPrintPage(sheet, IDD_PRINT_CONTENT) {}

void CContentPropPage::OnInitPage() {
  AttachStepped(&m_scale, ids::kScale, ids::kScaleSpin);
  AttachStepped(&m_firstPage, ids::kFirstPage, ids::kFirstPageSpin);
}

void CContentPropPage::OnPageCommand(WORD id, WORD code) {
  if ((id == ids::kScaleChoice || id == ids::kFitChoice) && code == BN_CLICKED)
    CheckOneOf(m_hWnd, kScaleRadios, 2, id);
}

void CContentPropPage::Load(const PrintSheetValues& values) {
  CheckOneOf(m_hWnd, kScaleRadios, 2, values.fitToPaper ? ids::kFitChoice : ids::kScaleChoice);
  SetDlgItemTextA(m_hWnd, ids::kScale, values.scale);
  Check(ids::kOnFirstPage, values.onFirstPage);
  SetDlgItemTextA(m_hWnd, ids::kFirstPage, values.firstPage);
  SetDlgItemTextA(m_hWnd, ids::kExcludedRows, values.excludedRows);
  SetDlgItemTextA(m_hWnd, ids::kExcludedColumns, values.excludedColumns);
  Check(ids::kColumnHeadings, values.columnHeadings);
  Check(ids::kRowHeadings, values.rowHeadings);
}

bool CContentPropPage::Read(PrintSheetValues* values, PrintSheetFailure* failure) {
  values->fitToPaper = Checked(ids::kFitChoice);
  ReadText(ids::kScale, values->scale, sizeof values->scale);
  values->onFirstPage = Checked(ids::kOnFirstPage);
  ReadText(ids::kFirstPage, values->firstPage, sizeof values->firstPage);
  ReadText(ids::kExcludedRows, values->excludedRows, sizeof values->excludedRows);
  ReadText(ids::kExcludedColumns, values->excludedColumns, sizeof values->excludedColumns);
  values->columnHeadings = Checked(ids::kColumnHeadings);
  values->rowHeadings = Checked(ids::kRowHeadings);
  return CheckContentPage(*values, failure);
}
