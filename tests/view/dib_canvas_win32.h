#ifndef TALVERO_TESTS_VIEW_DIB_CANVAS_WIN32_H
#define TALVERO_TESTS_VIEW_DIB_CANVAS_WIN32_H

// A memory device context with a white 32-bit top-down DIB section selected,
// whose pixels the drawing tests read back.

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

class DibCanvas {
 public:
  DibCanvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    prior_ = SelectObject(dc_, bitmap_);
    std::memset(bits_, 0xFF, static_cast<size_t>(width) * height * 4);
  }
  ~DibCanvas() {
    SelectObject(dc_, prior_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  DibCanvas(const DibCanvas&) = delete;
  DibCanvas& operator=(const DibCanvas&) = delete;

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  COLORREF At(int x, int y) const {
    GdiFlush();
    const uint32_t p = bits_[y * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  // Top-down rows of 0x00RRGGBB pixels.
  std::vector<uint32_t> Pixels() const {
    GdiFlush();
    return std::vector<uint32_t>(bits_, bits_ + static_cast<size_t>(width_) * height_);
  }

 private:
  int width_;
  int height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ prior_;
  uint32_t* bits_ = nullptr;
};

#endif
