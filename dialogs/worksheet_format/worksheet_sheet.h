#ifndef TALVERO_DIALOGS_WORKSHEET_SHEET_H
#define TALVERO_DIALOGS_WORKSHEET_SHEET_H

// The worksheet-format sheet (CWorksheetPropSheet, "Worksheet Format"): a
// modeless tool window with the tabs "Background" (CViewPropPage) and
// "Gridlines" (CGridPropPage) that changes the active worksheet's background
// and grid lines the moment the user changes a control. Only the page of the
// selected tab has a window. Both pages edit the sheet's one copy of the
// view format, and each change goes to the active worksheet on top of its
// present view format, so a change on one tab never takes back one made on
// the other, nor anything else the worksheet's view format holds.

#include "core/model/worksheet_view_format.h"
#include "dialogs/controls/owner_drawn_combos.h"
#include "platform/ui/dialog_impl.h"

// What the sheet asks of the program's main window.
class WorksheetFormatHost {
 public:
  virtual HWND HostWindow() = 0;
  // The active worksheet's view format; false without an active document.
  virtual bool ActiveWorksheetFormat(WorksheetViewFormat* format) = 0;
  // Puts the format into the active worksheet; nothing without one.
  virtual void ApplyWorksheetFormat(const WorksheetViewFormat& format) = 0;
  // The user is at work: the idle clocks start again.
  virtual void StampActivityClocks() = 0;
  // The user closed the sheet.
  virtual void SheetClosed() = 0;

 protected:
  ~WorksheetFormatHost() = default;
};

class CWorksheetPropSheet;

class CViewPropPage : public CDialogImpl {
 public:
  explicit CViewPropPage(CWorksheetPropSheet* sheet);
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  void Load();

 private:
  LRESULT OnInitDialog();
  void OnCommand(WORD id, WORD code, HWND control);
  void StoreAndApply();
  void OnBrowse();

  CWorksheetPropSheet* m_sheet;
  CPatternComboBox m_pattern;
  CColorComboBox m_patternColor;
  CColorComboBox m_backgroundColor;
};

class CGridPropPage : public CDialogImpl {
 public:
  explicit CGridPropPage(CWorksheetPropSheet* sheet);
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  void Load();

 private:
  void StoreAndApply();

  CWorksheetPropSheet* m_sheet;
  CColorComboBox m_colour;
};

class CWorksheetPropSheet : public CDialogImpl {
 public:
  static constexpr int kBackgroundPage = 0;
  static constexpr int kGridlinesPage = 1;

  explicit CWorksheetPropSheet(WorksheetFormatHost* host);
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  // Stamps the host's idle clocks on the user's input, then hands the
  // message to the dialog manager.
  bool PreTranslateMessage(MSG* msg) override;

  // The format both pages show, taken when the sheet opens.
  void SetFormat(const WorksheetViewFormat& format) { m_format = format; }
  // A page's change: the copy brought up to the active worksheet's present
  // format, for the page to store its fields over; Commit then puts the
  // whole into the worksheet.
  WorksheetViewFormat& BeginPageChange();
  void CommitPageChange();
  const WorksheetViewFormat& Format() const { return m_format; }
  WorksheetFormatHost* Host() const { return m_host; }
  // The window of the page shown, or null.
  HWND PageWindow() const;
  void ForgetPage() { m_shown = nullptr; }
  int ShownPage() const;

 private:
  LRESULT OnInitDialog();
  void ShowPage(int page);

  WorksheetFormatHost* m_host;
  HWND m_tabs = nullptr;
  CDialogImpl* m_shown = nullptr;
  CViewPropPage m_background{this};
  CGridPropPage m_gridlines{this};
  WorksheetViewFormat m_format;
};

// Destroys the sheet's window when one is open, then creates the sheet with
// the host's window as parent and shows it; false when it cannot be created.
bool ShowPropSheetModeless(CWorksheetPropSheet* sheet);

#endif
