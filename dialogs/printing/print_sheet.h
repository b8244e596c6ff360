#ifndef TALVERO_DIALOGS_PRINT_SHEET_H
#define TALVERO_DIALOGS_PRINT_SHEET_H

// The print sheet (CPrintPropertySheet): the General, Layout and Content
// pages in which the user sets up printing of a worksheet, or the Layout and
// Content pages alone for the page setup. It edits a copy of the worksheet's
// page settings together with a printer name and that printer's device
// settings. OK and Apply read and check every page before anything is
// taken: a page that fails keeps the sheet open on it, and nothing of the
// others counts until all pass. Windows only.

#include <windows.h>

#include "core/model/page_settings.h"
#include "dialogs/controls/parsed_edit.h"
#include "dialogs/printing/print_sheet_values.h"
#include "platform/ui/dialog_impl.h"
#include "platform/ui/printer_capabilities.h"

class CPrintPropertySheet;

// One page: a child dialog over the sheet's tab area that loads its controls
// from the sheet's values and reads them back.
class CPrintPage : public CDialogImpl {
 public:
  CPrintPage(CPrintPropertySheet* sheet, int templateId) : CDialogImpl(templateId), m_sheet(sheet) {}
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  // The controls from the values, and back with the page's checks.
  virtual void Load(const PrintSheetValues& values) = 0;
  virtual bool Read(PrintSheetValues* values, PrintSheetFailure* failure) = 0;

 protected:
  virtual void OnInitPage() {}
  virtual void OnPageCommand(WORD, WORD) {}
  // The edit and its up-down control, stepped through the parsed edit.
  void AttachStepped(CParsedEdit* edit, int editId, int spinId);
  void ReadText(int id, char* out, int size) const;
  bool Checked(int id) const { return IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED; }
  void Check(int id, bool on) const { CheckDlgButton(m_hWnd, id, on ? BST_CHECKED : BST_UNCHECKED); }

  CPrintPropertySheet* m_sheet;

 private:
  static constexpr int kMaxStepped = 8;
  struct Stepped {
    CParsedEdit* edit;
    int spinId;
  };
  Stepped m_stepped[kMaxStepped] = {};
  int m_steppedCount = 0;
};

class CPrinterPropPage : public CPrintPage {
 public:
  explicit CPrinterPropPage(CPrintPropertySheet* sheet);
  void Load(const PrintSheetValues& values) override;
  bool Read(PrintSheetValues* values, PrintSheetFailure* failure) override;
  // The chosen printer's location, jobs and comment.
  void ShowPrinterDetails();

 private:
  void OnInitPage() override;
  void OnPageCommand(WORD id, WORD code) override;
  void FillPrinterList();
  void OnPrinterChosen();
  void OnProperties();

  CParsedEdit m_copies{kParsedInteger, 1, 65534};
};

class CLayoutPropPage : public CPrintPage {
 public:
  explicit CLayoutPropPage(CPrintPropertySheet* sheet);
  void Load(const PrintSheetValues& values) override;
  bool Read(PrintSheetValues* values, PrintSheetFailure* failure) override;
  // The paper and bin lists of the sheet's printer, the stored choices
  // selected again.
  void FillPaperAndBins();
  // The chosen paper, bin and orientation into the sheet's device settings.
  void StoreDeviceSettings();

 private:
  void OnInitPage() override;
  void OnPageCommand(WORD id, WORD code) override;
  void OnFont();

  CParsedEdit m_rows{kParsedInteger, 1, 10};
  CParsedEdit m_columns{kParsedInteger, 1, 10};
  CParsedEdit m_lengths[6] = {{kParsedDecimal, 0, 65534}, {kParsedDecimal, 0, 65534}, {kParsedDecimal, 0, 65534},
                              {kParsedDecimal, 0, 65534}, {kParsedDecimal, 0, 65534}, {kParsedDecimal, 0, 65534}};
  PrinterFormList* m_papers = nullptr;
  PrinterFormList* m_bins = nullptr;
  char m_paperName[kPrintFieldCapacity] = {};
  LogFont m_font = {};
  uint32_t m_fontColour = 0;

