#include "view/grid_view/talver_view.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <utility>
#include <memory>
#include <string>
#include <vector>

#include "core/base/global_options.h"
#include "core/edit/cell_input.h"
#include "core/workbook/workbook.h"
#include "tests/platform/ui/windows/own_desktop_win32.h"
#include "tests/view/dib_canvas_win32.h"
#include "view/draw_context/draw_context.h"
#include "view/draw_context/screen_measurer.h"
#include "view/geometry/sheet_sizes.h"
#include "view/grid_view/grid_frame.h"
#include "view/grid_view/grid_view_options.h"
#include "view/grid_view/wheel_accumulator.h"
#include "view/painting/draw_context_surface.h"
#include "view/painting/grid_painter.h"

namespace {

constexpr int kViewWidth = 420;
constexpr int kViewHeight = 320;

int Pump() {
  MSG msg;
  int handled = 0;
  while (handled < 10000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    ++handled;
  }
  return handled;
}

const WindowClass& DocumentClass() {
  static WindowClass cls = {};
  static bool registered = RegisterOwnClass("TalverViewTestDocument", 0, nullptr,
                                            reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), &cls);
  EXPECT_TRUE(registered);
  return cls;
}

// The document window's stand-in: two views at most, the splitters as the
// test sets them, and the commands the views send it.
class TestDocument : public CWindowImpl, public GridViewHost {
 public:
  CWorkBook* Workbook() override { return book.get(); }
  HWND DocumentWindow() override { return m_hWnd; }
  uint8_t& EditState() override { return editState; }
  CTalverView* OtherView(const CTalverView* view) override {
    return view == views[0].get() ? views[1].get() : views[0].get();
  }
  bool RowSplitterShowsBoth() override { return rowSplit; }
  bool ColumnSplitterShowsBoth() override { return columnSplit; }
  void RefreshFrameUI() override { ++refreshes; }
  void ShowError(uint8_t code) override { lastError = code; }

  void SetModified(bool) override { ++modifications; }
  void ShowRecalculatedValues() override {}
  bool MoveRangeByDrag(const SelectionRange& from, const SelectionRange& to, bool copy) override {
    moves.push_back({from, to});
    copied = copy;
    return true;
  }
  void OpenContainerEditor(ContainerRecord* container) override { editedContainer = container; }
  void ContainerPlaced(const ContainerRecord& container) override { placedContainer = &container; }

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override {
    if (msg == WM_COMMAND && lp == 0 && LOWORD(wp) == kCommandBeginEdit) {
      commands.push_back("begin");
      if (editOnCommand)
        views[0]->BeginEdit("", 0);
      return 0;
    }
    if (msg == WM_COMMAND && LOWORD(wp) == kCommandBeginEdit) {
      const char* text = reinterpret_cast<const char*>(lp);
      commands.push_back(std::string("begin ") + text);
      if (editOnCommand)
        views[0]->BeginEdit(text, 1);
      return 0;
    }
    if (msg == WM_APP) {
      widthsSeen.push_back(GetColumnWidth(book->activeWorksheet, static_cast<uint32_t>(wp), 100));
      return 0;
    }
    if (msg == WM_COMMAND && LOWORD(wp) == kCommandClear) {
      commands.push_back("clear");
      return 0;
    }
    handled = false;
    return 0;
  }

  std::unique_ptr<CWorkBook> book = std::make_unique<CWorkBook>();
  std::unique_ptr<CTalverView> views[2];
  uint8_t editState = kEditIdle;
  bool rowSplit = false;
  bool columnSplit = false;
  int refreshes = 0;
  uint8_t lastError = 0;
  int modifications = 0;
  bool editOnCommand = false;
  bool copied = false;
  std::vector<std::pair<SelectionRange, SelectionRange>> moves;
  ContainerRecord* editedContainer = nullptr;
  const ContainerRecord* placedContainer = nullptr;
  std::vector<std::string> commands;
  std::vector<int> widthsSeen;
};

UINT_PTR NoTimer(HWND, UINT_PTR id, UINT) { return id; }

class TalverViewWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalOptions();
    ResetGridViewOptions();
    WheelTotal() = 0;
    SetViewTimerFunction(NoTimer);
    ASSERT_TRUE(doc.book->NewDocument());
    sheet = doc.book->activeWorksheet;
    for (uint32_t c = 0; c <= kMaxColumn; ++c) sheet->format.columns[c].SetWidth(49, true);
    for (uint32_t r = 0; r < 60; r += 3)
      for (uint16_t c = 0; c < 12; c += 2) Type(r, c, (r + c) % 2 ? "text" : "12.5");
    RECT frame = {0, 0, kViewWidth + 40, kViewHeight + 40};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    ASSERT_NE(doc.Create(DocumentClass(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                         "grid view", WS_OVERLAPPEDWINDOW | WS_VISIBLE),
              nullptr);
    view = AddView(0, {0, 0, kViewWidth, kViewHeight});
    SetForegroundWindow(doc.m_hWnd);
    Pump();
    UpdateWindow(view->m_hWnd);
  }
  void TearDown() override {
    SetViewTimerFunction(nullptr);
    ReleaseCapture();
    if (doc.m_hWnd)
      doc.DestroyWindow();
    Pump();
    HoldKeys({});
  }
  CTalverView* AddView(int index, const RECT& rect) {
    doc.views[index].reset(new CTalverView(&doc));
    EXPECT_NE(doc.views[index]->CreateView(doc.m_hWnd, rect, 100 + index), nullptr);
    return doc.views[index].get();
  }
  void Type(uint32_t row, uint16_t column, const char* text) {
    NumFormatParams format = doc.book->styles.StyleAt(sheet->format.CellStyle(row, column)).numFormat;
    alignas(8) uint8_t record[kCellInputCapacity];
    ASSERT_GT(CWorkSheet::ParseCellInput(doc.book.get(), text, &format, row, column, record, sizeof record), 0u);
    ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(record), nullptr));
  }
  // Keys the view reads with GetKeyState: posted messages do not set them.
  static void HoldKeys(std::initializer_list<int> keys) {
    BYTE state[256] = {};
    for (int k : keys) state[k] = 0x80;
    SetKeyboardState(state);
  }
  void Key(WPARAM key) {
    view->PostMessage(WM_KEYDOWN, key, 1);
    view->PostMessage(WM_KEYUP, key, 0xC0000001);
    Pump();
  }
  void Press(int x, int y, WPARAM keys = 0) {
    view->PostMessage(WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(x, y));
    Pump();
  }
  void Move(int x, int y) {
    view->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
    Pump();
  }
  void Release(int x, int y) {
    view->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    Pump();
  }
  void Click(int x, int y, WPARAM keys = 0) {
    Press(x, y, keys);
    Release(x, y);
  }
  GridFrame Frame() const {
    ScreenMeasurer screen;
    const RECT client = view->GetClientRect();
    return ComputeGridFrame(
        MakeSheetViewport(sheet, screen.Measurer(), client.right, client.bottom, 100, 100), view->m_firstRow);
  }
  // The middle of a visible cell's area, counted from the first visible cell.
  POINT CellPoint(int columnsIn, int rowsIn) const {
    const GridFrame f = Frame();
    const int h = GetRowHeight(sheet, 0, 100) + 1;
    return {f.scrollLeft + 50 * columnsIn + 25, f.scrollTop + h * rowsIn + h / 2};
  }
  void ExpectSelection(uint32_t c1, uint32_t r1, uint32_t c2, uint32_t r2, const char* what) const {
    const SelectionRange s = view->Selection();
    EXPECT_EQ(s.firstColumn, c1) << what;
    EXPECT_EQ(s.firstRow, r1) << what;
    EXPECT_EQ(s.lastColumn, c2) << what;
    EXPECT_EQ(s.lastRow, r2) << what;
  }
  SCROLLINFO Bar(int bar) const {
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(view->m_hWnd, bar, &si);
    return si;
  }
  // What the window shows now: its client area read back from the screen.
  std::vector<uint32_t> Screenshot() const {
    Pump();
    UpdateWindow(view->m_hWnd);
    const RECT client = view->GetClientRect();
    DibCanvas canvas(client.right, client.bottom);
    HDC dc = GetDC(view->m_hWnd);
    BitBlt(canvas.dc(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(view->m_hWnd, dc);
    return canvas.Pixels();
  }
  std::vector<uint32_t> Repainted() const {
    InvalidateRect(view->m_hWnd, nullptr, FALSE);
    return Screenshot();
  }
  // The same state painted into memory by the painters themselves.
  std::vector<uint32_t> MemoryRendering() const {
    const RECT client = view->GetClientRect();
    DibCanvas canvas(client.right, client.bottom);
    DrawContext context;
    context.AttachDC(canvas.dc());
    DrawContextSurface surface(&context);
    GridPainter painter(doc.book.get());
    const PixelRect area = {0, 0, client.right, client.bottom};
    painter.PaintCells(surface.Surface(), area, sheet, view->m_firstRow, static_cast<uint16_t>(view->m_firstColumn),
                       100, 100);
    const SelectionRange s = view->Selection();
    DrawSelection(surface.Surface(), area, sheet, view->m_firstRow, static_cast<uint16_t>(view->m_firstColumn), &s,
                  nullptr, 100, 100);
    return canvas.Pixels();
  }
  static int Differences(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    if (a.size() != b.size())
      return -1;
    int n = 0;
    for (size_t i = 0; i < a.size(); ++i) n += (a[i] & 0xFFFFFF) != (b[i] & 0xFFFFFF);
    return n;
  }

  TestDocument doc;
  CWorkSheet* sheet = nullptr;
  CTalverView* view = nullptr;
};

TEST_F(TalverViewWindow, WindowShowsWhatThePaintersDrawInMemory) {
  view->m_firstRow = 2;
  view->m_firstColumn = 1;
  const POINT a = CellPoint(1, 1), b = CellPoint(3, 4);
  Click(a.x, a.y);
  Click(b.x, b.y, MK_SHIFT);
  ExpectSelection(2, 3, 4, 6, "shift click");
  EXPECT_EQ(Differences(Repainted(), MemoryRendering()), 0);
}

// Each step moves the pixels with ScrollWindowEx and repaints only the strip
// scrolled in; after each, the window must look as a full repaint of the
// same state does (no stale strip, no selection left behind).
TEST_F(TalverViewWindow, LineScrollsThatMovePixelsMatchAFullRepaint) {
  const POINT a = CellPoint(1, 1);
  Click(a.x, a.y);
  const std::vector<uint32_t> start = Screenshot();
  auto stepAndCompare = [&](WPARAM key, const char* what) {
    Key(key);
    const std::vector<uint32_t> shown = Screenshot();
    EXPECT_EQ(Differences(shown, Repainted()), 0)
        << what << " at first row " << view->m_firstRow << ", column " << view->m_firstColumn;
  };
  const WPARAM keys[] = {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN,
                         VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RIGHT,
                         VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_UP, VK_LEFT};
  for (WPARAM k : keys) stepAndCompare(k, "single cell");
  ASSERT_GT(view->m_firstRow, 0u);
  ASSERT_GT(view->m_firstColumn, 0u);
  // A block extended by Shift whose top and left edges pass the first
  // visible row and column.
  const POINT b = CellPoint(0, 1);
  Click(b.x, b.y);
  HoldKeys({VK_SHIFT});
  view->PostMessage(WM_KEYDOWN, VK_SHIFT, 1);
  for (int i = 0; i < 14; ++i) stepAndCompare(VK_DOWN, "shift down");
  for (int i = 0; i < 9; ++i) stepAndCompare(VK_RIGHT, "shift right");
  for (int i = 0; i < 4; ++i) stepAndCompare(VK_UP, "shift up");
  HoldKeys({});
  view->PostMessage(WM_KEYUP, VK_SHIFT, 0xC0000001);
  Pump();
  EXPECT_EQ(view->Selection().lastRow - view->Selection().firstRow, 10u);
  for (int i = 0; i < 20; ++i) stepAndCompare(VK_UP, "collapsed, up");
  EXPECT_EQ(Differences(Repainted(), MemoryRendering()), 0);
  EXPECT_NE(Differences(start, Repainted()), 0);
}

TEST_F(TalverViewWindow, ClicksOnCellsAndHeadersSelect) {
  const POINT c = CellPoint(2, 3), d = CellPoint(4, 1);
  Click(c.x, c.y);
  ExpectSelection(2, 3, 2, 3, "click");
  EXPECT_EQ(Bar(SB_VERT).nPos, 3);
  Click(d.x, d.y, MK_SHIFT);
  ExpectSelection(2, 1, 4, 3, "shift click");
  const GridFrame f = Frame();
  Click(c.x, f.columnHeaderHeight / 2);
  ExpectSelection(2, 0, 2, kMaxRow, "column header");
  Click(f.rowHeaderWidth / 2, c.y);
  ExpectSelection(0, 3, kMaxColumn, 3, "row header");
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(TalverViewWindow, DragSelectsAndTimerTicksScrollOutsideTheCells) {
  const POINT a = CellPoint(1, 1), b = CellPoint(3, 2);
  Press(a.x, a.y);
  EXPECT_EQ(GetCapture(), view->m_hWnd);
  Move(b.x, b.y);
  ExpectSelection(1, 1, 3, 2, "dragged");
  const RECT client = view->GetClientRect();
  Move(b.x, client.bottom + 20);  // below the window: one step now, one per tick
  const uint32_t afterMove = view->Selection().lastRow;
  for (int i = 0; i < 3; ++i) view->PostMessage(WM_TIMER, kDragScrollTimer, 0);
  Pump();
  EXPECT_EQ(view->Selection().lastRow, afterMove + 3);
  EXPECT_EQ(view->Selection().firstRow, 1u);
  Release(b.x, client.bottom + 20);
  EXPECT_EQ(GetCapture(), nullptr);
  view->PostMessage(WM_TIMER, kDragScrollTimer, 0);
  Pump();
  EXPECT_EQ(view->Selection().lastRow, afterMove + 3) << "a late tick after the release moves nothing";
}

TEST_F(TalverViewWindow, KeysMoveTheCursorTheSelectionAndTheScrollBars) {
  for (int i = 0; i < 3; ++i) Key(VK_DOWN);
  Key(VK_RIGHT);
  Key(VK_RIGHT);
  ExpectSelection(2, 3, 2, 3, "arrows");
  EXPECT_EQ(Bar(SB_VERT).nPos, 3);
  EXPECT_EQ(Bar(SB_HORZ).nPos, 2);
  HoldKeys({VK_SHIFT});
  view->PostMessage(WM_KEYDOWN, VK_SHIFT, 1);
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_LEFT);
  HoldKeys({});
  view->PostMessage(WM_KEYUP, VK_SHIFT, 0xC0000001);
  Pump();
  ExpectSelection(1, 3, 2, 5, "shift arrows");
  EXPECT_EQ(Bar(SB_VERT).nPos, 5);
  Key(VK_NEXT);
  EXPECT_GT(view->m_firstRow, 0u);
  const uint32_t pageRow = view->Selection().firstRow;
  EXPECT_GT(pageRow, 5u);
  HoldKeys({VK_CONTROL});
  Key(VK_PRIOR);
  HoldKeys({});
  ExpectSelection(1, 0, 1, 0, "ctrl page up");
  EXPECT_EQ(view->m_firstRow, 0u);
  Key(VK_END);
  ExpectSelection(10, 0, 10, 0, "end: the last used column");
  Key(VK_HOME);
  ExpectSelection(0, 0, 0, 0, "home");
  HoldKeys({VK_CONTROL});
  Key(VK_RIGHT);
  HoldKeys({});
  EXPECT_GT(view->m_firstColumn, 0u) << "ctrl right pages";
  Key(VK_RETURN);
  Key(VK_DELETE);
  ASSERT_EQ(doc.commands.size(), 2u);
  EXPECT_EQ(doc.commands[0], "begin");
  EXPECT_EQ(doc.commands[1], "clear");
}

TEST_F(TalverViewWindow, ATypedCharacterBringsTheCursorBackBeforeEditing) {
  view->m_firstRow = 500;
  view->PostMessage(WM_CHAR, 'x', 1);
  Pump();
  EXPECT_EQ(view->m_firstRow, 0u);
  ASSERT_EQ(doc.commands.size(), 1u);
  EXPECT_EQ(doc.commands[0], "begin x");
}

TEST_F(TalverViewWindow, WheelHalfTurnsScrollOneRowAndOppositeOnesNothing) {
  view->m_firstRow = 10;
  const POINT p = CellPoint(0, 0);
  Click(p.x, p.y);
  ExpectSelection(0, 10, 0, 10, "start");
  const short deltas[] = {60, 60, -60};
  const uint32_t firstRows[] = {10, 9, 9};
  for (int i = 0; i < 3; ++i) {
    view->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, deltas[i]), 0);
    EXPECT_EQ(view->m_firstRow, firstRows[i]) << i;
  }
  view->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -240), 0);
  EXPECT_EQ(view->Selection().firstRow, 11u);
}

