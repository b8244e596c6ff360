#ifndef TALVERO_VIEW_DRAW_CONTEXT_H
#define TALVERO_VIEW_DRAW_CONTEXT_H

// The one object through which the program draws: it wraps one device
// context (a window's, a paint, printer, print-preview or memory device
// context), creates the fonts, pens, brushes and bitmaps the painters ask
// for from the program's own records, remembers every object and mode it
// replaces and puts them all back when it is released or attached anew. It
// lives on the stack of one drawing call; a nested painter may attach its
// own context to the same device and restores what it changed before it
// ends. Windows only: what it decides without the device lives in
// text_placement.h, fill_patterns.h, font_description.h and core's text
// layout, which build everywhere.

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "core/numfmt/number_format.h"
#include "core/styles/fill_and_border_line.h"
#include "core/styles/style_record.h"
#include "core/styles/text_measurer.h"
#include "view/draw_context/background_bands.h"

struct PrintedSheetInfo;

class DrawContext {
 public:
  // Detached; reads the screen's pixels per inch and the system's family.
  DrawContext();
  // RestoreObjects, then ReleaseWindowDC.
  ~DrawContext();
  DrawContext(const DrawContext&) = delete;
  DrawContext& operator=(const DrawContext&) = delete;

  // Takes the window's device context (null: the screen's) and owns it.
  HDC AttachWindow(HWND window);
  // Uses a device context without owning it; null detaches. The caller sets
  // the printing and preview flags afterwards where it prints.
  void AttachDC(HDC device);
  // As AttachDC, with a new memory device context compatible with the given
  // one, which DeleteMemoryDC deletes.
  HDC AttachMemoryDC(HDC compatible);
  void DeleteMemoryDC();
  // Releases an owned device context to its window; forgets the window.
  void ReleaseWindowDC();
  // With a device: font, pen, brush and bitmap (each prior object selected
  // back and the created one deleted), then alignment, background mode and
  // text colour put back where they were changed. Every flag ends cleared.
  void RestoreObjects();

  HDC Device() const { return device_; }
  bool IsPrinting() const { return printing_ != 0; }
  void SetPrinting(bool printing, bool preview) {
    printing_ = printing;
    preview_ = preview;
  }

  // Each returns true when the object was created and selected; a failure
  // leaves the prior object selected.
  bool SelectFont(const FontRecord& font, int16_t angle, uint16_t zoom);
  // Codes 0 none, 1 solid, 2 dotted, 3 dashed, 4 dash-dot, 5 dash-dot-dot
  // (one pixel); 6, 7, 8 and 9 solid of 1, 2, 3 and 3 times zoom / 100.
  bool SelectPen(uint8_t style, COLORREF colour, uint16_t zoom);
  bool SelectBorderPen(const BorderLine& line, uint16_t zoom);
  // Codes 0 hollow, 1 and the gradients 19-22 solid in colour 1, 2-18 the
  // two-colour patterns (colour 2 where the pattern is set).
  bool SelectBrush(uint8_t pattern, COLORREF colour1, COLORREF colour2);
  bool SelectFillRecord(const FillRecord& fill);
  // A bitmap compatible with the other context's device, selected here.
  bool CreateBitmap(const DrawContext& other, int32_t width, int32_t height);
  // The created bitmap's scan lines into a packed DIB whose 40-byte header
  // the caller filled; the bits follow the header. False without a bitmap.
  bool GetBits(BITMAPINFOHEADER* dib, uint32_t scanLines);
  // Horizontal 1 left, 2 centre, 3 right; vertical 4 top, 5 middle, 6
  // baseline, 7 bottom (middle and bottom are carried out by DrawText).
  bool SetTextAlign(int horizontal, int vertical);
  // 1 transparent, anything else opaque.
  bool SetBkMode(int mode);
  COLORREF SetTextColor(COLORREF colour);

