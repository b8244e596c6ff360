#ifndef TALVERO_APP_DOCUMENT_CHILD_FRAME_H
#define TALVERO_APP_DOCUMENT_CHILD_FRAME_H

// The window of one open workbook: an MDI child of the main frame that owns
// the document's workbook and lays out its panes (the "Worksheets" tree on
// the left, the grid views in the middle, the "Inspect Cells" list at the
// bottom). It receives every document command the frame leaves unhandled and
// carries the document's file life: save, save as, reload and the save
// question on close.
//
// The files of app/document split it by concern: creation, layout, panes and
// splits (child_frame_win32.cpp), the message and command map
// (child_frame_commands_win32.cpp), the file commands with the close
// question (child_frame_file_win32.cpp), the formula bar's entry
// (child_frame_formula_bar_win32.cpp), the worksheet tree pane
// (child_frame_tree_win32.cpp), the clipboard with the paste ring
// (child_frame_clipboard_win32.cpp), and the cell commands
// (cell_commands_win32.cpp dispatches them): editing (edit_commands_win32.cpp),
// rows, columns and recalculation (row_column_commands_win32.cpp), dates,
// data series and quick statistics (date_series_commands_win32.cpp); the
// commands of the small dialogs and the cell searches
// (sheet_commands_win32.cpp dispatches them); the chart editor it owns and
// its edits applied to a container (child_frame_chart_editor_win32.cpp);
// inserting containers, charts and images and saving the selection as an
// image (container_commands_win32.cpp).

#include <cstdint>

#include <windows.h>

#include <commctrl.h>

#include "app/document/document_view.h"
#include "app/document/row_sort.h"
#include "app/inspect/inspect_view.h"
#include "app/tree/tree_view_ctrl.h"
#include "core/workbook/workbook.h"
#include "dialogs/chart_editor/chart_editor.h"
#include "platform/ui/mdi_child.h"
#include "platform/ui/pane_container.h"
#include "platform/ui/splitter_window.h"
#include "view/grid_view/grid_view_host.h"

class CMainFrame;
struct SaveLosses;

class CChildFrame : public CMDIChildWindowImpl, public GridViewHost, public ChartEditorOwner {
 public:
  static constexpr UINT kTreeId = 1027;
  static constexpr int kMinViewPane = 30;
  // The tree's images, in the order the window adds them.
  static constexpr int kImageFolder = 0;
  static constexpr int kImageFolderOpen = 1;
  static constexpr int kImageWorksheet = 2;
  static constexpr int kImageActiveWorksheet = 3;
  static constexpr int kImageWorkbook = 4;
  // Paces the scrolling and the expanding of a drag in the tree.
  static constexpr UINT_PTR kTreeDragTimer = 240;
  static constexpr UINT kTreeDragInterval = 100;
  static constexpr int kTreeDragExpandAfter = 1000;
  // Posted when the tree refused a typed name: the message is shown once
  // the tree's edit of the name has ended, and the edit opened again.
  static constexpr UINT kMsgNameRefused = WM_APP + 0x3F10;

  explicit CChildFrame(CMainFrame* owner);
  ~CChildFrame() override;

  // Creates the window in the frame's MDI client; null on failure, when
  // the object is still the caller's to delete.
  HWND CreateDocumentWindow(HWND mdiClient, const RECT* rect = nullptr);
  // After the workbook was loaded or created: the stored pane layout, the
  // first view focused, the title and the frame brought up to date.
  void ApplyStoredLayout();

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  void OnFinalMessage(HWND hwnd) override;

  // The view holding the active pane of the views' splitter; null when no
  // views' splitter exists.
  CDocumentView* GetActiveView();
  // What the grid views read and write of their document window.
  CWorkBook* Workbook() override { return &m_workbook; }
  HWND DocumentWindow() override { return m_hWnd; }
  uint8_t& EditState() override { return m_editing; }
  CTalverView* OtherView(const CTalverView* view) override;
  bool RowSplitterShowsBoth() override;
  bool ColumnSplitterShowsBoth() override;
  void ShowError(uint8_t code) override;

