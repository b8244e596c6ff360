#include "platform/ui/dialog_impl.h"

#include "platform/ui/dialog_script.h"
#include "platform/ui/window_impl.h"

namespace {

const char kDialogProperty[] = "TalveroDialogObject";

// Messages whose result a dialog procedure returns itself instead of through
// DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT msg) {
  switch (msg) {
    case WM_INITDIALOG:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
      return true;
  }
  return false;
}

}  // namespace

CDialogImpl::~CDialogImpl() {
  if (m_filterRegistered) {
    if (CMessageLoop* loop = CMessageLoop::Current()) loop->RemoveMessageFilter(this);
  }
  if (m_hWnd != nullptr && FromHandle(m_hWnd) == this) RemovePropA(m_hWnd, kDialogProperty);
}

CDialogImpl* CDialogImpl::FromHandle(HWND hwnd) {
  return static_cast<CDialogImpl*>(GetPropA(hwnd, kDialogProperty));
}

INT_PTR CDialogImpl::DoModal(HWND owner) {
  if (m_hWnd != nullptr) return -1;
  m_modal = true;
  m_ended = false;
  m_result = IDCANCEL;
  // Disabling the owner makes the dialog modal to it, as the system's own
  // modal dialogs do.
  HWND root = owner != nullptr ? GetAncestor(owner, GA_ROOT) : nullptr;
  bool ownerWasEnabled = root != nullptr && ::IsWindowEnabled(root);
  HWND hwnd = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), owner,
                                 DialogProc, reinterpret_cast<LPARAM>(this));
  if (hwnd == nullptr) {
    m_modal = false;
    return -1;
  }
  if (ownerWasEnabled) ::EnableWindow(root, FALSE);
  if (!m_ended) {
    ::ShowWindow(hwnd, SW_SHOW);
    RunModalLoop();
  }
  // The owner is enabled again before the dialog goes, so that activation
  // returns to it.
  if (ownerWasEnabled) ::EnableWindow(root, TRUE);
  INT_PTR result = m_result;
  ::DestroyWindow(hwnd);
  m_modal = false;
  return result;
}

void CDialogImpl::RunModalLoop() {
  DialogScript* script = FindDialogScript(m_templateId);
  int nextStep = 0;
  if (script != nullptr) {
    script->ran = true;
    script->stalled = false;
  }
  MSG msg;
  while (!m_ended) {
    if (script != nullptr && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      // Idle: the dialog has done all it was asked; answer the next steps,
      // or end the dialog when the script has nothing more to say.
      if (nextStep < script->stepCount) {
        nextStep = ApplyDialogScriptSteps(m_hWnd, *script, nextStep);
      } else {
        script->stalled = true;
        EndDialog(IDABORT);
        break;
      }
    }
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : -1);
      m_result = IDCANCEL;
      break;
    }
    // The dialog's own keys first (its override ends with the dialog manager).
    if (PreTranslateMessage(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (script != nullptr) script->result = m_result;
}

HWND CDialogImpl::Create(HWND owner) {
  if (m_hWnd != nullptr) return nullptr;
  m_modal = false;
  HWND hwnd = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), owner,
                                 DialogProc, reinterpret_cast<LPARAM>(this));
  if (hwnd == nullptr) return nullptr;
  if (CMessageLoop* loop = CMessageLoop::Current()) m_filterRegistered = loop->AddMessageFilter(this);
  return hwnd;
}

void CDialogImpl::EndDialog(INT_PTR result) {
  if (m_modal) {
    m_result = result;
    m_ended = true;
    // Wake the loop if it waits in GetMessage.
    if (m_hWnd != nullptr) ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
  } else if (m_hWnd != nullptr) {
    ::DestroyWindow(m_hWnd);
  }
}

bool CDialogImpl::PreTranslateMessage(MSG* msg) {
  return m_hWnd != nullptr && IsDialogMessageA(m_hWnd, msg);
}

LRESULT CDialogImpl::ProcessWindowMessage(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

void CDialogImpl::OnFinalMessage(HWND) {}

INT_PTR CALLBACK CDialogImpl::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  CDialogImpl* self = FromHandle(hwnd);
  if (self == nullptr) {
    if (msg != WM_INITDIALOG) return FALSE;
    self = reinterpret_cast<CDialogImpl*>(lp);
    self->m_hWnd = hwnd;
    SetPropA(hwnd, kDialogProperty, self);
  }
  return self->Dispatch(msg, wp, lp);
}

INT_PTR CDialogImpl::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  HWND hwnd = m_hWnd;
  ++m_dispatchDepth;
  bool handled = true;
  LRESULT result = ProcessWindowMessage(msg, wp, lp, handled);
  if (!handled && msg != WM_NCDESTROY) handled = ReflectNotification(hwnd, msg, wp, lp, &result);
  if (!handled && msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED &&
      (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
    // A page of a tool window (a child dialog) is not ended by Enter or Esc
    // pressed in one of its controls: the window it belongs to is.
    HWND owner = (::GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) != 0 ? ::GetAncestor(hwnd, GA_ROOT) : nullptr;
    if (owner != nullptr && owner != hwnd)
      ::SendMessageA(owner, WM_COMMAND, wp, lp);
    else
      EndDialog(LOWORD(wp));
    handled = true;
    result = 0;
  }
  if (!handled && msg == WM_INITDIALOG) {
    handled = true;
    result = TRUE;  // the dialog manager focuses the first control
  }
  if (msg == WM_NCDESTROY) {
    if (m_filterRegistered) {
      if (CMessageLoop* loop = CMessageLoop::Current()) loop->RemoveMessageFilter(this);
      m_filterRegistered = false;
    }
    RemovePropA(hwnd, kDialogProperty);
    m_hWnd = nullptr;
    m_finalPending = true;
    m_finalHwnd = hwnd;
  }
  --m_dispatchDepth;
  if (m_finalPending && m_dispatchDepth == 0) {
    m_finalPending = false;
    OnFinalMessage(m_finalHwnd);  // may delete this
    return handled && ReturnsResultDirectly(msg) ? result : handled;
  }
  if (!handled) return FALSE;
  if (ReturnsResultDirectly(msg)) return result;
  SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
  return TRUE;
}
