#ifndef TALVERO_AUTOMATION_SERVER_MODULE_H
#define TALVERO_AUTOMATION_SERVER_MODULE_H

// The automation server's module: the locks that keep the process alive (the
// main frame holds one, every live automation object one more) and the
// monitor thread that ends the message loop once the last lock is gone and
// the time-out has passed without activity. The monitor is the only thread
// beside the user-interface thread; it reads the count, the activity flag and
// the time-out, and ends the process only by posting WM_QUIT.

#include <windows.h>

class CExeModule {
 public:
  static constexpr DWORD kDefaultTimeOut = 5000;
  static constexpr DWORD kDefaultPause = 1000;

  // Remembers the thread the monitor posts WM_QUIT to and sets the time-out
  // and the pause to their defaults.
  void Init(DWORD mainThreadId);
  // Closes the shutdown event when one is open.
  void Term();

  LONG Lock();
  // Releasing the last lock marks activity and wakes the monitor; without a
  // monitor the loop is told to end at once.
  LONG Unlock();
  // The frame's release: when its lock is the only one, the process ends
  // without waiting.
  void ReleaseFrameLock();
  LONG LockCount() const { return m_lockCount; }

  // Creates the shutdown event and starts the monitor thread; false when the
  // event cannot be created.
  bool StartMonitor();
  // The wait after the loop ends, before the process goes on to exit.
  DWORD Pause() const { return m_pause; }
  void SetTimeOut(DWORD timeOut) { m_timeOut = timeOut; }
  void SetPause(DWORD pause) { m_pause = pause; }

  // Called once the loop has ended and the class objects are revoked, so
  // that new activations start a new process. A client may still be on its
  // way in with a class object it was given before (the classic race of a
  // local server that exits while a client connects), or an object may have
  // been created after the monitor decided: for the pause the calls that
  // arrive are served. True when an object is alive after all: the process
  // must register its class objects again and go on serving.
  bool ServeCallsOnTheirWay();

 private:
  static DWORD WINAPI MonitorThread(void* module);
  void MonitorShutdown();

  DWORD m_mainThreadId = 0;
  volatile LONG m_lockCount = 0;
  HANDLE m_shutdownEvent = nullptr;
  volatile LONG m_activity = 0;
  volatile DWORD m_timeOut = kDefaultTimeOut;
  DWORD m_pause = kDefaultPause;
};

// The process's one module.
CExeModule& ServerModule();

#endif
