#include "platform/ui/window_class.h"

#include "platform/ui/window_impl.h"

namespace {

// The program registers a few dozen classes at most.
constexpr int kMaxClasses = 64;
WindowClass g_classes[kMaxClasses];
int g_classCount = 0;

bool Remember(ATOM atom, WNDPROC baseProc, WindowClass* out) {
  for (int i = 0; i < g_classCount; ++i) {
    if (g_classes[i].atom == atom) {
      *out = g_classes[i];
      return true;
    }
  }
  if (g_classCount == kMaxClasses) return false;
  g_classes[g_classCount++] = WindowClass{atom, baseProc};
  *out = WindowClass{atom, baseProc};
  return true;
}

bool FindRegistered(const char* name, WindowClass* out) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  ATOM atom = static_cast<ATOM>(GetClassInfoExA(GetModuleHandleA(nullptr), name, &wc));
  if (atom == 0) return false;
  for (int i = 0; i < g_classCount; ++i) {
    if (g_classes[i].atom == atom) {
      *out = g_classes[i];
      return true;
    }
  }
  return false;
}

}  // namespace

bool RegisterOwnClass(const char* name, UINT style, HCURSOR cursor, HBRUSH background,
                      WindowClass* out, WNDPROC baseProc) {
  if (FindRegistered(name, out)) return true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = CWindowImpl::WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = cursor != nullptr ? cursor : LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  ATOM atom = RegisterClassExA(&wc);
  return atom != 0 && Remember(atom, baseProc, out);
}

bool RegisterSuperclass(const char* name, const char* systemClass, WindowClass* out) {
  if (FindRegistered(name, out)) return true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExA(nullptr, systemClass, &wc)) return false;
  WNDPROC baseProc = wc.lpfnWndProc;
  wc.lpfnWndProc = CWindowImpl::WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = name;
  ATOM atom = RegisterClassExA(&wc);
  return atom != 0 && Remember(atom, baseProc, out);
}

WNDPROC BaseProcOfClass(ATOM atom) {
  for (int i = 0; i < g_classCount; ++i) {
    if (g_classes[i].atom == atom) return g_classes[i].baseProc;
  }
  return DefWindowProcA;
}