  bool IsModified() const { return m_modified; }
  // The title changes only with the flag.
  void SetModified(bool modified) override;
  void ShowRecalculatedValues() override;
  // A drag of the selection: the cells of one range moved (or copied) onto
  // another of the same size, with one undo step, then the edit's tail.
  bool MoveRangeByDrag(const SelectionRange& from, const SelectionRange& to, bool copy) override;
  // The chart editor (child_frame_chart_editor_win32.cpp): opened by a
  // double click on a container, following it when it is dragged, and
  // putting its working copy into the container with one undo step.
  void OpenContainerEditor(ContainerRecord* container) override;
  void ContainerPlaced(const ContainerRecord& container) override;
  bool ActiveSelection(SelectionRange* selection) override;
  void ApplyContainerEdit(ContainerRecord& copy) override;
  // The commands that put a container on the active worksheet and that
  // save the selection as an image (container_commands_win32.cpp); false
  // for any other command.
  bool OnContainerCommand(UINT command);
  void OnInsertContainer();
  void OnInsertChart(uint8_t kind);
  void OnInsertImage();
  void OnSaveSelectionAsImage();
  // Repaints the active view from just above the range's top to its bottom
  // (the whole view for a range outside the grid) and brings the other pane
  // in line.
  void InvalidateCellRange(uint32_t firstColumn, uint32_t lastColumn, uint32_t firstRow, uint32_t lastRow);
  void UpdateTitle();
  void RefreshFrameUI() override;
  // True when the window may close, asking about unsaved changes.
  bool QueryClose();
  // The Save command as an automatic save sends it: nobody may be there to
  // answer, so a save whose file would keep less than the document holds
  // is held back, asking nothing and writing nothing; false then, and the
  // document stays modified.
  bool SaveAutomatically();

  // The commands on the worksheet and the workbook that open the program's
  // small dialogs (sheet_commands_win32.cpp dispatches them): going to the
  // next or previous filled, empty, identical or different row and to the
  // top or bottom (search_commands_win32.cpp), sorting
  // (sort_commands_win32.cpp), row heights and column widths, drop-down
  // lists (list_commands_win32.cpp), protection and statistics
  // (workbook_commands_win32.cpp). False for any other command.
  bool OnSheetCommand(UINT command);
  void OnFindNext(UINT command);
  void OnFindPrevious(UINT command);
  void OnSort();
  void OnSortByFirstColumn(bool ascending);
  void OnRowHeight();
  void OnColumnWidth();
  void OnDropDownList();
  void OnProtection();
  void OnStatistics();

  void OnFileSave();
  void OnFileSaveAs();
  void OnFileReload();
  // Writes the workbook as fileKind (with its native variant); a null path
  // saves into the file the document holds. True on success; on failure the
  // message is shown and the file, path, kind and variant are as before.
  bool SaveDocument(const char* path, uint8_t fileKind, uint8_t saveFormat, bool newFile);
  // Save As into an xBase dialect: the table's description, derived from
  // the active worksheet unless the document is of that dialect already,
  // edited in the xBase dialog into *description. False when the user
  // cancelled or the description could not be made (shown).
  bool EditXBaseDescription(uint8_t dialect, const char* path, HWND owner, XBaseTable* description);
  // Before a save into a file that keeps less than the workbook holds:
  // asks, naming what the file will not keep, with Cancel the default; with
  // readBack the question says that the document is then read back from
  // the new file. True when nothing is lost or the user chose OK.
  bool ConfirmSaveLosses(uint8_t kind, const SaveLosses& losses, bool readBack);
  // Shows why a save cannot be made at all (a number too wide for its
  // field, with its cell) and says true; false when it can.
  bool RefuseImpossibleSave(const SaveLosses& losses);

  void OnToggleTree();
  void OnToggleInspect();
  void OnPaneClose(HWND pane);
  void OnSplit(bool vertical);
  void OnNextPane(bool backwards);
  void OnBeginEdit(const char* typed);
  void OnEnterFormulaBar();
  // Types the text into every selected cell with one undo step, then the
  // edit's tail.
  void EnterTextIntoSelection(const char* text);

