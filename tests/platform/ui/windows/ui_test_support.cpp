#include "tests/platform/ui/windows/ui_test_support.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

#include "platform/ui/message_loop.h"

void MessageLog::Add(int tag, UINT msg, WPARAM wp) {
  if (m_count < kCapacity) m_entries[m_count++] = LoggedMessage{tag, msg, wp};
}

int MessageLog::Find(int tag, UINT msg, int from) const {
  for (int i = from; i < m_count; ++i) {
    if (m_entries[i].tag == tag && m_entries[i].msg == msg) return i;
  }
  return -1;
}

int MessageLog::CountOf(int tag, UINT msg) const {
  int n = 0;
  for (int i = 0; i < m_count; ++i) n += m_entries[i].tag == tag && m_entries[i].msg == msg;
  return n;
}

const WindowClass& TestWindowClass() {
  static WindowClass cls{};
  if (cls.atom == 0) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    RegisterOwnClass("TalveroTestWindow", CS_DBLCLKS, nullptr,
                     reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), &cls);
  }
  return cls;
}

LRESULT CLoggingWindow::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) {
  if (m_log != nullptr) m_log->Add(m_tag, msg, wp);
  handled = false;
  return 0;
}

HWND CLoggingWindow::CreateTopLevel(const char* title, int width, int height) {
  RECT r{20, 20, 20 + width, 20 + height};
  return Create(TestWindowClass(), nullptr, r, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
}

int PumpMessages(int limit) {
  if (CMessageLoop* loop = CMessageLoop::Current()) return loop->RunPending(limit);
  MSG msg;
  int handled = 0;
  while (handled < limit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    ++handled;
  }
  return handled;
}

bool SaveClientScreenshot(HWND hwnd, const char* name) {
  RECT client;
  if (!GetClientRect(hwnd, &client) || client.right <= 0 || client.bottom <= 0) return false;
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  int width = client.right;
  int height = client.bottom;
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // bottom-up, as BMP files keep their rows
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC windowDc = GetDC(hwnd);
  HBITMAP dib = CreateDIBSection(windowDc, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                 &bits, nullptr, 0);
  bool ok = false;
  if (dib != nullptr) {
    HDC memDc = CreateCompatibleDC(windowDc);
    HGDIOBJ old = SelectObject(memDc, dib);
    BitBlt(memDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    SelectObject(memDc, old);
    DeleteDC(memDc);
    const char* folder = getenv("TALVERO_ARTIFACTS_DIR");
    char path[MAX_PATH];
    snprintf(path, sizeof path, "%s/%s.bmp", folder != nullptr ? folder : ".", name);
    DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + rowBytes * height;
    if (FILE* f = fopen(path, "wb")) {
      ok = fwrite(&file, sizeof file, 1, f) == 1 && fwrite(&header, sizeof header, 1, f) == 1 &&
           fwrite(bits, rowBytes * height, 1, f) == 1;
      ok = fclose(f) == 0 && ok;
    }
    DeleteObject(dib);
  }
  ReleaseDC(hwnd, windowDc);
  return ok;
}
