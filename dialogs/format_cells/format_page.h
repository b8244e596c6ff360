#ifndef TALVERO_DIALOGS_FORMAT_PAGE_H
#define TALVERO_DIALOGS_FORMAT_PAGE_H

// What every page of the format-cells sheet shares: the sheet it belongs to,
// its refresh in both directions, its message filter (the sheet's share of
// the input first, then the page's dialog manager), and the rule by which a
// control's notification counts as the user's change, so that loading a
// page applies nothing. Windows only.

#include <windows.h>

#include "dialogs/format_cells/page_toolbar.h"
#include "platform/ui/dialog_impl.h"

class CFormatPropSheet;
class CWindowImpl;
class FormatSheetHost;

// A preview window of a page over the rectangle (in the page's client
// coordinates): a visible child with a tab stop, of a class of its own.
HWND CreatePreviewWindow(CWindowImpl& preview, const char* className, HWND page, const RECT& rect);

class CFormatPage {
 public:
  explicit CFormatPage(CFormatPropSheet* sheet) : m_sheet(sheet) {}
  virtual ~CFormatPage() = default;
  CFormatPage(const CFormatPage&) = delete;
  CFormatPage& operator=(const CFormatPage&) = delete;

  // 0 loads the controls from the page's copy of the cell's format; 1
  // stores the controls into the copy.
  virtual void RefreshPage(int direction) = 0;
  virtual CDialogImpl& Dialog() = 0;

 protected:
  // The page's part of its window's messages.
  virtual LRESULT OnInitPage() = 0;
  virtual void OnDestroyPage() {}
  // True when the page took the command.
  virtual bool OnPageCommand(int, int, HWND) { return false; }

  FormatSheetHost* Host() const;
  // True when the sheet consumed the message.
  bool FilterPageInput(MSG* msg);
  // Only while the control is visible (and, where asked, has the focus) and
  // the page is not loading.
  bool IsUserChange(HWND control, bool focusNeeded) const;

  CFormatPropSheet* m_sheet;
  bool m_loading = false;
  // The page's toolbar, if it has one of its own; it goes with the window.
  HWND m_toolbar = nullptr;
};

// A page window of the given dialog class.
template <class DialogBase>
class CFormatPageT : public DialogBase, public CFormatPage {
 public:
  template <class... Args>
  explicit CFormatPageT(CFormatPropSheet* sheet, Args... args) : DialogBase(args...), CFormatPage(sheet) {}
  bool PreTranslateMessage(MSG* msg) override { return FilterPageInput(msg) || DialogBase::PreTranslateMessage(msg); }
  CDialogImpl& Dialog() override { return *this; }

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override {
    switch (msg) {
      case WM_INITDIALOG:
        return OnInitPage();
      case WM_DESTROY:
        DestroyPageToolBar(m_toolbar);
        m_toolbar = nullptr;
        OnDestroyPage();
        break;
      case WM_COMMAND:
        if (OnPageCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp))) return 0;
        break;
    }
    return DialogBase::ProcessWindowMessage(msg, wp, lp, handled);
  }
};

#endif