  // The cell commands of the Edit, View, Insert, Format and Tools menus, the
  // find bar and the quick-statistics and date menus; false for any other
  // command.
  bool OnCellCommand(UINT command);
  void OnEditUndo();
  void OnEditRedo();
  void OnIncrementValue(bool up);
  void OnConvert(uint8_t kind);
  void OnInsertReference(UINT command);
  void OnFindNext();
  void OnReplaceAll(bool wholeWorksheet);
  void OnTranspose();
  void OnSelectRows();
  void OnSelectColumns();
  void OnSelectAll();
  void OnInsertRemoveColumns(bool insert);
  void OnInsertRemoveRows(bool insert);
  void OnAutoRowHeight();
  void OnAutoColumnWidth();
  void OnFreezeColumn();
  void OnFreezeRow();
  void OnUpdateData();
  void OnAutomaticUpdating();
  void OnInsertDate(UINT command);
  void OnDataSeries();
  void OnQuickStatistic(UINT command);
  // The active view, after its open edit was ended, when it shows a
  // worksheet; else null.
  CDocumentView* ViewForCommand();
  // The range becomes the active view's selection, its first cell the
  // current one; the view is repainted and the frame shows the selection.
  void SelectRange(const SelectionRange& range);
  // Runs the recalculation the update mode asks for after an edit and
  // repaints the formula cells and the inspect list.
  void RecalcAfterEdit();
  // The tail of every command that changed the worksheet: recalculation,
  // the other pane brought in line, the frame's states and status bar, and
  // the modified flag.
  void CompleteEdit();
  // Ends an open in-cell edit of the active view without moving.
  void EndOpenEdit();

  // The worksheet tree pane (child_frame_tree_win32.cpp). The tree shows
  // the workbook's item list; each tree item carries its workbook item as
  // its data, the root "Workbook" none.
  // Rebuilds the whole tree; false when an item cannot be inserted.
  bool FillTree();
  // Inserts one workbook item with its contents at its place; null on failure.
  HTREEITEM InsertTreeItem(CWorkSheetTree::CTreeItem* item);
  // Searched depth-first from start (null: the root).
  HTREEITEM FindTreeItem(HTREEITEM start, const CWorkSheetTree::CTreeItem* item);
  // Selects and shows the item's tree item, which runs the selection change.
  void SelectTreeItem(const CWorkSheetTree::CTreeItem* item);
  void DeleteTreeItem(const CWorkSheetTree::CTreeItem* item);
  // The workbook item of the tree's selection; null for the root or none.
  CWorkSheetTree::CTreeItem* SelectedTreeWorkbookItem();
  // The active view's cursor on the cell, the selection that cell alone.
  void SetCursorCell(uint32_t column, uint32_t row);
  void OnNewTreeItem(bool folder);
  void OnRename();
  void OnNextWorksheet(bool backwards);

  // The clipboard and the paste ring (child_frame_clipboard_win32.cpp).
  void OnEditCopy();
  void OnEditCut();
  void OnEditPaste();
  void OnPasteRingEntry(int32_t slot);
  void OnEditDelete();
  // Whether the next document window opens maximised follows this one,
  // noted once as it closes.
  void RememberMaximised();
  // Delete's work: the selected tree item, container, or cells (their
  // formats alone with formats).
  void DeleteSelection(bool formats);
  // Writes the selection's text (or the selected container's picture) to
  // the clipboard, with the private format naming the ring slot unless
  // withRingSlot is false.
  void PutRingEntryOnClipboard(int32_t slot, bool withRingSlot);
  void PasteRingEntry(int32_t slot);
  void PasteText(const char* text, size_t length);

  // The views' splitter that has a window, or null.
  CSplitterWindow* ViewsSplitter();
  bool TreeShown() const;
  bool InspectShown() const;
  bool SecondViewShown();
  HWND PaneWindow(int pane);

  CSplitterWindowT<true> m_splitOuter;
  CSplitterWindowT<false> m_splitInner;
  CPaneContainer m_paneTree;
  CTreeViewCtrlEx2 m_tree;
  CPaneContainer m_paneInspect;
  CInspectView m_inspect{this};
  CSplitterWindowT<true> m_splitViewsV;
  CSplitterWindowT<false> m_splitViewsH;
  CDocumentView m_view[2]{CDocumentView(this), CDocumentView(this)};
  HIMAGELIST m_treeImages = nullptr;
  // The tree item that shows the active worksheet's image: the worksheet
  // the views show.
  HTREEITEM m_activeTreeItem = nullptr;
  // Its window exists only while it is open.
  bool m_maximisedRemembered = false;
  CChartDlg2 m_chartEditor{this};
  CWorkBook m_workbook;
  bool m_modified = false;
  // Set while SaveAutomatically runs the Save command, and by that command
  // when it held the save back.
  bool m_savingAutomatically = false;
  bool m_saveHeldBack = false;
  uint8_t m_editing = 0;
  CMainFrame* m_owner;

