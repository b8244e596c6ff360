#include "charts/png/png_image_list.h"

#include <cstdlib>
#include <cstring>

#include "charts/png/png_codec.h"

namespace {

// Colour depth of the list: 32 bits where the system draws them (anything
// after Windows 2000, or when the version cannot be read), else 24.
UINT ImageListColorFlag() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  bool known = GetVersionExA(&version) != 0;
#pragma GCC diagnostic pop
  if (!known || version.dwMinorVersion > 0 || version.dwMajorVersion > 5) return ILC_COLOR32;
  return ILC_COLOR24;
}

void GreyOut(BitmapInfoHeader* dib, COLORREF background) {
  const uint32_t stride = (uint32_t(dib->biWidth) * 3 + 3) & ~3u;
  uint8_t* bits = reinterpret_cast<uint8_t*>(dib) + sizeof(BitmapInfoHeader);
  for (int32_t y = 0; y < -dib->biHeight; ++y) {
    uint8_t* p = bits + stride * y;
    for (int32_t x = 0; x < dib->biWidth; ++x, p += 3) {
      if (p[2] == GetRValue(background) && p[1] == GetGValue(background) && p[0] == GetBValue(background)) continue;
      uint8_t grey = static_cast<uint8_t>((6969u * p[2] + 23434u * p[1] + 2365u * p[0]) >> 15);
      p[0] = p[1] = p[2] = grey;
    }
  }
}

// The decoded picture of one resource as a bitmap the list can copy; null on
// any failure.
HBITMAP LoadPngBitmap(int resourceId, int imageSize, COLORREF background, bool greyed) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resourceId), "PNG_DATA");
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) return nullptr;
  uint8_t error = 0;
  BitmapInfoHeader* dib =
      DecodePng(static_cast<const uint8_t*>(bytes), SizeofResource(module, found), false, background, &error);
  if (dib == nullptr) return nullptr;
  HBITMAP bitmap = nullptr;
  if (dib->biWidth == imageSize && dib->biHeight == -imageSize) {
    if (greyed) GreyOut(dib, background);
    void* pixels = nullptr;
    bitmap = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(dib), DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bitmap != nullptr) memcpy(pixels, reinterpret_cast<uint8_t*>(dib) + sizeof(BitmapInfoHeader), dib->biSizeImage);
  }
  free(dib);
  return bitmap;
}

}  // namespace

HIMAGELIST LoadPngImageList(int imageSize, int count, const int* resourceIds, COLORREF background, bool greyed) {
  HIMAGELIST list = ImageList_Create(imageSize, imageSize, ImageListColorFlag(), count, 0);
  if (list == nullptr) return nullptr;
  for (int i = 0; i < count; ++i) {
    HBITMAP bitmap = LoadPngBitmap(resourceIds[i], imageSize, background, greyed);
    int added = bitmap ? ImageList_Add(list, bitmap, nullptr) : -1;
    if (bitmap) DeleteObject(bitmap);
    if (added < 0) {
      ImageList_Destroy(list);
      return nullptr;
    }
  }
  return list;
}
