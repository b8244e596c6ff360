#include "core/styles/text_measurer.h"

namespace {

bool IsBreak(char c) { return c == '\r' || c == '\n'; }

}  // namespace

bool TextExtent(const TextMeasurer& measurer, const char* text, size_t length, int32_t* width, int32_t* height) {
  int32_t widest = 0;
  int32_t total = 0;
  int32_t emptyLineHeight = -1;  // measured once, on the first empty line
  size_t start = 0;
  for (;;) {
    size_t end = start;
    while (end < length && !IsBreak(text[end])) ++end;
    int32_t w = 0;
    int32_t h = 0;
    if (end > start) {
      if (!measurer.MeasureLine(text + start, end - start, &w, &h))
        return false;
    } else {
      if (emptyLineHeight < 0) {
        int32_t unused = 0;
        if (!measurer.MeasureLine("X", 1, &unused, &emptyLineHeight))
          return false;
      }
      h = emptyLineHeight;
    }
    if (w > widest)
      widest = w;
    total += h;
    if (end >= length)
      break;
    start = end + ((text[end] == '\r' && end + 1 < length && text[end + 1] == '\n') ? 2 : 1);
  }
  *width = widest;
  *height = total;
  return true;
}