TEST_F(TalverViewWindow, ThumbDraggedToRowOneMillionLandsThere) {
  SCROLLINFO si = {};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE;
  si.nMax = kMaxRow;
  si.nPage = 1;
  SetScrollInfo(view->m_hWnd, SB_VERT, &si, TRUE);
  // Outside a real drag the track position reads as the position.
  SetScrollPos(view->m_hWnd, SB_VERT, 0, FALSE);
  view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0), 0);
  SetScrollPos(view->m_hWnd, SB_VERT, 1000000, FALSE);
  view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 1000000 & 0xFFFF), 0);
  view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 1000000 & 0xFFFF), 0);
  EXPECT_EQ(view->m_firstRow, 1000000u);
  EXPECT_EQ(Bar(SB_VERT).nPos, 1000000);
  EXPECT_FALSE(ThumbDragOf(false).active);
}

TEST_F(TalverViewWindow, PointingAtCellsWritesTheirReferenceIntoTheFormula) {
  const POINT a = CellPoint(0, 0);
  Click(a.x, a.y);
  ASSERT_TRUE(view->BeginEdit("=1+", 3));
  ASSERT_EQ(doc.editState, kEditInCell);
  const POINT b = CellPoint(1, 2), c = CellPoint(2, 4);
  Press(b.x, b.y);
  EXPECT_EQ(doc.editState, kEditPointing);
  EXPECT_FALSE(view->m_editor.IsWindowVisible());
  Move(c.x, c.y);
  Release(c.x, c.y);
  EXPECT_EQ(doc.editState, kEditInCell);
  char text[64] = {};
  view->m_editor.GetWindowText(text, sizeof text);
  EXPECT_STREQ(text, "=1+B3:C5");
  ExpectSelection(0, 0, 0, 0, "the edited cell is current again");
  // Ctrl keeps the editor from pointing: the edit ends instead.
  Press(c.x, c.y, MK_CONTROL);
  Release(c.x, c.y);
  EXPECT_EQ(doc.editState, kEditIdle);
}

