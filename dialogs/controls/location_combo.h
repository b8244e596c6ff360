#ifndef TALVERO_DIALOGS_LOCATION_COMBO_H
#define TALVERO_DIALOGS_LOCATION_COMBO_H

// The main frame's name box: an extended combo box whose edit turns Enter
// into the Go command (32849), posted to the combo window, which hands it on
// to the frame. All other input is the controls' own.

#include <windows.h>

#include "platform/ui/window_impl.h"

class CLocationCombo : public CWindowImpl {
 public:
  class CLocationEdit : public CWindowImpl {
   public:
    LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
    HWND m_combo = nullptr;
  };

  // Subclasses an extended combo box and its edit; false when either is
  // bound already or the combo has no edit.
  bool Attach(HWND comboEx);

 private:
  CLocationEdit m_edit;
};

#endif
