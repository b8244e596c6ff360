#include <windows.h>

#include "core/styles/style_record.h"
#include "view/draw_context/screen_font_win32.h"
#include "view/draw_context/screen_measurer.h"

namespace {

struct ScreenState {
  HDC dc = nullptr;
  HFONT font = nullptr;
  HGDIOBJ priorFont = nullptr;
};

bool Select(void* surface, const FontRecord& record, int16_t angle, uint16_t zoom) {
  auto* state = static_cast<ScreenState*>(surface);
  if (!state->dc)
    return false;
  HFONT created = CreateScreenFont(record, angle, zoom);
  if (!created)
    return false;
  HGDIOBJ prior = SelectObject(state->dc, created);
  if (state->font)
    DeleteObject(state->font);
  else
    state->priorFont = prior;
  state->font = created;
  return true;
}

bool Measure(HDC dc, const char* text, size_t length, int32_t* width, int32_t* height) {
  SIZE size = {};
  if (!dc || !GetTextExtentPoint32A(dc, text, static_cast<int>(length), &size))
    return false;
  *width = size.cx;
  *height = size.cy;
  return true;
}

bool MeasureLine(void* surface, const char* text, size_t length, int32_t* width, int32_t* height) {
  return Measure(static_cast<ScreenState*>(surface)->dc, text, length, width, height);
}

bool MeasureScreenLine(void*, const char* text, size_t length, int32_t* width, int32_t* height) {
  HDC screen = GetDC(nullptr);
  const bool measured = Measure(screen, text, length, width, height);
  ReleaseDC(nullptr, screen);
  return measured;
}

int32_t ScreenCaps(int index) {
  HDC screen = GetDC(nullptr);
  const int32_t value = screen ? GetDeviceCaps(screen, index) : 96;
  ReleaseDC(nullptr, screen);
  return value;
}

}  // namespace

ScreenMeasurer::ScreenMeasurer()
    : measurer_{&Select, &MeasureLine, &MeasureScreenLine, nullptr}, state_(new ScreenState) {
  auto* state = static_cast<ScreenState*>(state_);
  state->dc = GetDC(nullptr);
  measurer_.surface = state;
  measurer_.screenPixelsPerInchY = ScreenPixelsPerInchY();
}

ScreenMeasurer::~ScreenMeasurer() {
  auto* state = static_cast<ScreenState*>(state_);
  if (state->font) {
    SelectObject(state->dc, state->priorFont);
    DeleteObject(state->font);
  }
  if (state->dc)
    ReleaseDC(nullptr, state->dc);
  delete state;
}

int32_t ScreenPixelsPerInchX() { return ScreenCaps(LOGPIXELSX); }
int32_t ScreenPixelsPerInchY() { return ScreenCaps(LOGPIXELSY); }