  // Shapes; rectangles are inclusive.
  bool Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  bool Polyline(const POINT* points, int count);
  bool Polygon(const POINT* points, int count);
  bool Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom);
  bool SetPixel(int32_t x, int32_t y);
  // With the created brush; the gradients 19-22 run from colour 1 to colour
  // 2 (printing on Windows 9x fills them solid). A raster operation of 0 is
  // PATCOPY; gradients ignore it.
  bool FillRect(const RECT& rect, DWORD rasterOperation);
  // Filled as FillRect, then framed with the current pen.
  bool FillRectFramed(const RECT& rect);
  // A packed DIB (header of 40, 108 or 124 bytes, 1 to 32 bits per pixel):
  // mode 1 stretched to the rectangle, 2 tiled from its top-left corner,
  // other at the top-left corner scaled by the percentages; clipped to the
  // rectangle.
  bool StretchDib(int32_t left, int32_t top, int32_t right, int32_t bottom, const BITMAPINFOHEADER* dib, int mode,
                  int32_t xPercent, int32_t yPercent);

  // The holder's image stretched over the rectangle; without one, the
  // fractal rendered into the holder band by band, each band shown as soon
  // as it is rendered. Stops at the first failed band.
  bool DrawBackground(int32_t left, int32_t top, int32_t right, int32_t bottom, BackgroundImage* holder,
                      const FractalParameters& parameters, FractalRenderer render);

  // Text, in the selected font. Angles in radians, counter-clockwise.
  bool TextExtent(const char* text, size_t length, int32_t* width, int32_t* height);
  bool TextExtentLines(const NumberFormat& tokens, int32_t* width, int32_t* height, int first, int count);
  bool DrawText(int32_t x, int32_t y, const char* text, size_t length, double angle);
  // The tokens in the section's colour when the format has one.
  bool DrawCellText(int32_t x, int32_t y, const NumberFormat& tokens, int32_t width, double angle);
  // Through the format code when it applies to the text, else plain.
  bool DrawFormattedText(int32_t x, int32_t y, const char* text, const char* formatCode, int32_t width,
                         double angle);
  bool WrapTokens(NumberFormat* tokens, int32_t width);
  bool ElideTokens(NumberFormat* tokens, int32_t width);

  // Header or footer codes (view/printing/header_footer_codes.h) in the
  // selected font: each section's runs one below the other from the
  // rectangle's top, left text from its left edge, centred text on its
  // middle, right text up to its right edge. With measureOnly nothing is
  // drawn. The file, worksheet path and sheet may be absent. On return the
  // rectangle's bottom is its top plus the tallest section's height; false
  // when a run could not be drawn or measured. Defined with printing.
  bool DrawHeaderFooter(RECT* rect, const char* codes, bool measureOnly, const char* filePath,
                        const char* sheetPath, const PrintedSheetInfo* sheet);

  // This context as a measurer for the layout code.
  const TextMeasurer& Measurer() const { return measurer_; }
  // The created objects, for tests.
  HFONT CreatedFont() const { return fontCreated_ ? font_ : nullptr; }
  HBRUSH CreatedBrush() const { return brushCreated_ ? brush_ : nullptr; }
  HPEN CreatedPen() const { return penCreated_ ? pen_ : nullptr; }

 private:
  static bool MeasureLine(void* self, const char* text, size_t length, int32_t* width, int32_t* height);
  static bool MeasureScreenLine(void* self, const char* text, size_t length, int32_t* width, int32_t* height);
  static bool SelectFontFor(void* self, const FontRecord& font, int16_t angle, uint16_t zoom);
  static bool DrawLine(void* self, int32_t x, int32_t y, const char* text, size_t length);
  void SaveFont();
  bool Gradient(const RECT& rect, bool framed);
  HBRUSH CreatePatternBrush(uint8_t pattern, COLORREF colour1, COLORREF colour2);

  HWND window_ = nullptr;
  HDC device_ = nullptr;
  uint8_t windows9x_ = 0;
  uint8_t textColourSaved_ = 0;
  COLORREF priorTextColour_ = 0;
  uint8_t textColourSet_ = 0;
  COLORREF textColour_ = 0;
  uint8_t fontSaved_ = 0;
  HGDIOBJ priorFont_ = nullptr;
  uint8_t fontCreated_ = 0;
  HFONT font_ = nullptr;
  FontRecord fontRecord_ = {};
  int16_t fontAngle_ = 0;
  uint16_t fontZoom_ = 0;
  uint8_t penSaved_ = 0;
  HGDIOBJ priorPen_ = nullptr;
  uint8_t penCreated_ = 0;
  HPEN pen_ = nullptr;
  uint8_t bitmapSaved_ = 0;
  HGDIOBJ priorBitmap_ = nullptr;
  uint8_t bitmapCreated_ = 0;
  HBITMAP bitmap_ = nullptr;
  uint8_t brushSaved_ = 0;
  HGDIOBJ priorBrush_ = nullptr;
  uint8_t brushCreated_ = 0;
  uint8_t brushPattern_ = 0;
  COLORREF brushColour1_ = 0;
  COLORREF brushColour2_ = 0;
  HBRUSH brush_ = nullptr;
  uint8_t bkModeSaved_ = 0;
  int priorBkMode_ = 0;
  uint8_t bkModeSet_ = 0;
  int bkMode_ = 0;
  uint8_t alignSaved_ = 0;
  UINT priorAlign_ = 0;
  int32_t horizontalAlign_ = 1;
  int32_t verticalAlign_ = 4;
  uint8_t ownsDevice_ = 0;
  uint8_t printing_ = 0;
  uint8_t preview_ = 0;
  int32_t screenPixelsX_ = 96;
  int32_t screenPixelsY_ = 96;
  TextMeasurer measurer_;
};

#endif
