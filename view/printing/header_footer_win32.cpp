// Header and footer codes drawn on a printer or preview device: the codes
// expanded into runs, each run drawn and measured in its section, the dates
// and times written by the user's locale.

#include "view/draw_context/draw_context.h"
#include "view/draw_context/text_placement.h"
#include "view/printing/header_footer_codes.h"

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

struct SectionPass {
  DrawContext* context;
  const RECT* rect;
  bool measureOnly;
  int32_t heights[3];
};

bool DrawRun(void* self, int section, const char* text, size_t length) {
  SectionPass* pass = static_cast<SectionPass*>(self);
  DrawContext* dc = pass->context;
  const RECT& r = *pass->rect;
  const int32_t y = r.top + pass->heights[section];
  bool ok = true;
  if (!pass->measureOnly && length > 0) {
    static const int kAlign[3] = {kAlignLeft, kAlignCentre, kAlignRight};
    const int32_t x = section == kSectionLeft ? r.left : section == kSectionCentre ? (r.left + r.right) / 2 : r.right;
    ok = dc->SetTextAlign(kAlign[section], kAlignTop) && dc->DrawText(x, y, text, length, 0);
  }
  if (length > 0) {
    int32_t width = 0;
    int32_t height = 0;
    if (dc->TextExtent(text, length, &width, &height))
      pass->heights[section] += height;
    else
      ok = false;
  }
  return ok;
}

}  // namespace

bool DrawContext::DrawHeaderFooter(RECT* rect, const char* codes, bool measureOnly, const char* filePath,
                                   const char* sheetPath, const PrintedSheetInfo* sheet) {
  OsLocalTime fileTime;
  const bool haveFileTime = FileModificationTime(filePath, &fileTime);
  const HeaderFooterSources sources = {filePath,  sheetPath,       sheet, haveFileTime ? &fileTime : nullptr,
                                       FormatShortDate, FormatTime};
  SectionPass pass = {this, rect, measureOnly, {0, 0, 0}};
  const bool ok = ExpandHeaderFooter(codes, sources, DrawRun, &pass);
  int32_t tallest = pass.heights[0];
  if (pass.heights[1] > tallest)
    tallest = pass.heights[1];
  if (pass.heights[2] > tallest)
    tallest = pass.heights[2];
  rect->bottom = rect->top + tallest;
  return ok;
}
