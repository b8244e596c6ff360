// The menus that toolbar buttons open from their drop-down arrows, and the
// menus of the buttons a narrow frame cuts off its bands.

#include "app/clipboard/clipboard_ring.h"
#include "app/clipboard/ring_menu.h"
#include "app/frame/frame_layout.h"
#include "app/frame/main_frame.h"
#include "services/settings/global_options.h"
#include "platform/ui/popup_menu.h"
#include "core/formula/formula_ref_text.h"
#include "core/workbook/workbook.h"
#include "resources/resource_ids.h"

namespace {

struct DropDownMenu {
  UINT command;
  int menu;
};

const DropDownMenu kDropDownMenus[] = {
    {ID_EDIT_PASTE, IDR_MENU_PASTE_RING},        {ID_RECENT_DATA_FIRST, IDR_MENU_RECENT_DATA},
    {ID_SELECT_CELL_ADDRESS, IDR_MENU_SELECT},   {ID_INSERT_DATE_MENU, IDR_MENU_INSERT_DATE},
    {ID_INSERT_FORMULA, IDR_MENU_INSERT_FORMULA}, {ID_INSERT_CHART, IDR_MENU_INSERT_CHART},
    {ID_GO, IDR_MENU_GO},
};

int DropDownMenuOf(UINT command) {
  for (const DropDownMenu& entry : kDropDownMenus) {
    if (entry.command == command) return entry.menu;
  }
  return 0;
}

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

// The ring's entries, oldest first, replace the menu's entry, which says
// that nothing was copied yet.
void FillPasteRing(HMENU popup, CWorkBook* book) {
  const UndoHistory& ring = ClipboardRing();
  if (book == nullptr || ring.Current() < 0) return;
  while (GetMenuItemCount(popup) > 0) DeleteMenu(popup, 0, MF_BYPOSITION);
  for (int32_t slot = 0; slot <= ring.Current() && slot < kRingMenuEntries; ++slot) {
    char text[kQualifiedRefCapacity + 64];
    if (FormatRingEntryText(ring, slot, book->evaluator, text, sizeof text))
      AppendMenuA(popup, MF_STRING, ID_PASTE_RING_FIRST + slot, text);
  }
}

}  // namespace

LRESULT CMainFrame::OnToolbarDropDown(NMTOOLBARA* info) {
  const int menuId = DropDownMenuOf(static_cast<UINT>(info->iItem));
  if (menuId == 0) return TBDDRET_NODEFAULT;
  HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menuId));
  if (menu == nullptr) return TBDDRET_DEFAULT;
  if (menuId == IDR_MENU_RECENT_DATA) FillRecentCellTexts(GetSubMenu(menu, 0));
  if (menuId == IDR_MENU_PASTE_RING) FillPasteRing(GetSubMenu(menu, 0), GetActiveWorkbook());
  RECT button{};
  ::SendMessageA(info->hdr.hwndFrom, TB_GETRECT, info->iItem, reinterpret_cast<LPARAM>(&button));
  MapWindowPoints(info->hdr.hwndFrom, nullptr, reinterpret_cast<POINT*>(&button), 2);
  const UINT command = TrackPopupMenuCommand(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON,
                                             button.left, button.bottom, m_hWnd, &button);
  DestroyMenu(menu);
  if (command != 0) SendMessage(WM_COMMAND, command, 0);
  return TBDDRET_DEFAULT;
}

// The menu lists the band's buttons that lie beyond its visible width: the
// command bar's as their pop-ups, a whole drop-down button as its menu, any
// other button as its command with its tooltip, state and check.
LRESULT CMainFrame::OnChevronPushed(NMREBARCHEVRON* info) {
  REBARBANDINFOA band{};
  band.cbSize = sizeof band;
  band.fMask = RBBIM_CHILD;
  if (!::SendMessageA(info->hdr.hwndFrom, RB_GETBANDINFOA, info->uBand, reinterpret_cast<LPARAM>(&band)) ||
      band.hwndChild == nullptr)
    return 0;
  HWND bar = band.hwndChild;
  const bool commandBar = bar == m_commandBar.m_hWnd;
  RECT visible{};
  ::GetClientRect(bar, &visible);
  HMENU popup = CreatePopupMenu();
  if (popup == nullptr) return 0;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HMENU loaded[8] = {};
  int loadedCount = 0;
  bool separatorDue = false;
  const int count = static_cast<int>(::SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    TBBUTTON button{};
    RECT r{};
    if (!::SendMessageA(bar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)) ||
        (button.fsState & TBSTATE_HIDDEN) != 0 || !::SendMessageA(bar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r)) ||
        r.right <= visible.right)
      continue;
    if ((button.fsStyle & BTNS_SEP) != 0) {
      separatorDue = GetMenuItemCount(popup) > 0;
      continue;
    }
    if (separatorDue) AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    separatorDue = false;
    const UINT command = static_cast<UINT>(button.idCommand);
    char text[256] = {};
    if (commandBar) {
      const int item = static_cast<int>(command - CMDICommandBarCtrl::kFirstItemCommand);
      HMENU sub = m_menu != nullptr ? GetSubMenu(m_menu, item) : nullptr;
      if (sub == nullptr) continue;
      GetMenuStringA(m_menu, item, text, sizeof text, MF_BYPOSITION);
      AppendMenuA(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), text);
      continue;
    }
    char resource[256] = {};
    if (LoadStringA(instance, command, resource, sizeof resource) <= 0 || !TooltipOfPrompt(resource, text, sizeof text))
      ::SendMessageA(bar, TB_GETBUTTONTEXTA, command, reinterpret_cast<LPARAM>(text));
    const int menuId = DropDownMenuOf(command);
    HMENU menu = (button.fsStyle & BTNS_WHOLEDROPDOWN) != 0 && menuId != 0 && loadedCount < 8
                     ? LoadMenuA(instance, MAKEINTRESOURCEA(menuId))
                     : nullptr;
    const UINT state = ((button.fsState & TBSTATE_ENABLED) ? MF_ENABLED : MF_GRAYED) |
                       ((button.fsState & TBSTATE_CHECKED) ? MF_CHECKED : MF_UNCHECKED);
    if (menu != nullptr) {
      loaded[loadedCount++] = menu;
      if (menuId == IDR_MENU_RECENT_DATA) FillRecentCellTexts(GetSubMenu(menu, 0));
      AppendMenuA(popup, MF_POPUP | state, reinterpret_cast<UINT_PTR>(GetSubMenu(menu, 0)), text);
    } else {
      AppendMenuA(popup, MF_STRING | state, command, text);
    }
  }
  UINT chosen = 0;
  if (GetMenuItemCount(popup) > 0) {
    RECT chevron = info->rc;
    MapWindowPoints(info->hdr.hwndFrom, nullptr, reinterpret_cast<POINT*>(&chevron), 2);
    chosen = TrackPopupMenuCommand(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, chevron.left, chevron.bottom,
                                   m_hWnd, &chevron);
  }
  // The pop-ups belong to the frame's menu and the loaded menus: detach them
  // before the chevron's menu goes.
  for (int i = GetMenuItemCount(popup); i-- > 0;) {
    if (GetSubMenu(popup, i) != nullptr) RemoveMenu(popup, i, MF_BYPOSITION);
  }
  DestroyMenu(popup);
  for (int i = 0; i < loadedCount; ++i) DestroyMenu(loaded[i]);
  if (chosen != 0) SendMessage(WM_COMMAND, chosen, 0);
  return 0;
}
