// The menus that toolbar buttons open from their drop-down arrows.

#include "app/frame/main_frame.h"
#include "app/settings/global_options.h"
#include "platform/ui/popup_menu.h"
#include "resources/resource_ids.h"

namespace {

struct DropDownMenu {
  UINT command;
  int menu;
};

// The paste ring keeps its resource entry, which says that nothing was
// copied, while the program keeps no ring.
const DropDownMenu kDropDownMenus[] = {
    {ID_EDIT_PASTE, IDR_MENU_PASTE_RING},        {ID_RECENT_DATA_FIRST, IDR_MENU_RECENT_DATA},
    {ID_SELECT_CELL_ADDRESS, IDR_MENU_SELECT},   {ID_INSERT_DATE_MENU, IDR_MENU_INSERT_DATE},
    {ID_INSERT_FORMULA, IDR_MENU_INSERT_FORMULA}, {ID_INSERT_CHART, IDR_MENU_INSERT_CHART},
    {ID_GO, IDR_MENU_GO},
};

// The recent cell texts replace the menu's entry; with none it stays.
void FillRecentCellTexts(HMENU popup) {
  const ProfileLists* lists = Options.Lists;
  if (lists == nullptr || lists->recentCellTextCount == 0) return;
  while (GetMenuItemCount(popup) > 0) DeleteMenu(popup, 0, MF_BYPOSITION);
  const int count = lists->recentCellTextCount < CMainFrame::kRecentCellTextsShown
                        ? lists->recentCellTextCount
                        : CMainFrame::kRecentCellTextsShown;
  for (int i = 0; i < count; ++i)
    AppendMenuA(popup, MF_STRING, ID_RECENT_DATA_FIRST + i, lists->recentCellTexts[i]);
}

}  // namespace

LRESULT CMainFrame::OnToolbarDropDown(NMTOOLBARA* info) {
  int menuId = 0;
  for (const DropDownMenu& entry : kDropDownMenus) {
    if (entry.command == static_cast<UINT>(info->iItem)) menuId = entry.menu;
  }
  if (menuId == 0) return TBDDRET_NODEFAULT;
  HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menuId));
  if (menu == nullptr) return TBDDRET_DEFAULT;
  if (menuId == IDR_MENU_RECENT_DATA) FillRecentCellTexts(GetSubMenu(menu, 0));
  RECT button{};
  ::SendMessageA(info->hdr.hwndFrom, TB_GETRECT, info->iItem, reinterpret_cast<LPARAM>(&button));
  MapWindowPoints(info->hdr.hwndFrom, nullptr, reinterpret_cast<POINT*>(&button), 2);
  const UINT command = TrackPopupMenuCommand(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON,
                                             button.left, button.bottom, m_hWnd, &button);
  DestroyMenu(menu);
  if (command != 0) SendMessage(WM_COMMAND, command, 0);
  return TBDDRET_DEFAULT;
}
