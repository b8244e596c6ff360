#include <windows.h>

#include <commctrl.h>

#include "core/model/chart_record.h"
#include "dialogs/chart_editor/chart_editor.h"
#include "dialogs/chart_editor/chart_slots.h"
#include "dialogs/chart_editor/editor_texts.h"
#include "dialogs/chart_editor/series_references.h"
#include "dialogs/controls/dialog_opening.h"
#include "platform/ui/popup_menu.h"
#include "resources/resource_ids.h"
#include "services/messages/message_boxes.h"

namespace {

// Commands of the chart menu's own entries: the container, then one per slot.
constexpr UINT kContainerCommand = 1;
constexpr UINT kFirstSlotCommand = 2;

constexpr int kHelpContainers = 4;
constexpr int kHelpCharts2D = 5;
constexpr int kHelpChartsXY = 6;
constexpr int kHelpCharts3D = 7;

}  // namespace

void CChartDlg2::SetSelectorText(const char* text) {
  if (m_toolbar == nullptr)
    return;
  // The button keeps the width it took for its first text.
  TBBUTTONINFOA info = {};
  info.cbSize = sizeof info;
  info.dwMask = TBIF_SIZE;
  ::SendMessageA(m_toolbar, TB_GETBUTTONINFOA, ID_CHART_SELECTOR, reinterpret_cast<LPARAM>(&info));
  info.dwMask = TBIF_TEXT | TBIF_SIZE;
  info.pszText = const_cast<char*>(text);
  ::SendMessageA(m_toolbar, TB_SETBUTTONINFOA, ID_CHART_SELECTOR, reinterpret_cast<LPARAM>(&info));
}

void CChartDlg2::OnChartMenu() {
  HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MENU_CHART_EDITOR));
  if (menu == nullptr)
    return;
  HMENU popup = ::GetSubMenu(menu, 0);
  const int count = m_copy.header.itemCount;
  UINT position = 0;
  ::InsertMenuA(popup, position++, MF_BYPOSITION | MF_STRING | (m_selectedChart < 0 ? MF_CHECKED : 0),
                kContainerCommand, kContainerWindowText);
  for (int slot = 0; slot < count; ++slot) {
    char text[64];
    FormatChartSlotText(m_copy, slot, text, sizeof text);
    ::InsertMenuA(popup, position++, MF_BYPOSITION | MF_STRING | (slot == m_selectedChart ? MF_CHECKED : 0),
                  kFirstSlotCommand + static_cast<UINT>(slot), text);
  }
  ::InsertMenuA(popup, position, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  if (m_selectedChart < 0)
    ::EnableMenuItem(popup, ID_REMOVE_CHART, MF_BYCOMMAND | MF_GRAYED);
  RECT button = {};
  ::SendMessageA(m_toolbar, TB_GETRECT, ID_CHART_SELECTOR, reinterpret_cast<LPARAM>(&button));
  ::MapWindowPoints(m_toolbar, nullptr, reinterpret_cast<POINT*>(&button), 2);
  const UINT command =
      TrackPopupMenuCommand(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, button.left, button.bottom, m_hWnd);
  ::DestroyMenu(menu);
  if (command == 0 || !ApplyPage(true))
    return;
  RunChartCommand(command);
}

void CChartDlg2::RunChartCommand(UINT command) {
  const UINT count = m_copy.header.itemCount;
  if (command == kContainerCommand) {
    SelectChart(-1);
  } else if (command >= kFirstSlotCommand && command < kFirstSlotCommand + count) {
    SelectChart(static_cast<int32_t>(command - kFirstSlotCommand));
  } else if (command == ID_ADD_CHART_2D || command == ID_ADD_CHART_XY || command == ID_ADD_CHART_3D) {
    const uint8_t kind = command == ID_ADD_CHART_2D ? kChart2D : command == ID_ADD_CHART_XY ? kChartXY : kChart3D;
    if (!AddChartSlot(m_copy, kind)) {
      ShowError(m_copy.error);
      return;
    }
    SelectChart(m_copy.header.itemCount - 1);
  } else if (command == ID_REMOVE_CHART && m_selectedChart >= 0) {
    SelectChart(RemoveChartSlot(m_copy, m_selectedChart));
  }
}

void CChartDlg2::MoveChart(bool towardsFirst) {
  if (m_selectedChart < 0)
    return;
  const int32_t moved = MoveChartSlot(m_copy, m_selectedChart, towardsFirst);
  if (moved == m_selectedChart)
    return;
  m_selectedChart = moved;
  char text[64];
  FormatChartSlotText(m_copy, moved, text, sizeof text);
  SetSelectorText(text);
  SendMessage(WM_COMMAND, ID_CHART_APPLY, 0);
}

void CChartDlg2::OnApply() {
  if (!ApplyPage(true))
    return;
  if (const uint16_t message = FindSeriesReferenceFault(m_copy)) {
    ShowMessageRes(message, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  m_copy.selectedItem = m_selectedChart;
  m_owner->ApplyContainerEdit(m_copy);
}

void CChartDlg2::OnHelp() {
  int topic = kHelpContainers;
  if (const ChartRecord* chart = SelectedChartRecord())
    topic = chart->Kind() == kChartXY ? kHelpChartsXY : chart->Kind() == kChart3D ? kHelpCharts3D : kHelpCharts2D;
  ShowDialogHelp(topic);
}
