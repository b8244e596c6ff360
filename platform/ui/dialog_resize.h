#ifndef TALVERO_PLATFORM_UI_DIALOG_RESIZE_H
#define TALVERO_PLATFORM_UI_DIALOG_RESIZE_H

// Makes a dialog resizable: its size when it opened is the smallest it can
// take, a size grip sits in the bottom-right corner, and each listed control
// moves or grows with the edges it is anchored to (dialog_anchors.h).
//
// The dialog calls Init at WM_INITDIALOG and hands WM_SIZE and
// WM_GETMINMAXINFO to HandleMessage from its message map.

#include <windows.h>

#include "platform/ui/dialog_anchors.h"

struct ResizeAnchor {
  int controlId;
  uint8_t anchors;  // DialogAnchor bits
};

class CDialogResize {
 public:
  static constexpr int kMaxControls = 64;
  static constexpr int kSizeGripId = 0x7FFF;

  // False when a control is missing or there are too many.
  bool Init(HWND dialog, const ResizeAnchor* anchors, int count, bool sizeGrip = true);
  // A smallest size other than the one the dialog opened with.
  void SetMinTrackSize(int width, int height) { m_minTrack = POINT{width, height}; }
  // True when the message was handled (result 0).
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  struct Item {
    HWND hwnd;
    UiRect initial;
    uint8_t anchors;
  };
  void Layout(int width, int height);

  HWND m_dialog = nullptr;
  SIZE m_initialClient{};
  POINT m_minTrack{};
  Item m_items[kMaxControls + 1] = {};  // and the grip
  int m_count = 0;
  HWND m_grip = nullptr;
};

#endif
