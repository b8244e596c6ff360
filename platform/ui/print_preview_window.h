#ifndef TALVERO_PLATFORM_UI_PRINT_PREVIEW_WINDOW_H
#define TALVERO_PLATFORM_UI_PRINT_PREVIEW_WINDOW_H

// The print preview: a child window that shows one page of a page source as
// the printer would print it, on a sheet of paper of the printer's size. The
// page is recorded once per page change against the printer's device
// context and played back at the window's scale. The wheel and, in zoom-in
// mode, a click zoom in and out about the point under the mouse; zoomed in,
// the window scrolls over the paper.

#include <windows.h>

#include "platform/ui/print_job.h"
#include "platform/ui/printer_capabilities.h"
#include "platform/ui/window_impl.h"

class CPrintPreviewWindow : public CWindowImpl {
 public:
  // WM_NOTIFY code to the parent when zoom-in mode ends by itself (the
  // largest zoom reached).
  static constexpr UINT kZoomModeEndedCode = static_cast<UINT>(-50);

  CPrintPreviewWindow() = default;
  ~CPrintPreviewWindow() override;

  // A visible child of parent over the rectangle; null on failure.
  HWND Create(HWND parent, const RECT& rect);
  // The printer and its settings (copied), the source and its pages; false
  // when the printer's device context cannot be made.
  bool SetPrintPreviewInfo(const char* printer, const DEVMODEA* devMode, CPrintJobInfo* source, UINT firstPage,
                           UINT lastPage);
  // Records the page and repaints; pages outside the range are refused.
  bool SetPage(UINT page);
  UINT Page() const { return m_page; }
  UINT FirstPage() const { return m_firstPage; }
  UINT LastPage() const { return m_lastPage; }

  double Zoom() const { return m_zoom; }
  // The zoom (kept within its limits) about the window pixel; the scroll
  // follows so the paper under it stays put.
  void SetZoom(double zoom, POINT about);
  // Back to the whole page, zoom-in mode ended.
  void ResetZoom();
  void SetZoomInMode(bool on) { m_zoomInMode = on; }
  bool ZoomInMode() const { return m_zoomInMode; }
  // A wheel message's delta at a screen point.
  void OnWheelZoom(int delta, POINT screenPoint);
  // The paper's rectangle in the window, for tests.
  RECT PaperRect() const;

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

 private:
  LRESULT OnPaint();
  LRESULT OnLButtonDown(POINT point);
  LRESULT OnScroll(int bar, WORD request);
  void UpdateScrollBars();
  void FreePrinter();

  HDC m_printer = nullptr;
  CPrintJobInfo* m_source = nullptr;
  HENHMETAFILE m_metafile = nullptr;
  UINT m_firstPage = 0;
  UINT m_lastPage = 0;
  UINT m_page = 0;
  // The paper in printer pixels and its unprintable top-left edges.
  int32_t m_paperWidth = 0;
  int32_t m_paperHeight = 0;
  int32_t m_offsetX = 0;
  int32_t m_offsetY = 0;
  double m_zoom = 1.0;
  bool m_zoomInMode = false;
  int32_t m_scrollX = 0;
  int32_t m_scrollY = 0;
};

#endif
