// Header and footer codes drawn on a printer or preview device: the runs
// laid out in their sections and drawn on the device, the dates and times
// written by the user's locale.

#include "view/draw_context/draw_context.h"
#include "view/draw_context/text_placement.h"
#include "view/printing/header_footer_codes.h"
#include "view/printing/header_footer_layout.h"

namespace {

SYSTEMTIME ToSystemTime(const OsLocalTime& t) {
  SYSTEMTIME s = {};
  s.wYear = t.year;
  s.wMonth = t.month;
  s.wDayOfWeek = t.dayOfWeek;
  s.wDay = t.day;
  s.wHour = t.hour;
  s.wMinute = t.minute;
  s.wSecond = t.second;
  s.wMilliseconds = t.milliseconds;
  return s;
}

bool FormatShortDate(const OsLocalTime& time, char* buffer, size_t size) {
  const SYSTEMTIME s = ToSystemTime(time);
  return GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE | LOCALE_NOUSEROVERRIDE, &s, nullptr, buffer,
                        static_cast<int>(size)) > 0;
}

bool FormatTime(const OsLocalTime& time, char* buffer, size_t size) {
  const SYSTEMTIME s = ToSystemTime(time);
  return GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &s, nullptr, buffer, static_cast<int>(size)) > 0;
}

// The file's last modification in local time; false when it cannot be examined.
bool FileModificationTime(const char* path, OsLocalTime* out) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  FILETIME local;
  SYSTEMTIME s;
  if (!path || !GetFileAttributesExA(path, GetFileExInfoStandard, &data) ||
      !FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &s))
    return false;
  *out = {s.wYear, s.wMonth, s.wDayOfWeek, s.wDay, s.wHour, s.wMinute, s.wSecond, s.wMilliseconds};
  return true;
}

bool DrawRun(void* self, int horizontal, int32_t x, int32_t y, const char* text, size_t length) {
  DrawContext* dc = static_cast<DrawContext*>(self);
  return dc->SetTextAlign(horizontal, kAlignTop) && dc->DrawText(x, y, text, length, 0);
}

}  // namespace

bool DrawContext::DrawHeaderFooter(RECT* rect, const char* codes, bool measureOnly, const char* filePath,
                                   const char* sheetPath, const PrintedSheetInfo* sheet) {
  OsLocalTime fileTime;
  const bool haveFileTime = FileModificationTime(filePath, &fileTime);
  const HeaderFooterSources sources = {filePath,  sheetPath,       sheet, haveFileTime ? &fileTime : nullptr,
                                       FormatShortDate, FormatTime};
  const HeaderRunDrawer drawer = {DrawRun, this};
  int32_t height = 0;
  const bool ok = device_ && PlaceHeaderFooter(measurer_, measureOnly ? nullptr : &drawer, rect->left, rect->top,
                                               rect->right, codes, sources, &height);
  rect->bottom = rect->top + height;
  return ok;
}