TEST_F(TalverViewWindow, PanesSideBySideShareRows) {
  view->MoveWindow({0, 0, kViewWidth / 2, kViewHeight});
  CTalverView* other = AddView(1, {kViewWidth / 2, 0, kViewWidth, kViewHeight});
  doc.rowSplit = true;
  for (int i = 0; i < 30; ++i) Key(VK_DOWN);
  EXPECT_GT(view->m_firstRow, 0u);
  EXPECT_EQ(other->m_firstRow, view->m_firstRow);
  EXPECT_EQ(other->Selection().firstRow, 30u);
  EXPECT_EQ(other->m_firstColumn, 0u);
}

// Typing into the editor and ending the edit with the keys a user presses.
class TalverViewEditing : public TalverViewWindow {
 protected:
  void SetUp() override {
    TalverViewWindow::SetUp();
    doc.editOnCommand = true;
    const POINT p = CellPoint(1, 1);  // B2, empty
    Click(p.x, p.y);
    ASSERT_EQ(sheet->cells.GetCell(1, 1), nullptr);
  }
  void TypeIntoView(const char* text) {
    view->PostMessage(WM_CHAR, static_cast<unsigned char>(text[0]), 1);
    Pump();
    for (const char* c = text + 1; *c; ++c) {
      view->m_editor.PostMessage(WM_CHAR, static_cast<unsigned char>(*c), 1);
      Pump();
    }
  }
  void EditorKey(WPARAM key, std::initializer_list<int> held = {}) {
    HoldKeys(held);
    view->m_editor.PostMessage(WM_KEYDOWN, key, 1);
    Pump();
    HoldKeys({});
  }
  const CellRecord* B2() const { return sheet->cells.GetCell(1, 1); }
};

