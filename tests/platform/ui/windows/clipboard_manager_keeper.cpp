// Keeps Wine's clipboard manager in one process while the window tests run.
//
// Wine runs one clipboard manager per window station: a thread of the
// process that manages a desktop, while the managers of the other desktops
// wait their turn. Each window test program makes a desktop of its own, and
// the shared desktop closes a second after its last program ends, so the
// manager kept passing from one desktop's process to the next. A manager
// empties the clipboard when it starts, to take over what the display's
// selection holds: a test that copied at that moment pasted nothing. This
// program stays on the shared desktop, which then stays open, and its
// manager stays the only one until the keeper is released.
//
//   keep     stays on the shared desktop once its manager answers, until
//            released (exit 0 when another keeper already does)
//   ready    waits until a keeper holds the manager: exit 0, or 1
//   release  lets the keeper end

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

const char kKeptEvent[] = "talvero-test-clipboard-manager-kept";
const char kReleaseEvent[] = "talvero-test-clipboard-manager-release";
// Counts of 20 ms waits: a closing desktop hands the manager on within about
// a second; a keeper that starts as many programs start gets more time.
const int kManagerWaits = 1000;
const int kReadyWaits = 1500;

bool UnderWine() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// The manager's window is a message-only window of its desktop, so it is
// found here only while this desktop's process runs the manager. It answers
// once it has started, and so once it has emptied the clipboard.
bool ThisDesktopRunsTheManager() {
  GetDesktopWindow();  // joins the shared desktop, starting its process if it is closed
  for (int attempt = 0; attempt < kManagerWaits; ++attempt) {
    if (HWND manager = FindWindowExA(HWND_MESSAGE, nullptr, "__wine_clipboard_manager", nullptr)) {
      DWORD_PTR answer = 0;
      if (SendMessageTimeoutA(manager, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer) != 0) return true;
    }
    Sleep(20);
  }
  return false;
}

int Keep() {
  HANDLE kept = CreateEventA(nullptr, TRUE, FALSE, kKeptEvent);
  if (kept == nullptr) return 2;
  if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, kReleaseEvent);
  if (release == nullptr) return 2;
  if (!ThisDesktopRunsTheManager()) {
    std::fprintf(stderr, "Wine's clipboard manager did not start on the shared desktop.\n");
    return 1;
  }
  SetEvent(kept);
  WaitForSingleObject(release, INFINITE);
  return 0;
}

int Ready() {
  for (int attempt = 0; attempt < kReadyWaits; ++attempt) {
    if (HANDLE kept = OpenEventA(SYNCHRONIZE, FALSE, kKeptEvent)) {
      const DWORD waited = WaitForSingleObject(kept, 20);
      CloseHandle(kept);
      if (waited == WAIT_OBJECT_0) return 0;
    } else {
      Sleep(20);
    }
  }
  std::fprintf(stderr, "No keeper holds Wine's clipboard manager: copies in the window tests may be lost.\n");
  return 1;
}

int Release() {
  if (HANDLE release = OpenEventA(EVENT_MODIFY_STATE, FALSE, kReleaseEvent)) {
    SetEvent(release);
    CloseHandle(release);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  if (!UnderWine()) return 0;
  if (std::strcmp(argv[1], "keep") == 0) return Keep();
  if (std::strcmp(argv[1], "ready") == 0) return Ready();
  if (std::strcmp(argv[1], "release") == 0) return Release();
  return 2;
}
