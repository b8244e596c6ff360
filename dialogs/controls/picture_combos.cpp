#include <cstdio>

#include "dialogs/controls/owner_drawn_combos.h"
#include "dialogs/controls/symbol_shapes.h"
#include "view/draw_context/draw_context.h"

void CLineComboBox::Fill(uint32_t selected, bool withWidths) {
  PrepareList();
  const uint32_t last = withWidths ? 8 : 5;
  for (uint32_t style = 0; style <= last; ++style) AddValue(style);
  m_storedValue = selected;
  SelectValue(selected);
}

void CLineComboBox::DrawPicture(DrawContext& dc, const DRAWITEMSTRUCT& item, COLORREF textColour) {
  const uint32_t style = static_cast<uint32_t>(item.itemData);
  if (style == 0) {
    DrawCentredText(item, "None", item.rcItem.left + 5);
    return;
  }
  if (!dc.SelectPen(static_cast<uint8_t>(style), textColour, 100)) return;
  const int width = style >= 6 ? static_cast<int>(style) - 5 : 0;
  const int y = (item.rcItem.top + item.rcItem.bottom) / 2 - width / 2 - 1;
  dc.Line(item.rcItem.left + 5, y, item.rcItem.right - 5, y);
}

void CSymbolComboBox::Fill(uint32_t selected) {
  PrepareList();
  for (uint32_t symbol = 1; symbol <= 15; ++symbol) AddValue(symbol);
  m_storedValue = selected;
  SelectValue(selected);
}

void CSymbolComboBox::DrawPicture(DrawContext& dc, const DRAWITEMSTRUCT& item, COLORREF textColour) {
  char number[8];
  std::snprintf(number, sizeof number, "%2d.", static_cast<int>(item.itemID) + 1);
  DrawCentredText(item, number, item.rcItem.left + 2);
  const SymbolShape shape = GetSymbolShape(static_cast<uint32_t>(item.itemData));
  const int cx = (item.rcItem.left + item.rcItem.right) / 2;
  const int cy = (item.rcItem.top + item.rcItem.bottom) / 2;
  dc.SetTextColor(textColour);
  dc.SelectPen(1, textColour, 100);
  dc.SelectBrush(0, textColour, textColour);
  switch (shape.kind) {
    case kSymbolPixel:
      dc.SetPixel(cx, cy);
      break;
    case kSymbolPolygon: {
      POINT points[8];
      for (int i = 0; i < shape.count; ++i) points[i] = POINT{cx + shape.x[i], cy + shape.y[i]};
      dc.Polygon(points, shape.count);
      break;
    }
    case kSymbolSegments:
      for (int i = 0; i + 1 < shape.count; i += 2)
        dc.Line(cx + shape.x[i], cy + shape.y[i], cx + shape.x[i + 1], cy + shape.y[i + 1]);
      break;
  }
}

void CPatternComboBox::Fill(uint32_t selected, bool withPatterns, bool withGradients) {
  PrepareList();
  uint32_t last = 1;
  if (withPatterns) last = withGradients ? 22 : 18;
  for (uint32_t pattern = 0; pattern <= last; ++pattern) AddValue(pattern);
  m_storedValue = selected;
  SelectValue(selected);
}

void CPatternComboBox::DrawPicture(DrawContext& dc, const DRAWITEMSTRUCT& item, COLORREF textColour) {
  const uint32_t pattern = static_cast<uint32_t>(item.itemData);
  if (pattern == 0) {
    DrawCentredText(item, "None", item.rcItem.left + 5);
    return;
  }
  const COLORREF window = GetSysColor(COLOR_WINDOW);
  const COLORREF second = pattern >= 19 ? GetSysColor(COLOR_BTNSHADOW) : GetSysColor(COLOR_WINDOWTEXT);
  // Inclusive corners of the item inset by 2 pixels.
  const RECT picture{item.rcItem.left + 2, item.rcItem.top + 2, item.rcItem.right - 3, item.rcItem.bottom - 3};
  dc.SelectPen(1, textColour, 100);
  if (dc.SelectBrush(static_cast<uint8_t>(pattern), window, second)) dc.FillRectFramed(picture);
}
