#ifndef TALVERO_BENCH_MEMORY_SCREEN_WIN32_H
#define TALVERO_BENCH_MEMORY_SCREEN_WIN32_H

// What the painting benchmarks paint on and how they time it: a screen-sized
// 32-bit DIB section in a memory device context, and milliseconds per call.

#include <windows.h>

class MemoryScreen {
 public:
  MemoryScreen(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dc_ = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    prior_ = SelectObject(dc_, bitmap_);
  }
  ~MemoryScreen() {
    SelectObject(dc_, prior_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  MemoryScreen(const MemoryScreen&) = delete;
  MemoryScreen& operator=(const MemoryScreen&) = delete;

  HDC dc() const { return dc_; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ prior_;
};

// Milliseconds per call of f, over count calls.
template <class F>
double MillisecondsPerCall(int count, F f) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < count; ++i) f();
  QueryPerformanceCounter(&end);
  return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart / count;
}

#endif
