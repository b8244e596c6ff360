#include "view/draw_context/draw_context.h"

#include "core/numfmt/regional_settings.h"
#include "core/styles/token_text_layout.h"
#include "view/draw_context/screen_measurer.h"
#include "view/draw_context/text_placement.h"

DrawContext::DrawContext()
    : measurer_{&DrawContext::SelectFontFor, &DrawContext::MeasureLine, &DrawContext::MeasureScreenLine, this} {
  screenPixelsX_ = ScreenPixelsPerInchX();
  screenPixelsY_ = ScreenPixelsPerInchY();
  measurer_.screenPixelsPerInchY = screenPixelsY_;
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  if (GetVersionExA(&version))
    windows9x_ = version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

DrawContext::~DrawContext() {
  RestoreObjects();
  ReleaseWindowDC();
}

HDC DrawContext::AttachWindow(HWND window) {
  RestoreObjects();
  ReleaseWindowDC();
  window_ = window;
  device_ = GetDC(window);
  ownsDevice_ = device_ != nullptr;
  printing_ = preview_ = 0;
  return device_;
}

void DrawContext::AttachDC(HDC device) {
  RestoreObjects();
  ReleaseWindowDC();
  window_ = nullptr;
  ownsDevice_ = printing_ = preview_ = 0;
  device_ = device;
}

HDC DrawContext::AttachMemoryDC(HDC compatible) {
  AttachDC(nullptr);
  device_ = CreateCompatibleDC(compatible);
  return device_;
}

void DrawContext::DeleteMemoryDC() {
  RestoreObjects();
  if (device_ && !ownsDevice_)
    DeleteDC(device_);
  device_ = nullptr;
  window_ = nullptr;
}

void DrawContext::ReleaseWindowDC() {
  if (ownsDevice_ && device_) {
    ReleaseDC(window_, device_);
    device_ = nullptr;
  }
  ownsDevice_ = 0;
  window_ = nullptr;
}

void DrawContext::RestoreObjects() {
  if (device_) {
    if (fontSaved_) {
      SelectObject(device_, priorFont_);
      if (fontCreated_)
        DeleteObject(font_);
    }
    if (penSaved_) {
      SelectObject(device_, priorPen_);
      if (penCreated_)
        DeleteObject(pen_);
    }
    if (brushSaved_) {
      SelectObject(device_, priorBrush_);
      if (brushCreated_)
        DeleteObject(brush_);
    }
    if (bitmapSaved_) {
      SelectObject(device_, priorBitmap_);
      if (bitmapCreated_)
        DeleteObject(bitmap_);
    }
    if (alignSaved_)
      ::SetTextAlign(device_, priorAlign_);
    if (bkModeSaved_)
      ::SetBkMode(device_, priorBkMode_);
    if (textColourSaved_)
      ::SetTextColor(device_, priorTextColour_);
  }
  fontSaved_ = fontCreated_ = penSaved_ = penCreated_ = brushSaved_ = brushCreated_ = 0;
  bitmapSaved_ = bitmapCreated_ = alignSaved_ = bkModeSaved_ = bkModeSet_ = 0;
  textColourSaved_ = textColourSet_ = 0;
  font_ = nullptr;
  pen_ = nullptr;
  brush_ = nullptr;
  bitmap_ = nullptr;
}

bool DrawContext::SetTextAlign(int horizontal, int vertical) {
  if (!device_)
    return false;
  UINT align = horizontal == 3 ? TA_RIGHT : (horizontal == 2 ? TA_CENTER : TA_LEFT);
  align |= vertical == 6 ? TA_BASELINE : TA_TOP;
  const UINT prior = ::SetTextAlign(device_, align);
  if (prior == GDI_ERROR)
    return false;
  if (!alignSaved_) {
    alignSaved_ = 1;
    priorAlign_ = prior;
  }
  horizontalAlign_ = horizontal;
  verticalAlign_ = vertical;
  return true;
}

bool DrawContext::SetBkMode(int mode) {
  if (!device_)
    return false;
  const int prior = ::SetBkMode(device_, mode == 1 ? TRANSPARENT : OPAQUE);
  if (prior == 0)
    return false;
  if (!bkModeSaved_) {
    bkModeSaved_ = 1;
    priorBkMode_ = prior;
  }
  bkModeSet_ = 1;
  bkMode_ = mode;
  return true;
}

COLORREF DrawContext::SetTextColor(COLORREF colour) {
  if (!device_)
    return CLR_INVALID;
  const COLORREF prior = ::SetTextColor(device_, colour);
  if (!textColourSaved_) {
    textColourSaved_ = 1;
    priorTextColour_ = prior;
  }
  textColourSet_ = 1;
  textColour_ = colour;
  return prior;
}

bool DrawContext::MeasureLine(void* self, const char* text, size_t length, int32_t* width, int32_t* height) {
  HDC device = static_cast<DrawContext*>(self)->device_;
  SIZE size = {};
  if (!device || !GetTextExtentPoint32A(device, text, static_cast<int>(length), &size))
    return false;
  *width = size.cx;
  *height = size.cy;
  return true;
}

bool DrawContext::MeasureScreenLine(void*, const char* text, size_t length, int32_t* width, int32_t* height) {
  ScreenMeasurer screen;
  return screen.Measurer().MeasureScreenLine(text, length, width, height);
}

bool DrawContext::SelectFontFor(void* self, const FontRecord& font, int16_t angle, uint16_t zoom) {
  return static_cast<DrawContext*>(self)->SelectFont(font, angle, zoom);
}

bool DrawContext::DrawLine(void* self, int32_t x, int32_t y, const char* text, size_t length) {
  HDC device = static_cast<DrawContext*>(self)->device_;
  return ExtTextOutA(device, x, y, 0, nullptr, text, static_cast<UINT>(length), nullptr) != 0;
}

bool DrawContext::TextExtent(const char* text, size_t length, int32_t* width, int32_t* height) {
  return device_ && ::TextExtent(measurer_, text, length, width, height);
}

bool DrawContext::TextExtentLines(const NumberFormat& tokens, int32_t* width, int32_t* height, int first,
                                  int count) {
  return device_ && ::TextExtentLines(measurer_, tokens, width, height, first, count);
}

bool DrawContext::DrawText(int32_t x, int32_t y, const char* text, size_t length, double angle) {
  if (!device_)
    return false;
  const TextSink sink = {&DrawContext::DrawLine, this};
  return PlaceTextLines(measurer_, sink, x, y, text, length, angle, verticalAlign_);
}

bool DrawContext::DrawCellText(int32_t x, int32_t y, const NumberFormat& tokens, int32_t width, double angle) {
  if (!device_)
    return false;
  COLORREF prior = 0;
  if (tokens.hasColor)
    prior = SetTextColor(tokens.color);
  const TextSink sink = {&DrawContext::DrawLine, this};
  const bool drawn = PlaceCellText(measurer_, sink, x, y, tokens, width, angle, horizontalAlign_, verticalAlign_);
  if (tokens.hasColor)
    SetTextColor(prior);
  return drawn;
}

bool DrawContext::DrawFormattedText(int32_t x, int32_t y, const char* text, const char* formatCode, int32_t width,
                                    double angle) {
  const size_t length = strlen(text);
  if (length < kMaxFormatTokens && formatCode && *formatCode) {
    NumberFormat tokens;
    if (tokens.FormatText(text, formatCode, &CurrentRegionalSettings()))
      return DrawCellText(x, y, tokens, width, angle);
  }
  return DrawText(x, y, text, length, angle);
}

bool DrawContext::WrapTokens(NumberFormat* tokens, int32_t width) {
  return device_ && ::WrapTokens(measurer_, tokens, width);
}

bool DrawContext::ElideTokens(NumberFormat* tokens, int32_t width) {
  return device_ && ::ElideTokens(measurer_, tokens, width);
}