TEST_F(TalverViewEditing, EnterStoresANumberWithOneUndoStepAndMovesDown) {
  const int32_t steps = doc.book->undoHistory.Current();
  TypeIntoView("12");
  EXPECT_EQ(doc.editState, kEditInCell);
  EditorKey(VK_RETURN);
  EXPECT_EQ(doc.editState, kEditIdle);
  ASSERT_NE(B2(), nullptr);
  EXPECT_EQ(B2()->Kind(), kCellNumber);
  EXPECT_EQ(doc.book->undoHistory.Current(), steps + 1);
  ExpectSelection(1, 2, 1, 2, "moved down");
  EXPECT_FALSE(view->m_editor.IsWindowVisible());
}

TEST_F(TalverViewEditing, OnlyShiftEnterKeepsTheTextAsTyped) {
  TypeIntoView("12");
  EditorKey(VK_RETURN, {VK_SHIFT});
  ASSERT_NE(B2(), nullptr);
  EXPECT_EQ(B2()->Kind(), kCellText);
  // Shift+Tab moves left and still parses.
  const POINT p = CellPoint(1, 1);
  Click(p.x, p.y);
  TypeIntoView("=A1+1");
  EditorKey(VK_TAB, {VK_SHIFT});
  ASSERT_NE(B2(), nullptr);
  EXPECT_EQ(B2()->Kind(), kCellFormula);
  ExpectSelection(0, 1, 0, 1, "moved left");
}

