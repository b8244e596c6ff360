#include "automation/server/server_module_win32.h"

CExeModule& ServerModule() {
  static CExeModule module;
  return module;
}

void CExeModule::Init(DWORD mainThreadId) {
  m_mainThreadId = mainThreadId;
  m_timeOut = kDefaultTimeOut;
  m_pause = kDefaultPause;
}

void CExeModule::Term() {
  // A monitor that posted the quit message has closed the event itself.
  if (HANDLE event = InterlockedExchangePointer(&m_shutdownEvent, nullptr)) CloseHandle(event);
}

LONG CExeModule::Lock() { return InterlockedIncrement(&m_lockCount); }

LONG CExeModule::Unlock() {
  const LONG count = InterlockedDecrement(&m_lockCount);
  if (count == 0) {
    InterlockedExchange(&m_activity, 1);
    if (m_shutdownEvent != nullptr)
      SetEvent(m_shutdownEvent);
    else if (m_mainThreadId != 0)
      PostThreadMessageA(m_mainThreadId, WM_QUIT, 0, 0);
  }
  return count;
}

void CExeModule::ReleaseFrameLock() {
  if (m_lockCount == 1) {
    m_timeOut = 0;
    m_pause = 0;
  }
  Unlock();
}

bool CExeModule::StartMonitor() {
  m_shutdownEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (m_shutdownEvent == nullptr) return false;
  DWORD threadId = 0;
  HANDLE thread = CreateThread(nullptr, 0, MonitorThread, this, 0, &threadId);
  if (thread == nullptr) {
    CloseHandle(m_shutdownEvent);
    m_shutdownEvent = nullptr;
    return false;
  }
  CloseHandle(thread);
  return true;
}

bool CExeModule::ServeCallsOnTheirWay() {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    // A quit posted again by a monitor has nothing left to end.
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
      if (msg.message != WM_QUIT) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    if (m_lockCount > 0) return true;
    const DWORD spent = GetTickCount() - start;
    if (spent >= m_pause) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, m_pause - spent, QS_ALLINPUT);
  }
}

DWORD WINAPI CExeModule::MonitorThread(void* module) {
  static_cast<CExeModule*>(module)->MonitorShutdown();
  return 0;
}

void CExeModule::MonitorShutdown() {
  for (;;) {
    WaitForSingleObject(m_shutdownEvent, INFINITE);
    // Every release within the time-out starts the wait again.
    DWORD waited;
    do {
      InterlockedExchange(&m_activity, 0);
      waited = WaitForSingleObject(m_shutdownEvent, m_timeOut);
    } while (waited == WAIT_OBJECT_0);
    if (m_activity == 0 && m_lockCount == 0) break;
  }
  Term();
  PostThreadMessageA(m_mainThreadId, WM_QUIT, 0, 0);
}
