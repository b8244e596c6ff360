#ifndef TALVERO_VIEW_TABLE_EDIT_H
#define TALVERO_VIEW_TABLE_EDIT_H

// The in-cell editor and its drop-down list: a multi-line EDIT and a
// LISTBOX, children of the grid view, each with a message map of its own in
// front of the control's. Their keys end or cancel the edit through the view;
// what they leave alone goes on to the control. Windows only.

#include <windows.h>

#include "platform/ui/window_impl.h"

class CTalverView;

class CTableEdit : public CWindowImpl {
 public:
  explicit CTableEdit(CTalverView* view) : m_view(view) {}
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

 private:
  LRESULT OnKeyDown(WPARAM key, bool& handled);
  CTalverView* m_view;
};

class CDropDownList : public CWindowImpl {
 public:
  explicit CDropDownList(CTalverView* view) : m_view(view) {}
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

 private:
  LRESULT OnKeyDown(WPARAM key, bool& handled);
  LRESULT OnLButtonUp(UINT msg, WPARAM wp, LPARAM lp);
  CTalverView* m_view;
};

#endif
