#ifndef TALVERO_DIALOGS_ZOOM_DIALOG_H
#define TALVERO_DIALOGS_ZOOM_DIALOG_H

// The zoom chooser (CZoomDlg): a small modeless popup beside the status
// bar's zoom pane whose track bar sets the zoom of the active worksheet, or
// of all worksheets, while it is dragged. Escape, or a click outside it,
// closes it.

#include <cstdint>

#include "platform/ui/dialog_impl.h"

class CZoomDlg : public CDialogImpl {
 public:
  using ZoomCallback = void (*)(void* context, uint32_t zoomPercent, bool allWorksheets);

  CZoomDlg();
  // Closes a popup still open, then opens it for the zoom with its
  // bottom-right corner beside the screen point; false when the window
  // cannot be created.
  bool Show(HWND owner, uint32_t zoomPercent, POINT screen, ZoomCallback callback, void* context);
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  bool PreTranslateMessage(MSG* msg) override;

  uint32_t m_zoom = 100;
  uint8_t m_allWorksheets = 0;

 private:
  LRESULT OnInitDialog();
  void OnTrack();
  // A press outside the popup while none of its controls has the focus.
  bool ClosesPopup(const MSG& msg) const;

  ZoomCallback m_callback = nullptr;
  void* m_context = nullptr;
  POINT m_point = {};
};

#endif