 public:
  ~CLayoutPropPage() override;
};

class CContentPropPage : public CPrintPage {
 public:
  explicit CContentPropPage(CPrintPropertySheet* sheet);
  void Load(const PrintSheetValues& values) override;
  bool Read(PrintSheetValues* values, PrintSheetFailure* failure) override;

 private:
  void OnInitPage() override;
  void OnPageCommand(WORD id, WORD code) override;

  CParsedEdit m_scale{kParsedInteger, 10, 1000};
  CParsedEdit m_firstPage{kParsedInteger, 1, kMaxFirstPageNumber};
};

class CPrintPropertySheet : public CDialogImpl {
 public:
  // Pages of the print form (General, Layout, Content) and of the page setup
  // (Layout, Content) are counted from 0 in the form's own order.
  CPrintPropertySheet(bool pageSetupOnly, bool imperial, UINT captionId, int startPage);
  ~CPrintPropertySheet() override;

  // The record into the pages' values, and the accepted values back.
  void LoadFromPageSettings(const PageSettings& settings);
  void StoreToPageSettings(PageSettings* settings) const;

  // The printer and a copy of its device settings, set before the sheet
  // runs and read back after it; the sheet owns its copy.
  void UsePrinter(const char* name, HGLOBAL devMode);
  const char* PrinterName() const { return m_printerName; }
  HGLOBAL DevMode() const { return m_devMode; }
  // Takes the block as the sheet's device settings (the old one is freed).
  void ReplaceDevMode(HGLOBAL devMode);
  void SetPrinterName(const char* name);

  // Runs the sheet; IDOK when it ended with OK (in the print form: print).
  INT_PTR Run(HWND owner);
  bool Applied() const { return m_applied; }
  bool PrintToFile() const { return m_printToFile; }
  bool Imperial() const { return m_imperial; }
  LengthUnit Unit() const;
  bool PageSetupOnly() const { return m_pageSetupOnly; }
  // The page shown last, for the next opening of the same form.
  int ActivePage() const { return m_active; }

  void MarkChanged();
  void SetPrintToFile(bool on) { m_printToFile = on; }
  CLayoutPropPage& Layout() { return m_layout; }
  CPrinterPropPage& General() { return m_general; }

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  // Ctrl+Tab and Ctrl+Shift+Tab turn to the next and the previous page from
  // any control, as on any tabbed sheet; then the dialog manager.
  bool PreTranslateMessage(MSG* msg) override;

 private:
  LRESULT OnInitDialog();
  LRESULT OnNotify(NMHDR* header);
  void OnCommand(WORD id);
  void ShowPage(int index);
  CPrintPage* PageAt(int index);
  int PageCount() const { return m_pageSetupOnly ? 2 : 3; }
  // Reads and checks every page, then takes the values; false (the sheet
  // stays as it was, the failing page shown) when any page fails.
  bool ApplyAll();
  // Reads and checks the shown page into the values; false when it fails.
  bool LeavePage();
  void ReportFailure(int page, const PrintSheetFailure& failure);

  bool m_pageSetupOnly;
  bool m_imperial;
  UINT m_captionId;
  int m_active;
  bool m_applied = false;
  bool m_cancelled = false;
  bool m_printToFile = false;
  char m_printerName[kPrinterNameCapacity] = {};
  HGLOBAL m_devMode = nullptr;
  PrintSheetValues m_values = {};
  CPrinterPropPage m_general{this};
  CLayoutPropPage m_layout{this};
  CContentPropPage m_content{this};
  HWND m_tabs = nullptr;

  friend class CPrintPage;
  friend class CPrinterPropPage;
  friend class CLayoutPropPage;
  friend class CContentPropPage;
};

#endif
