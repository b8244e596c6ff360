// What a document window shows on the screen, read back from it: nothing of
// an earlier picture stays, past the worksheet's end, where the background
// paints nothing or after another document closed over it; the status bar
// follows every recalculation.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/document/document_window_fixture.h"
#include "core/base/global_options.h"
#include "core/model/image_cache.h"
#include "core/workbook/workbook.h"
#include "tests/view/dib_canvas_win32.h"

namespace {

class RepaintTest : public DocumentEditingTest {
 protected:
  // The view's client pixels as the screen holds them.
  std::vector<uint32_t> Shown(CDocumentView* view) {
    const RECT r = view->GetClientRect();
    DibCanvas canvas(r.right, r.bottom);
    HDC screen = ::GetDC(*view);
    ::BitBlt(canvas.dc(), 0, 0, canvas.width(), canvas.height(), screen, 0, 0, SRCCOPY);
    ::ReleaseDC(*view, screen);
    return canvas.Pixels();
  }
  // How many pixels of the view's client rectangle from (left, top) on are
  // not the window colour.
  int NotEmpty(CDocumentView* view, LONG left, LONG top) {
    const RECT r = view->GetClientRect();
    const std::vector<uint32_t> pixels = Shown(view);
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    const uint32_t empty = (GetRValue(window) << 16) | (GetGValue(window) << 8) | GetBValue(window);
    int count = 0;
    for (LONG y = top; y < r.bottom; ++y)
      for (LONG x = left; x < r.right; ++x) count += pixels[y * r.right + x] != empty ? 1 : 0;
    return count;
  }
  // How many of the view's client pixels hold the colour (0x00RRGGBB).
  int CountOf(CDocumentView* view, uint32_t colour) {
    int count = 0;
    for (uint32_t pixel : Shown(view)) count += (pixel & 0xFFFFFF) == colour ? 1 : 0;
    return count;
  }
  // What another window or an earlier picture left in the view's pixels.
  static void Smear(CDocumentView* view, uint32_t colour) {
    const RECT r = view->GetClientRect();
    HDC screen = ::GetDC(*view);
    HBRUSH brush = ::CreateSolidBrush(RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF));
    ::FillRect(screen, &r, brush);
    ::DeleteObject(brush);
    ::ReleaseDC(*view, screen);
  }
  // A packed 32-bit bitmap of one colour, allocated as the image cache frees it.
  static void* SolidPicture(int32_t width, int32_t height, uint32_t colour) {
    const size_t headerWords = sizeof(BITMAPINFOHEADER) / 4;
    uint32_t* dib = static_cast<uint32_t*>(std::calloc(headerWords + width * height, 4));
    BITMAPINFOHEADER* header = reinterpret_cast<BITMAPINFOHEADER*>(dib);
    header->biSize = sizeof *header;
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = 32;
    std::fill(dib + headerWords, dib + headerWords + width * height, colour);
    return dib;
  }
  void GoTo(const char* reference) {
    HWND edit = reinterpret_cast<HWND>(SendMessageA(frame.NameBox(), CBEM_GETEDITCONTROL, 0, 0));
    ::SetFocus(edit);
    ::SetWindowTextA(edit, reference);
    Key(VK_RETURN);
  }
  // The text typed into the cell and entered.
  void TypeInto(CChildFrame* doc, uint32_t row, uint32_t column, const char* text) {
    FocusCell(doc, row, column);
    Type(text);
    Key(VK_RETURN);
  }
  std::string StatusText() {
    char text[200] = {};
    ::SendMessageA(frame.m_hWndStatusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return text;
  }
};

TEST_F(RepaintTest, PastTheLastRowAndColumnTheViewShowsAnEmptyWindow) {
  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  CDocumentView* view = doc->GetActiveView();
  // The view showed rows 1 to 30 before.
  GoTo("A2097152");
  ASSERT_EQ(view->Selection().firstRow, kMaxRow);
  // The selected cell's frame reaches one pixel past its grid lines.
  const RECT lastRow = view->GetRangeRect(SelectionRange{0, kMaxRow, 0, kMaxRow});
  ASSERT_LT(lastRow.bottom + 2, view->GetClientRect().bottom);
  EXPECT_EQ(NotEmpty(view, 0, lastRow.bottom + 2), 0) << "the old row headings and cells show below the last row";

  GoTo("BZS2097152");
  ASSERT_EQ(view->Selection().firstColumn, kMaxColumn);
  const RECT corner = view->GetRangeRect(SelectionRange{kMaxColumn, kMaxRow, kMaxColumn, kMaxRow});
  ASSERT_LT(corner.right + 2, view->GetClientRect().right);
  EXPECT_EQ(NotEmpty(view, corner.right + 2, 0), 0) << "the old column headings and cells show right of the last column";
  EXPECT_EQ(NotEmpty(view, 0, corner.bottom + 2), 0);
}

// Cells without a fill show the background through; where it paints nothing
// the window colour shows, not what the screen held there before.
TEST_F(RepaintTest, WhatTheBackgroundLeavesBareShowsTheWindowColour) {
  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  CDocumentView* view = doc->GetActiveView();
  CWorkBook* book = doc->Workbook();
  WorksheetViewFormat& format = book->activeWorksheet->viewFormat;
  const uint32_t kStale = 0xFA00FA;
  const uint32_t kPicture = 0x00A000;
  ImageNode* small = book->images.Add("small.bmp");
  ASSERT_NE(small, nullptr);
  small->picture = static_cast<uint8_t*>(SolidPicture(48, 24, kPicture));
  const struct {
    const char* what;
    uint8_t mode;
    uint8_t pattern;
    const char* image;
    uint8_t imageSize;
  } cases[] = {
      {"no background", 0, 1, "", 0},
      {"a fill without a pattern", 1, 0, "", 0},
      {"a picture that cannot be read", 2, 1, "C:\\no such folder\\missing.png", 1},
      {"a picture at its own size", 2, 1, "small.bmp", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    format.backgroundMode = c.mode;
    format.fill.pattern = c.pattern;
    std::strcpy(format.imagePath, c.image);
    format.imageSizeMode = c.imageSize;
    Smear(view, kStale);
    view->Invalidate(false);
    view->UpdateWindow();
    EXPECT_EQ(CountOf(view, kStale), 0);
  }
  // The picture itself stays where it lies, right of and below the headings.
  const size_t inFirstCell = (view->m_columnHeaderHeight + 6) * view->GetClientRect().right + view->m_rowHeaderWidth + 6;
  EXPECT_EQ(Shown(view)[inFirstCell] & 0xFFFFFF, kPicture);
}

// The document left behind when a maximised one closes shows its own rows,
// not what the closed one painted where it now stands.
TEST_F(RepaintTest, ADocumentLeftByAMaximisedOneShowsItselfWhole) {
  CChildFrame* first = NewDocument();
  ASSERT_NE(first, nullptr);
  CChildFrame* second = NewDocument();
  ASSERT_NE(second, nullptr);
  ::SendMessageA(second->GetParent(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(second->m_hWnd), 0);
  Pump();
  TypeInto(second, 0, 0, "pasted text");
  FocusCell(second, 0, 0);
  Key('C', VK_CONTROL);
  FocusCell(second, 3, 1);
  Key('V', VK_CONTROL);
  ASSERT_EQ(TextAt(*second->Workbook(), 3, 1), "pasted text");

  g_answers = {IDNO};
  frame.SendMessage(WM_COMMAND, ID_FILE_CLOSE, 0);
  Pump();
  EXPECT_EQ(g_boxes.size(), 1u);  // "Save changes", answered No
  ASSERT_EQ(frame.GetActiveChildFrame(), first);
  CDocumentView* view = first->GetActiveView();
  const std::vector<uint32_t> shown = Shown(view);
  view->Invalidate();
  view->UpdateWindow();
  EXPECT_TRUE(shown == Shown(view)) << "the view shows pieces of the closed document";
}

// The selection's sum in the status bar is that of the values recalculated
// last: after an edit that recalculates at once, and after Update Data (F9)
// in manual mode, whose edit left the old values.
TEST_F(RepaintTest, StatusBarShowsTheSelectionAsRecalculated) {
  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  TypeInto(doc, 0, 1, "=A1*2");
  TypeInto(doc, 0, 0, "1");
  ClickCell(doc->GetActiveView(), 0, 0);
  ClickCell(doc->GetActiveView(), 1, 0, MK_SHIFT);
  EXPECT_EQ(StatusText().substr(0, 5), "Sum=3");

  const UINT increment = VK_UP;  // with Ctrl and Alt: A1 goes up by one
  Key(increment, VK_CONTROL, VK_MENU);
  EXPECT_EQ(StatusText().substr(0, 5), "Sum=6");

  doc->Workbook()->recalcMode = kUpdateManual;
  Key(increment, VK_CONTROL, VK_MENU);
  EXPECT_EQ(StatusText().substr(0, 5), "Sum=7");  // B1 still holds 4
  Key(VK_F9);
  EXPECT_EQ(StatusText().substr(0, 5), "Sum=9");
}

}  // namespace