TEST_F(TalverViewEditing, EscStoresNothing) {
  const int32_t steps = doc.book->undoHistory.Current();
  TypeIntoView("99");
  EditorKey(VK_ESCAPE);
  EXPECT_EQ(doc.editState, kEditIdle);
  EXPECT_EQ(B2(), nullptr);
  EXPECT_EQ(doc.book->undoHistory.Current(), steps);
}

TEST_F(TalverViewEditing, ADropDownListCompletesTheTypedStartAndLearnsNewTexts) {
  DropDownList& list = doc.book->dropDownLists[0];
  std::strcpy(list.name, "Fruit");
  ASSERT_TRUE(list.AppendEntry("Banana"));
  ASSERT_TRUE(list.AppendEntry("Apple"));
  StyleRecord style = StyleRecord::Default();
  style.dropDown = {1, 1, 1, 1, 0};
  uint16_t index = 0;
  ASSERT_TRUE(doc.book->styles.FindOrAddStyle(style, &index));
  sheet->format.columns[1].SetStyle(index);
  TypeIntoView("Ba");
  ASSERT_TRUE(view->m_list.IsWindowVisible());
  char text[64] = {};
  view->m_editor.GetWindowText(text, sizeof text);
  EXPECT_STREQ(text, "Banana");
  DWORD start = 0, end = 0;
  view->m_editor.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 2u);
  EXPECT_EQ(end, 6u);
  EditorKey(VK_RETURN);
  ASSERT_NE(B2(), nullptr);
  EXPECT_EQ(std::string(B2()->Text(), B2()->TextLength()), "Banana");
  EXPECT_EQ(list.EntryCount(), 2u);
  const POINT p = CellPoint(1, 1);
  Click(p.x, p.y);
  TypeIntoView("Cherry");
  EditorKey(VK_RETURN);
  EXPECT_EQ(list.EntryCount(), 3u);
  Click(p.x, p.y);
  TypeIntoView("Cherry");
  EditorKey(VK_RETURN);
  EXPECT_EQ(list.EntryCount(), 3u) << "learnt once";
}

TEST_F(TalverViewWindow, AColumnBorderDragResizesWithAPreviewAfterRest) {
  const GridFrame f = Frame();
  const int edge = f.scrollLeft + 50 * 2 + 49;  // column 2's right edge
  const int y = f.columnHeaderHeight / 2;
  const int32_t steps = doc.book->undoHistory.Current();
  view->PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(edge, y));
  view->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(edge + 21, y));
  for (int i = 0; i < 4; ++i) view->PostMessage(WM_TIMER, kResizeRestTimer, 0);
  view->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(edge + 31, y));
  view->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(edge + 31, y));
  Pump();
  EXPECT_EQ(GetColumnWidth(sheet, 2, 100), 49 + 30);
  EXPECT_TRUE(sheet->format.columns[2].WidthFixed());
  EXPECT_EQ(doc.book->undoHistory.Current(), steps + 1);
  EXPECT_EQ(GetCapture(), nullptr);
  // Dragged left of the edge the width stops at 0.
  view->PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(edge + 30, y));
  view->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(edge - 200, y));
  view->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(edge - 200, y));
  Pump();
  EXPECT_EQ(GetColumnWidth(sheet, 2, 100), 0);
}

