#include <sys/time.h>

#include <ctime>

#include "platform/os_services.h"
#include "platform/os_services_system.h"

void OsSystemLocalTime(OsLocalTime* out) {
  timeval now;
  gettimeofday(&now, nullptr);
  time_t seconds = now.tv_sec;
  tm local;
  localtime_r(&seconds, &local);
  *out = OsLocalTime{static_cast<uint16_t>(local.tm_year + 1900),
                     static_cast<uint16_t>(local.tm_mon + 1),
                     static_cast<uint16_t>(local.tm_wday),
                     static_cast<uint16_t>(local.tm_mday),
                     static_cast<uint16_t>(local.tm_hour),
                     static_cast<uint16_t>(local.tm_min),
                     static_cast<uint16_t>(local.tm_sec),
                     static_cast<uint16_t>(now.tv_usec / 1000)};
}

// Windows-1252, the code page of an English Windows system.
namespace {

bool IsLower1252(uint8_t c) {
  return (c >= 'a' && c <= 'z') || c == 0x9A || c == 0x9C || c == 0x9E || c == 0xFF ||
         (c >= 0xE0 && c <= 0xFE && c != 0xF7);
}

bool IsUpper1252(uint8_t c) {
  return (c >= 'A' && c <= 'Z') || c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9F ||
         (c >= 0xC0 && c <= 0xDE && c != 0xD7);
}

}  // namespace

uint8_t OsCharUpper(uint8_t c) {
  if (!IsLower1252(c)) return c;
  if (c == 0xFF) return 0x9F;
  if (c >= 0x9A && c <= 0x9E) return static_cast<uint8_t>(c - 0x10);
  return static_cast<uint8_t>(c - 0x20);
}

uint8_t OsCharLower(uint8_t c) {
  if (!IsUpper1252(c)) return c;
  if (c == 0x9F) return 0xFF;
  if (c >= 0x8A && c <= 0x8E) return static_cast<uint8_t>(c + 0x10);
  return static_cast<uint8_t>(c + 0x20);
}

bool OsIsCharAlpha(uint8_t c) {
  // Letters without a case partner: f-hook, the ordinal indicators, micro and sharp s.
  return IsLower1252(c) || IsUpper1252(c) || c == 0x83 || c == 0xAA || c == 0xB5 ||
         c == 0xBA || c == 0xDF;
}

uint32_t OsSysColor(int kind) {
  switch (kind) {
    case kOsColorWindowText: return 0x000000;
    case kOsColorWindow: return 0xFFFFFF;
    case kOsColorButtonFace: return 0xF0F0F0;
    case kOsColorButtonText: return 0x000000;
    case kOsColorButtonHighlight: return 0xFFFFFF;
    case kOsColorButtonShadow: return 0xA0A0A0;
    case kOsColorHighlight: return 0xD77800;
    default: return 0;
  }
}

bool OsStockPaletteEntry(int index, uint32_t* colour) {
  // The 20 static colours of the system palette, as 0x00BBGGRR.
  static const uint32_t kStock[20] = {
      0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000,
      0xC0C0C0, 0xC0DCC0, 0xF0CAA6, 0xF0FBFF, 0xA4A0A0, 0x808080, 0x0000FF,
      0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
  if (index < 0 || index >= 20) return false;
  *colour = kStock[index];
  return true;
}
