#ifndef TALVERO_APP_MAIN_FRAME_H
#define TALVERO_APP_MAIN_FRAME_H

// The program's one top-level window: an MDI frame with the command bar, the
// main, secondary, find and preview toolbars in a rebar, the name box and the
// formula bar, the status bar and the MDI client for the document windows.
// Its message map handles the application commands and passes the others to
// the active document window. While it runs it stamps two activity clocks on
// user input, keeps bars and command states in step with whether a document
// is active, and saves and closes documents from its timer.
//
// The files of app/frame split it by concern: creation and bars
// (frame_bars.cpp), the message map (frame_message_map.cpp), the filter, idle
// and command states (frame_run_time.cpp), the status bar (frame_status.cpp),
// the toolbar drop-downs and band chevrons (frame_drop_downs.cpp), the timer
// (frame_timer.cpp), closing (frame_close.cpp), the formula bar
// (formula_bar.cpp), printing with its preview (frame_printing.cpp), the
// options, profile, region and lock commands (frame_settings_commands.cpp),
// the go-to and bookmarks (frame_go_to.cpp) and the formula composer
// (frame_composer.cpp).

#include <cstdint>

#include <windows.h>

#include "app/frame/auto_save.h"
#include "app/frame/settings_refresh.h"
#include "dialogs/composer/composer_dialog.h"
#include "dialogs/controls/location_combo.h"
#include "dialogs/worksheet_format/worksheet_sheet.h"
#include "dialogs/zoom/zoom_dialog.h"
#include "dialogs/format_cells/format_prop_sheet.h"
#include "dialogs/format_cells/format_sheet_host.h"
#include "platform/ui/command_bar.h"
#include "platform/ui/print_job.h"
#include "platform/ui/print_preview_window.h"
#include "platform/ui/printer_capabilities.h"
#include "view/printing/printer_pages.h"
#include "platform/ui/mdi_frame.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/recent_document_list.h"
#include "platform/ui/update_ui.h"

class CPrintPropertySheet;
class CChildFrame;
class CWorkBook;
class CWorkSheet;
struct SelectionStatistics;

