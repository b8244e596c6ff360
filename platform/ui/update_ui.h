#ifndef TALVERO_PLATFORM_UI_UPDATE_UI_H
#define TALVERO_PLATFORM_UI_UPDATE_UI_H

// Command states shown in menus and toolbars: a frame keeps one CUpdateUI,
// changes states whenever a command's conditions change, brings a pop-up up
// to date at WM_INITMENUPOPUP and its toolbars when the program goes idle.

#include <windows.h>

#include "platform/ui/update_ui_table.h"

class CUpdateUI {
 public:
  static constexpr int kMaxToolBars = 8;

  bool UIAddToolBar(HWND toolbar);
  bool UIAddCommand(UINT id, uint8_t kinds) { return m_table.AddCommand(static_cast<uint16_t>(id), kinds); }
  bool UIEnable(UINT id, bool enable) { return m_table.Enable(static_cast<uint16_t>(id), enable); }
  // The command stays disabled: later UIEnable calls leave it so.
  bool UIKeepDisabled(UINT id) { return m_table.KeepDisabled(static_cast<uint16_t>(id)); }
  // 0 unchecked, 1 checked, 2 indeterminate (toolbars show it as pressed).
  bool UISetCheck(UINT id, int check) {
    return m_table.SetCheck(static_cast<uint16_t>(id), static_cast<uint8_t>(check));
  }
  // The items of the pop-up whose commands are in the table take their states.
  void UIUpdateMenu(HMENU popup) const;
  // The toolbars take the states changed since the last call.
  void UIUpdateToolBars();
  const UpdateUITable& UITable() const { return m_table; }

 private:
  UpdateUITable m_table;
  HWND m_toolbars[kMaxToolBars] = {};
  int m_toolbarCount = 0;
};

#endif
