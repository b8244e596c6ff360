#ifndef TALVERO_PLATFORM_UI_DIALOG_IMPL_H
#define TALVERO_PLATFORM_UI_DIALOG_IMPL_H

// The base of every dialog of the program, modal or modeless, made from a
// dialog template of the program's resources. As with windows, a dialog
// handles its messages in ProcessWindowMessage; the object is bound at
// WM_INITDIALOG, released at WM_NCDESTROY, and OnFinalMessage runs once
// after the outermost message. Notifications of child controls are offered
// to their objects (reflection), and OK and Cancel that the map leaves
// unhandled end the dialog with their identifier.
//
// A modal dialog runs its own loop, which takes scripted answers in tests
// (dialog_script.h) and ends on WM_QUIT (posted again, result IDCANCEL). A
// modeless dialog registers itself with the thread's message loop as a
// message filter while its window exists, so its keys reach the dialog
// manager before any other filter.

#include <windows.h>

#include "platform/ui/message_loop.h"
#include "platform/ui/window.h"

class CDialogImpl : public CWindow, public CMessageFilter {
 public:
  explicit CDialogImpl(int templateId) : m_templateId(templateId) {}
  CDialogImpl(const CDialogImpl&) = delete;
  CDialogImpl& operator=(const CDialogImpl&) = delete;
  virtual ~CDialogImpl();

  // Runs the dialog until EndDialog; -1 when it cannot be created.
  INT_PTR DoModal(HWND owner);
  // Creates the modeless dialog (shown when its template says so); null on failure.
  HWND Create(HWND owner);
  // Ends a modal dialog with the result; a modeless one is destroyed.
  void EndDialog(INT_PTR result);
  int TemplateId() const { return m_templateId; }
  bool IsModal() const { return m_modal; }

  virtual LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled);
  virtual void OnFinalMessage(HWND hwnd);
  // Keys of the dialog and its controls go to the dialog manager.
  bool PreTranslateMessage(MSG* msg) override;

  static CDialogImpl* FromHandle(HWND hwnd);
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

 private:
  INT_PTR Dispatch(UINT msg, WPARAM wp, LPARAM lp);
  void RunModalLoop();

  int m_templateId;
  bool m_modal = false;
  bool m_ended = false;
  bool m_filterRegistered = false;
  INT_PTR m_result = 0;
  int m_dispatchDepth = 0;
  bool m_finalPending = false;
  HWND m_finalHwnd = nullptr;
};

#endif
