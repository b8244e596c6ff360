#include <windows.h>

#include "platform/os_services.h"
#include "platform/os_services_system.h"

void OsSystemLocalTime(OsLocalTime* out) {
  SYSTEMTIME st;
  GetLocalTime(&st);
  *out = OsLocalTime{st.wYear, st.wMonth, st.wDayOfWeek, st.wDay,
                     st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

// CharUpperA/CharLowerA take a single character in the low word of the pointer
// argument when the high word is zero.
uint8_t OsCharUpper(uint8_t c) {
  return static_cast<uint8_t>(reinterpret_cast<uintptr_t>(
      CharUpperA(reinterpret_cast<LPSTR>(static_cast<uintptr_t>(c)))));
}

uint8_t OsCharLower(uint8_t c) {
  return static_cast<uint8_t>(reinterpret_cast<uintptr_t>(
      CharLowerA(reinterpret_cast<LPSTR>(static_cast<uintptr_t>(c)))));
}

bool OsIsCharAlpha(uint8_t c) { return IsCharAlphaA(static_cast<CHAR>(c)) != 0; }

uint32_t OsSysColor(int kind) {
  switch (kind) {
    case kOsColorWindowText: return GetSysColor(COLOR_WINDOWTEXT);
    case kOsColorWindow: return GetSysColor(COLOR_WINDOW);
    case kOsColorButtonFace: return GetSysColor(COLOR_BTNFACE);
    case kOsColorButtonText: return GetSysColor(COLOR_BTNTEXT);
    case kOsColorButtonHighlight: return GetSysColor(COLOR_BTNHIGHLIGHT);
    case kOsColorButtonShadow: return GetSysColor(COLOR_BTNSHADOW);
    case kOsColorHighlight: return GetSysColor(COLOR_HIGHLIGHT);
    default: return 0;
  }
}

bool OsStockPaletteEntry(int index, uint32_t* colour) {
  if (index < 0 || index >= 20) return false;
  HPALETTE palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
  PALETTEENTRY entry;
  if (!palette || GetPaletteEntries(palette, static_cast<UINT>(index), 1, &entry) != 1)
    return false;
  *colour = RGB(entry.peRed, entry.peGreen, entry.peBlue);
  return true;
}