// Messages for other windows are handled while the drag goes on: the
// document's probe sees the worksheet in the middle of the drag.
TEST_F(TalverViewWindow, RestingForFourTicksShowsTheWidthBeforeTheRelease) {
  const GridFrame f = Frame();
  const int edge = f.scrollLeft + 50 * 2 + 49;
  const int y = f.columnHeaderHeight / 2;
  view->PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(edge, y));
  view->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(edge + 11, y));
  for (int i = 0; i < 3; ++i) view->PostMessage(WM_TIMER, kResizeRestTimer, 0);
  doc.PostMessage(WM_APP, 2);
  view->PostMessage(WM_TIMER, kResizeRestTimer, 0);
  doc.PostMessage(WM_APP, 2);
  view->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(edge + 21, y));
  for (int i = 0; i < 3; ++i) view->PostMessage(WM_TIMER, kResizeRestTimer, 0);
  doc.PostMessage(WM_APP, 2);
  view->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(edge + 21, y));
  Pump();
  const std::vector<int> seen = {49, 59, 59};
  EXPECT_EQ(doc.widthsSeen, seen);
  EXPECT_EQ(GetColumnWidth(sheet, 2, 100), 69);
  EXPECT_GT(doc.modifications, 0);
}

TEST_F(TalverViewWindow, ABlockDraggedByItsFrameMovesOnceAndAReleaseAtTheStartRecordsNothing) {
  const POINT a = CellPoint(1, 1), b = CellPoint(2, 3);
  Click(a.x, a.y);
  Click(b.x, b.y, MK_SHIFT);
  ExpectSelection(1, 1, 2, 3, "block");
  const GridFrame f = Frame();
  const int h = GetRowHeight(sheet, 0, 100) + 1;
  const POINT frame = {f.scrollLeft + 50 + 2, f.scrollTop + h + 10};  // inside the left band
  view->PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(frame.x, frame.y));
  view->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(frame.x + 52, frame.y));
  view->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(frame.x + 104, frame.y + h + 2));
  view->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(frame.x + 104, frame.y + h + 2));
  Pump();
  ASSERT_EQ(doc.moves.size(), 1u);
  EXPECT_EQ(doc.moves[0].first.firstColumn, 1u);
  EXPECT_EQ(doc.moves[0].second.firstColumn, 3u);
  EXPECT_EQ(doc.moves[0].second.lastColumn, 4u);
  EXPECT_EQ(doc.moves[0].second.firstRow, 2u);
  EXPECT_EQ(doc.moves[0].second.lastRow, 4u);
  EXPECT_FALSE(doc.copied);
  ExpectSelection(3, 2, 4, 4, "the selection follows");
  const POINT moved = {frame.x + 100, frame.y + h};
  view->PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(moved.x, moved.y));
  view->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(moved.x + 60, moved.y));
  view->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(moved.x - 2, moved.y));
  view->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(moved.x, moved.y));
  Pump();
  EXPECT_EQ(doc.moves.size(), 1u);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(TalverViewWindow, TheAutoscrollIndicatorGoesAwayOnAKeyPress) {
  const POINT p = CellPoint(2, 2);
  view->PostMessage(WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(p.x, p.y));
  Pump();
  ASSERT_TRUE(view->m_autoscroll.IsWindow());
  view->m_autoscroll.PostMessage(WM_KEYDOWN, VK_SPACE, 1);
  Pump();
  EXPECT_FALSE(view->m_autoscroll.IsWindow());
  // A tick far below the centre pages down.
  view->PostMessage(WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(p.x, p.y));
  Pump();
  POINT centre = p;
  ClientToScreen(view->m_hWnd, &centre);
  const uint32_t before = view->m_firstRow;
  view->m_autoscroll.Tick({centre.x, centre.y + 100}, 1000);
  EXPECT_GT(view->m_firstRow, before);
  view->m_autoscroll.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0);
  Pump();
  EXPECT_FALSE(view->m_autoscroll.IsWindow());
}

// A quit arriving in the middle of a drag ends the loop, keeps what the
// line showed, lets the capture go and is posted again for the outer loop.
TEST_F(TalverViewWindow, AQuitEndsARowDragAndIsPostedAgain) {
  const GridFrame f = Frame();
  const int h = GetRowHeight(sheet, 0, 100);
  const int bottom = f.scrollTop + (h + 1) * 2 + h;  // row 2's bottom edge
  const int x = f.rowHeaderWidth / 2;
  view->PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, bottom));
  view->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, bottom + 7));
  PostQuitMessage(3);
  bool quitSeen = false;
  MSG msg;
  for (int i = 0; i < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (msg.message == WM_QUIT) {
      quitSeen = msg.wParam == 3;
      continue;
    }
    DispatchMessageA(&msg);
  }
  EXPECT_TRUE(quitSeen);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(GetRowHeight(sheet, 2, 100), h + 6);  // the line stands on the new grid line
}

}  // namespace
