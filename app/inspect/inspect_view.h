#ifndef TALVERO_APP_INSPECT_INSPECT_VIEW_H
#define TALVERO_APP_INSPECT_INSPECT_VIEW_H

// The "Inspect Cells" pane at the bottom of a document window: a watch list
// of cells from any worksheet of the workbook, one owner-drawn row per entry
// with its name, address, formula and value under a column header, and
// along the bottom the name edit and the buttons that add, rename, remove
// and go to entries. The entries are the workbook's; the pane only edits
// and shows them. Windows only.

#include <windows.h>

#include "platform/ui/window_impl.h"

class CChildFrame;

class CInspectView : public CWindowImpl {
 public:
  static constexpr UINT kHeaderId = 1060;
  static constexpr UINT kListId = 1061;
  static constexpr UINT kAddId = 1062;
  static constexpr UINT kRemoveId = 1063;
  static constexpr UINT kRemoveAllId = 1064;
  static constexpr UINT kGoToId = 1065;
  static constexpr UINT kEditId = 1066;
  static constexpr UINT kRenameId = 1067;
  static constexpr int kNameLimit = 128;

  // The row height is the system's menu-bar height now.
  explicit CInspectView(CChildFrame* owner);

  // A child of parent with a client edge; null when it cannot be created.
  HWND CreateInspectView(HWND parent);

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

  // One row per workbook entry, the first selected; false when a row
  // cannot be added.
  bool FillList();
  // Repaints the rows, after every recalculation.
  void InvalidateList();

  HWND List() const { return m_list; }
  HWND Edit() const { return m_edit; }
  HWND Header() const { return m_header; }
  HWND Button(UINT id) const { return GetDlgItem(static_cast<int>(id)); }

  void OnAdd();
  void OnRenameEntry();
  void OnRemove();
  void OnRemoveAll();
  void OnGoTo();

 private:
  LRESULT OnCreate();
  void OnSize(int width, int height);
  LRESULT OnPaint();
  void DrawItem(const DRAWITEMSTRUCT& item);
  bool OnCommand(UINT id, UINT code);
  int SelectedIndex() const;
  void SelectIndex(int index);
  void TakeEditText(char* name, int size) const;

  CChildFrame* m_owner;
  HWND m_header = nullptr;
  HWND m_edit = nullptr;
  HWND m_list = nullptr;
  int m_rowHeight;
};

#endif