 private:
  LRESULT OnCreate();
  void OnSize();
  bool OnCommand(UINT command, HWND source, LPARAM lp);
  void OnContextMenu(POINT screen);
  bool CreateViewsSplitter(CSplitterWindow& splitter);
  void CopyFirstViewPosition();
  void StoreViewPosition();
  void StoreViewPositionInto(CWorkSheet* sheet);
  void LoadViewPosition();
  // Applies the undo step to undo, or the next one to redo, and brings the
  // views up to date.
  void ApplyUndoStep(bool redo);
  void RefreshAfterStep(int32_t index, const CWorkSheet* shownBefore);
  // Inserts or removes the selected rows (or columns) with one undo step.
  void InsertOrRemoveLines(bool rows, bool insert);
  // Freezes the first visible row (kCornerRowGiven) or column
  // (kCornerColumnGiven) of the active view, or ends that freeze.
  void ToggleFreeze(uint8_t flag);
  // The tail of a change of sizes or panes: no recalculation, the views
  // repainted, the modified flag and the frame's states.
  void CompleteLayoutChange();
  void GoToFoundRow(UINT command);
  // A new container at the active view's top-left visible cell, holding
  // the chart when one is given (it then owns it); null when there is no
  // view or it cannot be made (shown, the chart deleted).
  ContainerRecord* NewViewContainer(ChartRecord* chart);
  // Gives the container an id and puts it on the active worksheet as one
  // undo step, then repaints it; false (shown, the container deleted) when
  // no id is free.
  bool AddNewContainer(ContainerRecord* container);
  void SortSelectionRows(const UndoRange& range, const SortColumns& columns);

  // Tree notifications and the drag (child_frame_tree_win32.cpp).
  LRESULT OnTreeNotify(NMHDR* header);
  void OnTreeSelChanged(HTREEITEM item);
  bool OnTreeItemExpanding(const NMTREEVIEWA& change);
  bool OnTreeEndLabelEdit(const TVITEMA& item);
  void OnNameRefused();
  void OnTreeBeginDrag(POINT dragPoint);
  void OnTreeDragTick();
  HTREEITEM TreeRoot() const;
  HTREEITEM InsertOneTreeItem(HTREEITEM parent, HTREEITEM after, CWorkSheetTree::CTreeItem* item);
  // A new item, just linked into the workbook, shown in the tree, recorded
  // as one undo step and selected; false (error 8 shown, the item unlinked
  // and deleted) when the tree cannot show it.
  bool ShowInsertedTreeItem(CWorkSheetTree::CTreeItem* item);
  // An edit command goes to the frame's name box or formula bar when one
  // has the focus, else to the open in-cell editor; false for neither.
  bool RouteEditToControl(UINT message);
  void SetTreeImage(HTREEITEM item, int image);
  // The views at the worksheet's stored position, zoom and split.
  void ShowWorksheetView(const CWorkSheet* sheet);
  void ShowSplitOf(const CWorkSheet* sheet);
  bool FocusInTree() const;
  // Gives the tree the focus, showing its pane first when it is hidden: an
  // item's name is edited where the user sees it.
  void FocusTree();
  CWorkSheet* ShownWorksheet();

  // Selection changes the tree makes while it is filled or items are
  // deleted change no active worksheet.
  bool m_treeQuiet = false;
  // A drag in the tree: its drop target and how long the pointer rested on it.
  HTREEITEM m_dropTarget = nullptr;
  int m_dropHover = 0;
  bool m_treeDragging = false;
  // A typed name the workbook refused: the item, why, and the text typed.
  CWorkSheetTree::CTreeItem* m_refusedNameItem = nullptr;
  uint8_t m_refusedNameError = 0;
  char m_refusedName[kTreePathCapacity] = {};

  // Set once the window stands: from then on its final message frees the
  // object. Until then (a creation that fails ends with a final message
  // too) the one who made the object frees it.
  bool m_ownsItself = false;
};

// The document window of a handle, when it is one of the open documents.
CChildFrame* DocumentWindowOfHandle(HWND window);
// Lets the frame, auto-save and auto-close reach the document windows.
void InstallDocumentWindowServices();

#endif
