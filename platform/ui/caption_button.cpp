#include "platform/ui/caption_button.h"

void DrawCaptionButton(HDC dc, const RECT& rect, CaptionGlyph glyph, bool pressed, bool flat) {
  RECT r = rect;
  FillRect(dc, &r, GetSysColorBrush(COLOR_3DFACE));
  if (pressed || !flat) DrawEdge(dc, &r, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  int side = (r.bottom - r.top) < (r.right - r.left) ? r.bottom - r.top : r.right - r.left;
  int inset = side / 4 + 1;
  int shift = pressed ? 1 : 0;
  int left = r.left + inset + shift;
  int top = r.top + inset + shift;
  int right = r.right - inset + shift;
  int bottom = r.bottom - inset + shift;
  HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNTEXT));
  HGDIOBJ old = SelectObject(dc, pen);
  switch (glyph) {
    case CaptionGlyph::kClose:
      for (int d = 0; d < 2; ++d) {  // two pixels thick
        MoveToEx(dc, left + d, top, nullptr);
        LineTo(dc, right + d - 1, bottom);
        MoveToEx(dc, right + d - 2, top, nullptr);
        LineTo(dc, left + d - 1, bottom);
      }
      break;
    case CaptionGlyph::kMinimize:
      MoveToEx(dc, left, bottom - 1, nullptr);
      LineTo(dc, right, bottom - 1);
      MoveToEx(dc, left, bottom - 2, nullptr);
      LineTo(dc, right, bottom - 2);
      break;
    case CaptionGlyph::kRestore: {
      int half = (right - left) / 3;
      Rectangle(dc, left, top + half, right - half, bottom);
      MoveToEx(dc, left + half, top + half, nullptr);
      LineTo(dc, left + half, top);
      LineTo(dc, right, top);
      LineTo(dc, right, bottom - half);
      LineTo(dc, right - half, bottom - half);
      break;
    }
  }
  SelectObject(dc, old);
  DeleteObject(pen);
}