class CMainFrame : public CMDIFrameWindowImpl,
                   public CUpdateUI,
                   public CMessageFilter,
                   public CIdleHandler,
                   public CPrintJobInfo,
                   public FormatSheetHost {
 public:
  static constexpr UINT kTimerId = 22102;
  static constexpr UINT kTimerPeriod = 10000;
  // Rebar bands: command bar, main, secondary, find and preview toolbars.
  static constexpr UINT kCommandBarBand = 60160;
  static constexpr UINT kMainToolBarBand = 60161;
  static constexpr UINT kSecondaryToolBarBand = 60162;
  static constexpr UINT kFindToolBarBand = 60163;
  static constexpr UINT kPreviewToolBarBand = 60164;
  static constexpr UINT kReBarId = 59392;
  static constexpr UINT kStatusBarId = 59393;
  static constexpr UINT kNameBoxId = 1045;
  static constexpr UINT kPreviewPageComboId = 1046;
  static constexpr UINT kFormulaBarId = 1047;
  static constexpr int kStatusPanes = 4;
  // Recent cell texts offered by the " Data" button.
  static constexpr int kRecentCellTextsShown = 16;

  // The formula bar: Enter posts the " OK" command to the frame after the
  // rich-edit control has taken the key.
  class CRichEditCtrl2 : public CWindowImpl {
   public:
    HWND frame = nullptr;
    LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  };

  // The status bar, whose zoom pane (pane 3) behaves as a button that sends
  // the Zoom command to the frame.
  class CStatusBarCtrl2 : public CWindowImpl {
   public:
    static constexpr int kZoomPane = 3;
    HWND frame = nullptr;
    int pressedPane = -1;
    bool pressed = false;
    LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

   private:
    LRESULT OnLButtonDown(POINT pt);
    bool PaneContains(int pane, POINT pt) const;
    void DrawZoomPane(bool sunken);
  };

  // What the worksheet-format sheet asks of the frame.
  class CWorksheetFormatHost : public WorksheetFormatHost {
   public:
    explicit CWorksheetFormatHost(CMainFrame* frame) : m_frame(frame) {}
    HWND HostWindow() override;
    bool ActiveWorksheetFormat(WorksheetViewFormat* format) override;
    void ApplyWorksheetFormat(const WorksheetViewFormat& format) override;
    void StampActivityClocks() override;
    void SheetClosed() override;

   private:
    CMainFrame* m_frame;
  };

  // What the formula composer asks of the frame.
  class CComposerHost : public ComposerHost {
   public:
    explicit CComposerHost(CMainFrame* frame) : m_frame(frame) {}
    HWND HostWindow() override;
    bool ComposerSource(CWorkBook** book, ComposerSelection* selection) override;
    HWND FormulaBarWindow() override;
    void StampActivityClocks() override;
    void ComposerClosed() override;

   private:
    CMainFrame* m_frame;
  };

  CMainFrame() = default;
  ~CMainFrame() override;

  // Creates the frame with the title, menu and accelerators of its resources
  // at the rectangle, or at the default place when none is given. Null when
  // that fails.
  HWND CreateFrame(const RECT* rect = nullptr);
  HACCEL Accelerators() const { return m_accelerators; }
  // Takes the frame's lock on the automation server, released when the
  // frame is destroyed.
  void HoldServerLock();

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  bool PreTranslateMessage(MSG* msg) override;
  bool OnIdle() override;

  // Command states, formula bar and name box after a change of the active
  // document or its selection; the status panes with them.
  void UpdateUI();
  void UpdateStatusBar();
  void LayoutSecondaryBar();
  void LayoutStatusBar();
  // Writes the four status panes: the selection's statistics, when and by
  // whom the workbook's file was saved last, its protection icon and the
  // zoom.
  void WriteStatusPanes(const SelectionStatistics& statistics, const CWorkBook& book, int zoomPercent);
  // Shows the selection's reference in the name box, in the addressing
  // style of the options.
  void WriteNameBox(uint16_t firstColumn, uint32_t firstRow, uint16_t lastColumn, uint32_t lastRow);

  // The active document window and its workbook; none while no document
  // window is open.
  CChildFrame* GetActiveChildFrame() const;
  CWorkBook* GetActiveWorkbook() const;

  // A modal dialog or a message box of the frame is open.
  bool PopupActive() const;

  // Set by every activation of a document window; the next idle call brings
  // the bars and tool windows in step.
  void SetRefreshPending() { m_refreshPending = 1; }

  // Repaints the views of every open document, after a change of the
  // options, the profile or the locale.
  void InvalidateAllViews();

  // Rebuilds the name box's list from the profile's bookmarks, each with its
  // reference in the current addressing style, and empties its text.
  void FillBookmarkList();

  // The tool windows and the About box (frame_tool_windows.cpp). The
  // worksheet format goes into the active worksheet, which is repainted and
  // marked modified; true, also without an active document.
  bool ApplyWorksheetFormat(const WorksheetViewFormat& format);
  // The zoom chooser's choice: the zoom of the active worksheet, or of every
  // worksheet of the active workbook.
  void ApplyZoom(uint32_t zoomPercent, bool allWorksheets);
  CWorksheetPropSheet& WorksheetFormatSheet() { return m_worksheetFormat; }
  CZoomDlg& ZoomChooser() { return m_zoomChooser; }
  CComposerDlg& Composer() { return m_composer; }

  // Printing (frame_printing.cpp). Makes sure a printer is chosen (the
  // system's default the first time) and fits its device settings to the
  // paper and orientation; false when there is no printer.
  bool PreparePrinter(const char* paperName, bool landscape);
  // The active worksheet with a printer prepared for its paper; null (the
  // error shown when there is no printer) when there is none.
  CWorkSheet* ActiveSheetWithPrinter(CWorkBook** book, CChildFrame** child);
  // Runs the print or page-setup sheet on the worksheet's settings and keeps
  // what it applied (printer, device settings, page settings); true on OK.
  bool RunPrintSheet(CPrintPropertySheet& printSheet, int* activePage, CWorkSheet* sheet, CChildFrame* child);
  // The number of the first paper of the frame's printer named paperName,
  // letter case aside; false when none is or the printer has no list.
  bool FindPaperByName(const char* paperName, uint16_t* paper);
  // The print job's and the preview's page source: sheet of paper `page` of
  // the workbook being printed or previewed.
  bool PrintPage(UINT page, HDC dc) override;
  // The preview window while the preview is shown, else null.
  CPrintPreviewWindow* Preview() { return m_preview.m_hWnd != nullptr ? &m_preview : nullptr; }
  const char* PrinterName() const { return m_printerName; }
  // The format-cells sheet's view of the frame (frame_format_cells.cpp).
  HWND FrameWindow() override { return m_hWnd; }
  bool ActiveSelection(CWorkBook** book, FormatSelection* selection) override;
  void SelectionFormatted(const FormatSelection& selection) override;
  void NoteInput(const MSG& msg) override;
  void FormatSheetClosed() override;
  CFormatPropSheet& FormatSheet() { return m_formatSheet; }

  HWND CommandBar() const { return m_commandBar.m_hWnd; }
  HMENU Menu() const { return m_menu; }
  HWND MainToolBar() const { return m_mainToolBar; }
  HWND SecondaryToolBar() const { return m_secondaryToolBar; }
  HWND FindToolBar() const { return m_findToolBar; }
  HWND PreviewToolBar() const { return m_previewToolBar; }
  HWND NameBox() const { return m_nameBox; }
  HWND FormulaBar() const { return m_formulaBar.m_hWnd; }
  HWND FormulaBarFrame() const { return m_formulaBarFrame; }
  HWND FindTextCombo() const { return m_findCombo; }
  HWND ReplaceTextCombo() const { return m_replaceCombo; }
  HWND PreviewPageCombo() const { return m_previewPageCombo; }
  const ActivityClocks& Clocks() const { return m_clocks; }
  RecentDocumentList& RecentDocuments() { return m_recentDocuments; }
  bool DocumentActive() const { return m_documentActive != 0; }

 private:
  // Creation (frame_bars.cpp).
  LRESULT OnCreate();
  bool CreateMainToolBar();
  bool CreateSecondaryToolBar();
  bool CreateNameBoxAndFormulaBar();
  bool CreatePreviewToolBar();
  bool CreateFindToolBar();
  bool CreateReBar();
  bool CreateStatusBar();
  void ShowFindBar(bool show);
  void EnableFind(bool findBarShown);
  HFONT BarFont() const;

  // Message map (frame_message_map.cpp).
  LRESULT OnSize(WPARAM kind);
  bool OnCommand(UINT command, UINT code, HWND control, LRESULT* result);
  LRESULT OnNotify(NMHDR* header, bool& handled);
  bool OnTooltipText(NMTTDISPINFOA* info);
  void ForwardToActiveDocument(WPARAM wp, LPARAM lp);
  void ShowRecentCellText(int index);

  // Tool windows and the About box (frame_tool_windows.cpp).
  bool OnToolWindowCommand(UINT command);
  void OnFormatWorksheet();
  void OnZoom();
  void OnAbout();
  // After an activation: tool windows the options mark visible come back
  // with a document, and go while none is active.
  void RestoreToolWindows(bool documentActive);

  // Help, bookmark removal and settings changes (frame_window_commands.cpp).
  bool OnWindowCommand(UINT command);
  // Register and Unregister: the automation server's registration, reported
  // in a message box.
  void OnRegisterServer();
  void OnUnregisterServer();
  void RemoveSelectedBookmark();
  void RemoveAllBookmarks();
  void SetNameBoxText(const char* text);
  void OnSettingChange();

  // Options, profiles, regions and locking (frame_settings_commands.cpp).
  bool OnSettingsCommand(UINT command);
  void OnOptions();
  void OnLoadProfile();
  void OnSaveProfileAs();
  void OnLocale(UINT command);
  void OnLockEdit();
  // After the options or a profile changed them: levels, default font,
  // bookmarks, command states, status bar and views.
  void RefreshAfterSettingsChange(const SettingsLevels& before);
  // The bar states, the status bar and every view after a change that
  // shows everywhere.
  void RefreshAllViews();

  // The name box's go-to and the bookmarks it lists (frame_go_to.cpp).
  void OnGoTo(bool listChoice);
  void OnAddBookmark();

  // The formula composer (frame_composer.cpp).
  void OnViewComposer();

  // Run time (frame_run_time.cpp).
  void OnInitMenuPopup(HMENU popup);
  void StampActivityClocks();
  void EnableMainToolBar(bool documentActive);
  // The menu's commands that work on a document, enabled only while one is
  // active.
  void EnableDocumentCommands(bool documentActive);
  // The visible tool windows the frame owns, raised above it
  // (frame_message_map.cpp).
  void KeepToolWindowsAbove();
  void ShowPanesAndSplits(CChildFrame* child, const CWorkSheet* sheet);
  void ShowActiveCellText(CChildFrame* child, CWorkBook* book);

  // The format-cells sheet and the font-style buttons (frame_format_cells.cpp).
  void OnCellFormatWindow();
  void OnFontStyle(UINT command);
  void ShowActiveCellFormat(CChildFrame* child, CWorkBook* book);

  // Toolbar drop-downs and band chevrons (frame_drop_downs.cpp).
  LRESULT OnToolbarDropDown(NMTOOLBARA* info);
  LRESULT OnChevronPushed(NMREBARCHEVRON* info);

  // Printing and the preview (frame_printing.cpp).
  bool OnPrintCommand(UINT command);
  void OnFilePrint();
  void OnFilePageSetup();
  void OnFilePrintPreview();
  void OnPreviewPage(bool next);
  void OnPreviewPageSelected();
  void OnPreviewClose();
  void ShowPreviewPage(UINT page);
  void EnablePreviewCommands(bool previewing);
  // Opens the printer, measures it and paginates the worksheet into the
  // workbook's page list; the sheets to print, or -1 after the failure was
  // shown. The printer's device context is left in *printer.
  int32_t PaginateForPrinter(CWorkBook* book, CWorkSheet* sheet, HDC* printer);
  // The print selection taken from the active view.
  void TakeViewSelection(CWorkSheet* sheet);
  // Whether the previewed workbook is still open; closes the preview when
  // it is not.
  bool PreviewedDocumentOpen();
  LRESULT OnMouseWheel(WPARAM wp, LPARAM lp, bool& handled);
  // The message filter while the preview is shown: true when the message
  // was consumed.
  bool FilterPreviewInput(MSG* msg);

  // Timer and closing (frame_timer.cpp, frame_close.cpp).
  void OnTimer(UINT_PTR id);
  LRESULT OnClose();
  LRESULT OnDestroy();

  HACCEL m_accelerators = nullptr;
  HMENU m_menu = nullptr;
  CMDICommandBarCtrl m_commandBar;
  HWND m_mainToolBar = nullptr;
  HWND m_secondaryToolBar = nullptr;
  HWND m_previewToolBar = nullptr;
  HWND m_findToolBar = nullptr;
  HWND m_nameBox = nullptr;
  // Turns Enter in the name box into the Go command.
  CLocationCombo m_nameBoxCombo;
  HWND m_formulaBarFrame = nullptr;
  HWND m_previewPageCombo = nullptr;
  HWND m_findCombo = nullptr;
  HWND m_replaceCombo = nullptr;
  // Set by Zoom In of the preview, cleared by Zoom Out and by the preview.
  uint8_t m_previewZoomIn = 0;
  uint8_t m_refreshPending = 0;
  // A document window is taken to be active until the first idle refresh
  // finds none.
  uint8_t m_documentActive = 1;
  bool m_inTimerTick = false;
  bool m_loopRegistered = false;
  // The lock on the automation server that keeps the process alive while
  // the frame exists; taken by the program's start, not by frames of tests.
  bool m_holdsServerLock = false;
  CRichEditCtrl2 m_formulaBar;
  CStatusBarCtrl2 m_statusBar;
  RecentDocumentList m_recentDocuments;
  ActivityClocks m_clocks = {0, 0};
  CWorksheetFormatHost m_worksheetFormatHost{this};
  CWorksheetPropSheet m_worksheetFormat{&m_worksheetFormatHost};
  CZoomDlg m_zoomChooser;
  CComposerHost m_composerHost{this};
  CComposerDlg m_composer{&m_composerHost};

  // The chosen printer and its device settings (movable global memory).
  char m_printerName[kPrinterNameCapacity] = {};
  HGLOBAL m_devMode = nullptr;
  // The workbook and worksheet being printed or previewed, with the page
  // geometry of the printer.
  CWorkBook* m_printBook = nullptr;
  CWorkSheet* m_printSheet = nullptr;
  PrinterPages m_printPages = {{}, {100, 100}, 0};
  // The preview and the tool windows it hid.
  CPrintPreviewWindow m_preview;
  static constexpr int kMaxHiddenToolWindows = 8;
  HWND m_hiddenToolWindows[kMaxHiddenToolWindows] = {};
  int m_hiddenToolWindowCount = 0;
  // The last page shown in each form of the print sheet.
  int m_printSheetPage = 0;
  int m_pageSetupPage = 0;
  CFormatPropSheet m_formatSheet{this};
};

#endif
