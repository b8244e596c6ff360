// The document window's commands on the workbook as a whole: its password
// protection and its statistics.

#include <cstdio>

#include "app/document/child_frame.h"
#include "dialogs/protection/protection_dialogs.h"
#include "dialogs/statistics/statistics_dialog.h"

void CChildFrame::OnProtection() {
  EndOpenEdit();
  CProtectDlg dialog;
  dialog.choice = SplitProtectionMode(m_workbook.protectionMode);
  std::snprintf(dialog.password, sizeof dialog.password, "%s", m_workbook.password);
  if (dialog.DoModal(m_hWnd) != IDOK) return;
  uint8_t modified = m_modified ? 1 : 0;
  StoreProtectionChoice(&m_workbook, dialog.choice, dialog.password, &modified);
  SetModified(modified != 0);
  UpdateTitle();
  RefreshFrameUI();
}

void CChildFrame::OnStatistics() {
  EndOpenEdit();
  CStatisticsDlg dialog(&m_workbook);
  if (dialog.DoModal(m_hWnd) != IDOK) return;
  if (CWorkSheetTree::CTreeItem* item = m_workbook.FindItemByPath(dialog.ChosenPath())) SelectTreeItem(item);
}

