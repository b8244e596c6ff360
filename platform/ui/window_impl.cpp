#include "platform/ui/window_impl.h"

namespace {

const char kObjectProperty[] = "TalveroWindowObject";

// The object whose window CreateWindowEx is making on this thread; the window
// takes it at WM_NCCREATE. Creation is synchronous, so one slot per thread
// serves nested creations (a window creating its children in WM_CREATE).
struct PendingCreation {
  CWindowImpl* object;
  ATOM atom;
};
thread_local PendingCreation t_pending{nullptr, 0};

ATOM ClassAtomOf(HWND hwnd) { return static_cast<ATOM>(GetClassWord(hwnd, GCW_ATOM)); }

// The child a parent notification comes from, or null when it has none (menu
// items, accelerators, scroll bars of the window itself).
HWND NotifyingChild(HWND parent, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
      return reinterpret_cast<HWND>(lp);
    case WM_NOTIFY:
      return reinterpret_cast<NMHDR*>(lp)->hwndFrom;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      return item->CtlType == ODT_MENU ? nullptr : item->hwndItem;
    }
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      return item->CtlType == ODT_MENU || wp == 0 ? nullptr : GetDlgItem(parent, item->CtlID);
    }
    case WM_COMPAREITEM:
      return reinterpret_cast<COMPAREITEMSTRUCT*>(lp)->hwndItem;
    case WM_DELETEITEM:
      return reinterpret_cast<DELETEITEMSTRUCT*>(lp)->hwndItem;
  }
  return nullptr;
}

}  // namespace

CWindowImpl::~CWindowImpl() {
  // An object that dies before its window leaves the window to its class.
  if (m_hWnd != nullptr && FromHandle(m_hWnd) == this) Unbind();
}

HWND CWindowImpl::Create(const WindowClass& cls, HWND parent, const RECT& rect, const char* text,
                         DWORD style, DWORD exStyle, UINT_PTR id) {
  return Create(cls, parent, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                text, style, exStyle, id);
}

HWND CWindowImpl::Create(const WindowClass& cls, HWND parent, int x, int y, int width, int height,
                         const char* text, DWORD style, DWORD exStyle, UINT_PTR id) {
  if (m_hWnd != nullptr) return nullptr;
  PendingCreation saved = t_pending;
  t_pending = PendingCreation{this, cls.atom};
  HWND hwnd = CreateWindowExA(exStyle, MAKEINTATOM(cls.atom), text, style, x, y, width, height,
                              parent, reinterpret_cast<HMENU>(id), GetModuleHandleA(nullptr),
                              nullptr);
  t_pending = saved;
  // A window whose WM_CREATE failed is gone again; so is our binding.
  return hwnd != nullptr ? m_hWnd : nullptr;
}

bool CWindowImpl::SubclassWindow(HWND hwnd) {
  if (m_hWnd != nullptr || hwnd == nullptr || FromHandle(hwnd) != nullptr) return false;
  Bind(hwnd);
  m_subclassed = true;
  m_baseProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc)));
  return true;
}

HWND CWindowImpl::UnsubclassWindow() {
  if (!m_subclassed || m_hWnd == nullptr) return nullptr;
  HWND hwnd = m_hWnd;
  Unbind();
  return hwnd;
}

void CWindowImpl::Bind(HWND hwnd) {
  m_hWnd = hwnd;
  SetPropA(hwnd, kObjectProperty, this);
}

void CWindowImpl::Unbind() {
  if (m_subclassed) {
    SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_baseProc));
    m_subclassed = false;
  }
  RemovePropA(m_hWnd, kObjectProperty);
  m_hWnd = nullptr;
}

LRESULT CWindowImpl::ProcessWindowMessage(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

void CWindowImpl::OnFinalMessage(HWND) {}

LRESULT CWindowImpl::DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  return CallWindowProcA(m_baseProc, m_hWnd, msg, wp, lp);
}

CWindowImpl* CWindowImpl::FromHandle(HWND hwnd) {
  return static_cast<CWindowImpl*>(GetPropA(hwnd, kObjectProperty));
}

LRESULT CALLBACK CWindowImpl::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  CWindowImpl* self = FromHandle(hwnd);
  if (self == nullptr && msg == WM_NCCREATE && t_pending.object != nullptr &&
      t_pending.atom == ClassAtomOf(hwnd)) {
    self = t_pending.object;
    t_pending.object = nullptr;
    self->Bind(hwnd);
    self->m_baseProc = BaseProcOfClass(t_pending.atom);
  }
  if (self == nullptr) return CallWindowProcA(BaseProcOfClass(ClassAtomOf(hwnd)), hwnd, msg, wp, lp);
  return self->Dispatch(msg, wp, lp);
}

LRESULT CWindowImpl::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  HWND hwnd = m_hWnd;
  ++m_dispatchDepth;
  bool handled = true;
  LRESULT result = ProcessWindowMessage(msg, wp, lp, handled);
  if (!handled && msg != WM_NCDESTROY && !ReflectNotification(hwnd, msg, wp, lp, &result)) {
    result = DefWindowProc(msg, wp, lp);
  }
  if (msg == WM_NCDESTROY) {
    // The base procedure frees what the class keeps for the window, whatever
    // the map did with the message.
    DefWindowProc(msg, wp, lp);
    Unbind();
    m_finalPending = true;
    m_finalHwnd = hwnd;
  }
  --m_dispatchDepth;
  if (m_finalPending && m_dispatchDepth == 0) {
    m_finalPending = false;
    OnFinalMessage(m_finalHwnd);  // may delete this
  }
  return result;
}

bool ReflectNotification(HWND parent, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  HWND child = NotifyingChild(parent, msg, wp, lp);
  if (child == nullptr || child == parent) return false;
  CWindowImpl* object = CWindowImpl::FromHandle(child);
  if (object == nullptr) return false;
  bool handled = true;
  LRESULT r = object->ProcessWindowMessage(kReflectBase + msg, wp, lp, handled);
  if (handled) *result = r;
  return handled;
}
