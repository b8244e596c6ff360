#include "platform/ui/message_loop.h"

namespace {

thread_local CMessageLoop* t_loop = nullptr;

// An undocumented system timer message that carets and tooltips use; it is no
// user input.
constexpr UINT kSystemTimer = 0x0118;

}  // namespace

bool IsUserInputMessage(UINT msg) {
  switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_INITMENUPOPUP:
      return true;
  }
  return false;
}

CMessageLoop::CMessageLoop() : m_previous(t_loop) { t_loop = this; }

CMessageLoop::~CMessageLoop() {
  if (t_loop == this) t_loop = m_previous;
}

CMessageLoop* CMessageLoop::Current() { return t_loop; }

bool CMessageLoop::AddMessageFilter(CMessageFilter* filter) {
  if (filter == nullptr || m_filterCount == kMaxFilters) return false;
  m_filters[m_filterCount++] = filter;
  return true;
}

bool CMessageLoop::RemoveMessageFilter(CMessageFilter* filter) {
  for (int i = 0; i < m_filterCount; ++i) {
    if (m_filters[i] == filter) {
      m_filters[i] = nullptr;
      m_holes = true;
      if (m_callDepth == 0) Compact();
      return true;
    }
  }
  return false;
}

bool CMessageLoop::AddIdleHandler(CIdleHandler* handler) {
  if (handler == nullptr || m_idleCount == kMaxIdleHandlers) return false;
  m_idle[m_idleCount++] = handler;
  return true;
}

bool CMessageLoop::RemoveIdleHandler(CIdleHandler* handler) {
  for (int i = 0; i < m_idleCount; ++i) {
    if (m_idle[i] == handler) {
      m_idle[i] = nullptr;
      m_holes = true;
      if (m_callDepth == 0) Compact();
      return true;
    }
  }
  return false;
}

void CMessageLoop::Compact() {
  int n = 0;
  for (int i = 0; i < m_filterCount; ++i) {
    if (m_filters[i] != nullptr) m_filters[n++] = m_filters[i];
  }
  for (int i = n; i < m_filterCount; ++i) m_filters[i] = nullptr;
  m_filterCount = n;
  n = 0;
  for (int i = 0; i < m_idleCount; ++i) {
    if (m_idle[i] != nullptr) m_idle[n++] = m_idle[i];
  }
  for (int i = n; i < m_idleCount; ++i) m_idle[i] = nullptr;
  m_idleCount = n;
  m_holes = false;
}

bool CMessageLoop::PreTranslateMessage(MSG* msg) {
  ++m_callDepth;
  bool consumed = false;
  for (int i = m_filterCount - 1; i >= 0 && !consumed; --i) {
    if (m_filters[i] != nullptr) consumed = m_filters[i]->PreTranslateMessage(msg);
  }
  if (--m_callDepth == 0 && m_holes) Compact();
  return consumed;
}

bool CMessageLoop::OnIdle() {
  ++m_callDepth;
  bool more = false;
  // Handlers added during the pass wait for the next one.
  int count = m_idleCount;
  for (int i = 0; i < count; ++i) {
    if (m_idle[i] != nullptr && m_idle[i]->OnIdle()) more = true;
  }
  if (--m_callDepth == 0 && m_holes) Compact();
  return more;
}

void CMessageLoop::HandleMessage(MSG* msg) {
  if (PreTranslateMessage(msg)) return;
  TranslateMessage(msg);
  DispatchMessageA(msg);
}

bool CMessageLoop::TriggersIdle(const MSG& msg, POINT* lastMouse) {
  if (msg.message == WM_PAINT || msg.message == kSystemTimer) return false;
  if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
    // Windows repeats a mouse move without movement after many changes.
    if (msg.pt.x == lastMouse->x && msg.pt.y == lastMouse->y) return false;
    *lastMouse = msg.pt;
  }
  return true;
}

int CMessageLoop::Run() {
  MSG msg{};
  POINT lastMouse{-1, -1};
  bool idleDue = true;
  for (;;) {
    for (int repeat = 0; idleDue && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE); ++repeat) {
      if (!OnIdle() || repeat + 1 >= kMaxIdleRepeats) idleDue = false;
    }
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) return -1;
    if (got == 0) return static_cast<int>(msg.wParam);
    HandleMessage(&msg);
    if (TriggersIdle(msg, &lastMouse)) idleDue = true;
  }
}

int CMessageLoop::RunPending(int limit, bool idleAlways, bool* quitSeen) {
  MSG msg{};
  POINT lastMouse{-1, -1};
  int handled = 0;
  bool idleDue = idleAlways;
  if (quitSeen != nullptr) *quitSeen = false;
  while (handled < limit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      if (quitSeen != nullptr) *quitSeen = true;
      return handled;
    }
    HandleMessage(&msg);
    ++handled;
    if (TriggersIdle(msg, &lastMouse)) idleDue = true;
  }
  if (idleDue) {
    for (int repeat = 1; OnIdle() && repeat < kMaxIdleRepeats; ++repeat) {
    }
  }
  return handled;
}
