#ifndef TALVERO_PLATFORM_UI_SPLITTER_WINDOW_H
#define TALVERO_PLATFORM_UI_SPLITTER_WINDOW_H

// A window split in two panes by a bar the user drags, or showing one pane
// alone (single-pane mode). The panes are other windows, children of the
// splitter, that it moves and sizes; the bar keeps its proportion when the
// splitter is resized and never leaves a pane narrower than the minimum. The
// active pane is the one that last held the focus. Commands and notifications
// of the panes go on to the splitter's parent.

#include <windows.h>

#include "platform/ui/splitter_layout.h"
#include "platform/ui/window_impl.h"

class CSplitterWindow : public CWindowImpl {
 public:
  static constexpr int kBarWidth = 4;

  explicit CSplitterWindow(bool vertical) : m_vertical(vertical) {}

  HWND Create(HWND parent, const RECT& rect, UINT id = 0,
              DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
              DWORD exStyle = 0);

  bool IsVertical() const { return m_vertical; }
  void SetSplitterPanes(HWND first, HWND second, bool update = true);
  // A null window empties the pane.
  bool SetSplitterPane(int pane, HWND hwnd, bool update = true);
  HWND GetSplitterPane(int pane) const;
  // -1 puts the bar in the middle.
  void SetSplitterPos(int position = -1, bool update = true);
  int GetSplitterPos() const { return m_position; }
  // kSplitterBothPanes, or the one pane to show (the other is hidden).
  bool SetSinglePaneMode(int pane = kSplitterBothPanes);
  int GetSinglePaneMode() const { return m_singlePane; }
  void SetMinPaneSize(int size) { m_minPane = size; }
  // The pane that holds the focus now, else the one that held it last; -1
  // when neither has had it.
  int GetActivePane();
  void SetActivePane(int pane);
  void UpdateSplitterLayout();
  RECT GetSplitterBarRect() const;

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

 private:
  int Extent() const;
  void TrackBar(POINT start);
  LRESULT OnSize();
  LRESULT OnPaint();
  bool OnSetCursor();

  bool m_vertical;
  HWND m_panes[2] = {nullptr, nullptr};
  int m_position = -1;  // -1 until the first layout puts it in the middle
  int m_extent = 0;     // the extent the position was computed for
  int m_minPane = 0;
  int m_singlePane = kSplitterBothPanes;
  int m_activePane = -1;
};

// The splitter as the document window declares it: CSplitterWindowT<true>
// has a vertical bar (panes left and right), CSplitterWindowT<false> a
// horizontal one (panes top and bottom).
template <bool vertical>
class CSplitterWindowT : public CSplitterWindow {
 public:
  CSplitterWindowT() : CSplitterWindow(vertical) {}
};

#endif
