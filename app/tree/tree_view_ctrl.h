#ifndef TALVERO_APP_TREE_TREE_VIEW_CTRL_H
#define TALVERO_APP_TREE_TREE_VIEW_CTRL_H

// The worksheet tree control of a document window: the common tree control
// with a message map of its own for the right mouse button, which selects
// the item under it, and for the context menu of the tree's commands (New
// Worksheet, New Folder, Rename, the clipboard commands and Statistics),
// whose chosen command goes to the main frame like any other; keys with Alt
// go to the window system, so that Alt+F4 closes the program here too.
// An item's name is edited in place in an edit control of the tree's own,
// which keeps every key while it is open (IsTreeLabelEdit). Windows only.

#include <windows.h>

#include <commctrl.h>

#include "platform/ui/window_impl.h"

// The edit control in which the tree edits an item's name. An edit control
// has no key of its own that selects all its text: Ctrl+A does here, as in
// the in-cell editor.
class CTreeLabelEdit : public CWindowImpl {
 public:
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
};

class CTreeViewCtrlEx2 : public CWindowImpl {
 public:
  // The window that owns the context menu and receives its commands.
  HWND menuOwner = nullptr;

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

  HTREEITEM SelectedItem() const;
  LPARAM ItemData(HTREEITEM item) const;
  // The item at a point of the client area (on its icon, label or state
  // icon), or null.
  HTREEITEM ItemAt(POINT client) const;
  // The edit control of an item's name being edited in place, or null.
  HWND LabelEdit() const;
  // Ends an open edit of an item's name: the typed name is taken, as Enter
  // takes it, or dropped, as Esc drops it.
  void EndLabelEdit(bool cancel) const;
  // Takes over the edit the tree has just opened for an item's name (from
  // TVN_BEGINLABELEDIT on, when the tree has made it).
  void AdoptLabelEdit();

 private:
  LRESULT OnRButtonDown(POINT client);
  LRESULT OnContextMenu(POINT screen);

  CTreeLabelEdit m_labelEdit;
};

// Whether the window is the edit control in which a tree control edits an
// item's name. The tree answers WM_GETDLGCODE for it as for a control that
// wants all keys, without the text selection an edit control otherwise
// reports.
bool IsTreeLabelEdit(HWND window);

#endif
