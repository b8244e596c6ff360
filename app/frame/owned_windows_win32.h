#ifndef TALVERO_APP_FRAME_OWNED_WINDOWS_WIN32_H
#define TALVERO_APP_FRAME_OWNED_WINDOWS_WIN32_H

// The visible pop-ups a window owns on this thread (the frame's tool
// windows), each handed to visit(HWND).

#include <windows.h>

template <class Visit>
void ForEachVisibleOwnedWindow(HWND owner, Visit visit) {
  struct Walk {
    HWND owner;
    Visit* visit;
    static BOOL CALLBACK Step(HWND window, LPARAM context) {
      Walk* walk = reinterpret_cast<Walk*>(context);
      if (::GetWindow(window, GW_OWNER) == walk->owner && ::IsWindowVisible(window))
        (*walk->visit)(window);
      return TRUE;
    }
  };
  Walk walk = {owner, &visit};
  ::EnumThreadWindows(::GetCurrentThreadId(), &Walk::Step, reinterpret_cast<LPARAM>(&walk));
}

#endif
