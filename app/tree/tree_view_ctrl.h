#ifndef TALVERO_APP_TREE_TREE_VIEW_CTRL_H
#define TALVERO_APP_TREE_TREE_VIEW_CTRL_H

// The worksheet tree control of a document window: the common tree control
// with a message map of its own for the right mouse button, which selects
// the item under it, and for the context menu of the tree's commands (New
// Worksheet, New Folder, Rename, the clipboard commands and Statistics),
// whose chosen command goes to the main frame like any other; keys with Alt
// go to the window system, so that Alt+F4 closes the program here too.
// Windows only.

#include <windows.h>

#include <commctrl.h>

#include "platform/ui/window_impl.h"

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

 private:
  LRESULT OnRButtonDown(POINT client);
  LRESULT OnContextMenu(POINT screen);
  void EndLabelEdit() const;
};

#endif
